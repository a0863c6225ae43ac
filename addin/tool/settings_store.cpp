// Reading and writing the options. The keys live under HKEY_LOCAL_MACHINE, which only an
// administrator may open for writing; for everyone else the machine-wide values still apply and
// the user's own copy under HKEY_CURRENT_USER takes their changes. Load and Save each decide
// afresh, so a run with administrator rights keeps writing the machine-wide keys.
//
// Every value is text; its registry type is not looked at, so a DWORD or binary value reads as
// its raw bytes up to the first NUL, and each kind of option reads that text as the table says.
// A missing value is told from an empty one: under HKEY_CURRENT_USER a missing value leaves the
// machine-wide one in force, while an empty text option there is an empty text. A value that is
// there but is not taken (longer than the read buffer, or longer than its option's limit or the
// add-in's paths) was set by someone on purpose: the save leaves it as it stands unless its option
// changed meanwhile.
#include "addin/tool/settings_store.h"

#include <memory>
#include <set>
#include <string>

#include "framework/utf8.h"

namespace {

struct SettingsKeys {
  std::unique_ptr<RegistryKey> family;
  std::unique_ptr<RegistryKey> settings;
};

// Opens the family key and the settings key below it; both or neither.
HRESULT OpenSettingsKeys(Registry& registry, RegistryRoot root, RegistryAccess access, SettingsKeys* keys) {
  *keys = SettingsKeys{};
  SettingsKeys opened;
  // Keys that are not there (the user's, when no option was ever set) are no failure to trace.
  HRESULT hr = registry.OpenKey(root, kFamilyKeyPath, access, &opened.family);
  if (SUCCEEDED(hr)) hr = opened.family->OpenSubKey(kSettingsKeyName, access, &opened.settings);
  if (hr == HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND)) return hr;
  RETURN_IF_FAILED(hr);
  *keys = std::move(opened);
  return S_OK;
}

// A stored value as the store finds it: missing, there but unreadable (longer than the read
// buffer), or there with its bytes up to the first NUL, which may be none.
struct StoredValue {
  enum State { Missing, Unreadable, Present } state = Missing;
  std::string text;
};

// A text of any character is read in UTF-16 and held as UTF-8.
StoredValue ReadValue(RegistryKey& key, const char* name, bool anyCharacter = false) {
  StoredValue value;
  std::u16string wide;
  const HRESULT hr = anyCharacter ? key.QueryWideText(name, kSettingsReadBufferBytes, &wide)
                                  : key.QueryValue(name, kSettingsReadBufferBytes, &value.text);
  if (anyCharacter && SUCCEEDED(hr)) value.text = WideToUtf8(wide);
  if (hr == HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND)) return StoredValue{};
  if (FAILED(hr)) return StoredValue{StoredValue::Unreadable, std::string()};
  const size_t end = value.text.find('\0');
  if (end != std::string::npos) value.text.resize(end);
  value.state = StoredValue::Present;
  return value;
}

// Reads every value the keys hold over the options; a missing value leaves its option alone, and
// so does an empty one but for a text option, which it empties. The names of values that are
// there but not taken go to `ignored`.
void ReadValues(SettingsKeys& keys, const StoredOptionRows& rows, StoredOptions& options,
                std::set<std::string>* ignored) {
  const StoredValue dataPath = ReadValue(*keys.family, kDataPathName);
  // A longer path would not fit the add-in's path buffers, and an empty one names no folder: the
  // one in hand stays.
  if (dataPath.state == StoredValue::Unreadable || dataPath.text.size() > kDataPathMaxLength) {
    ignored->insert(kDataPathName);
  } else if (!dataPath.text.empty()) {
    options.DataPath = dataPath.text;
  }

  for (const StoredOption& option : rows) {
    const StoredValue read = ReadValue(*keys.settings, option.name, option.anyCharacter);
    if (read.state == StoredValue::Missing) continue;
    if (read.state == StoredValue::Unreadable ||
        TakeStoredText(option, read.text, options) == StoredTextTaken::TooLong) {
      ignored->insert(option.name);
    }
  }
}

// Failed writes are not reported: the values in memory stay in force for this session.
void WriteValues(const StoredOptionRows& rows, const StoredOptions& options,
                 const std::map<std::string, std::string>& kept, SettingsKeys& keys) {
  auto write = [&kept](RegistryKey& key, const char* name, const std::string& text, bool anyCharacter) {
    const auto unchanged = kept.find(name);
    if (unchanged != kept.end() && unchanged->second == text) return;
    if (anyCharacter) {
      key.SetWideText(name, Utf8ToWide(text));
    } else {
      key.SetText(name, text);
    }
  };
  for (const StoredOption& option : rows) {
    write(*keys.settings, option.name, StoredText(option, options), option.anyCharacter);
  }
  write(*keys.family, kDataPathName, options.DataPath, false);
}

}  // namespace

void SettingsStore::Load(StoredOptions& options) {
  kept_.clear();
  std::set<std::string> ignored;
  try {
    SettingsKeys keys;
    if (SUCCEEDED(OpenSettingsKeys(registry_, RegistryRoot::LocalMachine, RegistryAccess::ReadWrite, &keys))) {
      home_ = RegistryRoot::LocalMachine;
      ReadValues(keys, rows_, options, &ignored);
    } else {
      home_ = RegistryRoot::CurrentUser;
      // Read-only on both roots: loading creates no keys, and a copy the user may only read applies.
      if (SUCCEEDED(OpenSettingsKeys(registry_, RegistryRoot::LocalMachine, RegistryAccess::ReadOnly, &keys))) {
        ReadValues(keys, rows_, options, &ignored);
      }
      if (SUCCEEDED(OpenSettingsKeys(registry_, RegistryRoot::CurrentUser, RegistryAccess::ReadOnly, &keys))) {
        ReadValues(keys, rows_, options, &ignored);
      }
    }
    for (const StoredOption& option : rows_) {
      if (ignored.count(option.name) != 0) kept_[option.name] = StoredText(option, options);
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
    WriteValues(rows_, options, kept_, keys);
  } catch (...) {
    // Out of memory while writing: the values written so far stay.
  }
}
