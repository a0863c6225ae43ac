// Reading and writing the options. The keys live under HKEY_LOCAL_MACHINE, which only an
// administrator may open for writing; for everyone else the machine-wide values still apply and
// the user's own copy under HKEY_CURRENT_USER takes their changes. Load and Save each decide
// afresh, so a run with administrator rights keeps writing the machine-wide keys.
//
// Every value is text; its registry type is not looked at, so a DWORD or binary value reads as
// its raw bytes up to the first NUL. Numbers are read as strtol reads them and taken as they are,
// without range checks. A value that is there but is not taken (longer than the read buffer, or
// a data path longer than the add-in's paths) was set by someone on purpose: the save leaves it
// as it stands unless its option changed meanwhile.
#include "addin/settings_store.h"

#include <memory>
#include <set>
#include <string>

#include "framework/decimal_text.h"

namespace {

struct SettingsKeys {
  std::unique_ptr<RegistryKey> family;
  std::unique_ptr<RegistryKey> settings;
};

// Opens the family key and the settings key below it; both or neither.
HRESULT OpenSettingsKeys(Registry& registry, RegistryRoot root, RegistryAccess access, SettingsKeys* keys) {
  *keys = SettingsKeys{};
  SettingsKeys opened;
  RETURN_IF_FAILED(registry.OpenKey(root, kFamilyKeyPath, access, &opened.family));
  RETURN_IF_FAILED(opened.family->OpenSubKey(kSettingsKeyName, access, &opened.settings));
  *keys = std::move(opened);
  return S_OK;
}

// The value as text: its bytes up to the first NUL; empty for a missing value. None for a value
// that is there but cannot be read (longer than the buffer).
std::optional<std::string> ReadText(RegistryKey& key, const char* name) {
  std::string data;
  const HRESULT hr = key.QueryValue(name, kSettingsReadBufferBytes, &data);
  if (hr == HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND)) return std::string();
  if (FAILED(hr)) return std::nullopt;
  const size_t end = data.find('\0');
  if (end != std::string::npos) data.resize(end);
  return data;
}

// The text a value is written as.
std::string OptionText(const StoredOption& option, const StoredOptions& options) {
  return WriteInt32(option.Get(options));
}

// Reads every value the keys hold over the options; an empty text leaves its option alone. The
// names of values that are there but not taken go to `ignored`.
void ReadValues(SettingsKeys& keys, StoredOptions& options, std::set<std::string>* ignored) {
  const std::optional<std::string> dataPath = ReadText(*keys.family, kDataPathName);
  // A longer path would not fit the add-in's path buffers; the one in hand stays.
  if (!dataPath || dataPath->size() > kDataPathMaxLength) {
    ignored->insert(kDataPathName);
  } else if (!dataPath->empty()) {
    options.DataPath = *dataPath;
  }

  for (const StoredOption& option : kStoredOptions) {
    const std::optional<std::string> read = ReadText(*keys.settings, option.name);
    if (!read) ignored->insert(option.name);
    if (!read || read->empty()) continue;
    option.Set(options, ReadLeadingInt32(*read));
  }
}

// Failed writes are not reported: the values in memory stay in force for this session.
void WriteValues(const StoredOptions& options, const std::map<std::string, std::string>& kept, SettingsKeys& keys) {
  auto write = [&kept](RegistryKey& key, const char* name, const std::string& text) {
    const auto unchanged = kept.find(name);
    if (unchanged == kept.end() || unchanged->second != text) key.SetText(name, text);
  };
  for (const StoredOption& option : kStoredOptions) write(*keys.settings, option.name, OptionText(option, options));
  write(*keys.family, kDataPathName, options.DataPath);
}

}  // namespace

void SettingsStore::Load(StoredOptions& options) {
  kept_.clear();
  std::set<std::string> ignored;
  try {
    SettingsKeys keys;
    if (SUCCEEDED(OpenSettingsKeys(registry_, RegistryRoot::LocalMachine, RegistryAccess::ReadWrite, &keys))) {
      home_ = RegistryRoot::LocalMachine;
      ReadValues(keys, options, &ignored);
    } else {
      home_ = RegistryRoot::CurrentUser;
      // Read-only on both roots: loading creates no keys, and a copy the user may only read applies.
      if (SUCCEEDED(OpenSettingsKeys(registry_, RegistryRoot::LocalMachine, RegistryAccess::ReadOnly, &keys))) {
        ReadValues(keys, options, &ignored);
      }
      if (SUCCEEDED(OpenSettingsKeys(registry_, RegistryRoot::CurrentUser, RegistryAccess::ReadOnly, &keys))) {
        ReadValues(keys, options, &ignored);
      }
    }
    for (const StoredOption& option : kStoredOptions) {
      if (ignored.count(option.name) != 0) kept_[option.name] = OptionText(option, options);
    }
    if (ignored.count(kDataPathName) != 0) kept_[kDataPathName] = options.DataPath;
  } catch (...) {
    // Out of memory while reading: the options read so far keep their new values.
  }
}

void SettingsStore::Save(const StoredOptions& options) {
  try {
    SettingsKeys keys;
    home_ = RegistryRoot::LocalMachine;
    if (FAILED(OpenSettingsKeys(registry_, RegistryRoot::LocalMachine, RegistryAccess::ReadWrite, &keys))) {
      home_ = RegistryRoot::CurrentUser;
      if (FAILED(OpenSettingsKeys(registry_, RegistryRoot::CurrentUser, RegistryAccess::ReadWrite, &keys))) return;
    }
    WriteValues(options, kept_, keys);
  } catch (...) {
    // Out of memory while writing: the values written so far stay.
  }
}
