// The add-in's options as it reads them, over the registry port, so that the reference host's
// view of them is tested natively against the in-memory registry.
#include "tlhost/addin_options.h"

#include <algorithm>
#include <memory>

#include "options/stored_options.h"

namespace {

const std::string kOptionsKey = std::string(kFamilyKeyPath) + "\\" + kOptionsKeyName;

// Values are read whole: the host shows what is stored, however long.
constexpr size_t kAnyLength = size_t(1) << 20;

// The value `name` under `root` as the add-in reads it: its bytes up to the first NUL; none when
// it or its key is missing. The add-in reads a root's values only where both its family key and
// the settings key below it are there, but creates the settings key where it may write: `home`.
std::optional<std::string> ReadValue(Registry& registry, RegistryRoot root, bool home, const std::string& name) {
  std::unique_ptr<RegistryKey> family, settings;
  if (FAILED(registry.OpenKey(root, kFamilyKeyPath, RegistryAccess::ReadOnly, &family))) return std::nullopt;
  const bool settingsThere = SUCCEEDED(family->OpenSubKey(kOptionsKeyName, RegistryAccess::ReadOnly, &settings));
  if (!settingsThere && (!home || name != kDataPathName)) return std::nullopt;
  std::string data;
  RegistryKey& key = name == kDataPathName ? *family : *settings;
  if (FAILED(key.QueryValue(name, kAnyLength, &data))) return std::nullopt;
  data.resize(std::min(data.find('\0'), data.size()));
  return data;
}

// Whether the add-in reads HKEY_LOCAL_MACHINE alone: it does when it may write there. Asked of
// the deepest of its keys that exists, so that looking creates no key.
bool MachineIsHome(Registry& registry) {
  for (const std::string& path : {kOptionsKey, std::string(kFamilyKeyPath), std::string("SOFTWARE")}) {
    std::unique_ptr<RegistryKey> key;
    if (SUCCEEDED(registry.OpenKey(RegistryRoot::LocalMachine, path, RegistryAccess::ReadOnly, &key))) {
      return SUCCEEDED(registry.OpenKey(RegistryRoot::LocalMachine, path, RegistryAccess::ReadWrite, &key));
    }
  }
  return false;
}

// Whether the add-in takes `text` for the value `name`, by the value's kind: a data path that
// names a folder and fits the add-in's paths, an option's text as its kind reads it.
bool Takes(const std::string& name, const std::string& text) {
  if (name == kDataPathName) return !text.empty() && text.size() <= kDataPathMaxLength;
  const StoredOption* option = FindStoredOption(name);
  if (option == nullptr) return true;  // not one of the add-in's values: shown as it is
  StoredOptions scratch;
  return TakeStoredText(*option, text, scratch) == StoredTextTaken::Taken;
}

}  // namespace

AddinSetting ReadAddinSetting(Registry& registry, const std::string& name) {
  AddinSetting value;
  const bool machineHome = MachineIsHome(registry);
  if (!machineHome) {
    value.ansi = ReadValue(registry, RegistryRoot::CurrentUser, false, name);
    if (value.ansi && Takes(name, *value.ansi)) {
      value.root = RegistryRoot::CurrentUser;
      return value;
    }
  }
  value.ansi = ReadValue(registry, RegistryRoot::LocalMachine, machineHome, name);
  return value;
}

std::string AddinDataPath(Registry& registry) {
  const AddinSetting stored = ReadAddinSetting(registry, kDataPathName);
  return stored.ansi && Takes(kDataPathName, *stored.ansi) ? *stored.ansi : std::string(kDefaultDataPath);
}
