// The add-in's options in the registry: the data folder under HKEY_LOCAL_MACHINE\SOFTWARE\Varnkit
// and the nine tool options in its subkey VKTL, each a REG_SZ text named after its member.
#pragma once

#include <map>
#include <optional>
#include <string>

#include "addin/tool_members.h"
#include "framework/registry.h"

constexpr char kFamilyKeyPath[] = "SOFTWARE\\Varnkit";
constexpr char kSettingsKeyName[] = "VKTL";  // below the family key
constexpr size_t kSettingsReadBufferBytes = 1024;

class SettingsStore {
 public:
  explicit SettingsStore(Registry& registry) : registry_(registry) {}

  // Fills DataPath and the nine options from the stored values; a member whose value is missing,
  // empty or unreadable keeps what it holds. Reads HKEY_LOCAL_MACHINE alone where its keys open
  // for writing; otherwise its values (when its keys exist) with those of HKEY_CURRENT_USER over
  // them.
  void Load(ToolMembers& members);

  // Writes the nine options and DataPath to HKEY_LOCAL_MACHINE where its keys open for writing,
  // otherwise to HKEY_CURRENT_USER; nothing when the keys of the chosen root cannot be opened.
  // A value that the last Load found but did not take (too long) is not written while its
  // member still holds what it held after that Load: the stored value stays as it stands.
  void Save(const ToolMembers& members);

  // The root the last Load or Save took as the options' home (LocalMachine when its keys opened
  // for writing, CurrentUser otherwise); none before the first call. Lets the options dialog
  // tell the user whether a change applies to this user only.
  std::optional<RegistryRoot> Home() const { return home_; }

 private:
  Registry& registry_;
  std::optional<RegistryRoot> home_;
  // The values the last Load did not take, by name, each with the text its member was written
  // as right after that Load.
  std::map<std::string, std::string> kept_;
};
