// The add-in's options in the registry, where and as the table of the stored options says: the
// data folder in the family key and every option of the table in its subkey.
#pragma once

#include <map>
#include <optional>
#include <set>
#include <string>

#include "framework/registry.h"
#include "options/stored_options.h"

constexpr size_t kOptionsReadBufferBytes = 1024;

class OptionsStore {
 public:
  // Reads and writes the rows given: the add-in's table of stored options unless others are named.
  explicit OptionsStore(Registry& registry, StoredOptionRows rows = kStoredOptionRows)
      : registry_(registry), rows_(rows) {}

  // Fills DataPath and the options of the table from the stored values, each as its kind reads
  // it; a member whose value is missing, not taken (a type the add-in does not take, too long, a
  // broken character) keeps what it holds, and so does a number or flag whose value is empty, and
  // DataPath when its value is empty. Reads HKEY_LOCAL_MACHINE alone where its keys open for
  // writing; otherwise its values (when its keys exist) with those of HKEY_CURRENT_USER over them.
  // Then the policies under SOFTWARE\Policies\Varnkit (the user's, the machine's over them) set
  // their options, whose names go to Enforced.
  void Load(StoredOptions& options);

  // Writes to HKEY_LOCAL_MACHINE where its keys open for writing, otherwise to HKEY_CURRENT_USER;
  // nothing when the keys of the chosen root cannot be opened. A value is written when its option
  // changed since the last Load, and, in HKEY_LOCAL_MACHINE, when no root held it at that Load.
  // An option a policy enforces is never written.
  void Save(const StoredOptions& options);

  // The root the last Load or Save took as the options' home (LocalMachine when its keys opened
  // for writing, CurrentUser otherwise); none before the first call. Lets the options dialog
  // tell the user whether a change applies to this user only.
  std::optional<RegistryRoot> Home() const { return home_; }

 private:
  Registry& registry_;
  StoredOptionRows rows_;
  void LoadPolicies(StoredOptions& options);

  std::optional<RegistryRoot> home_;
  // Each option's text right after the last Load, by name; and the names of the values it found.
  std::map<std::string, std::string> loaded_;
  std::set<std::string> found_;
};
