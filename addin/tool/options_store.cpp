// Reading and writing the options. The keys live under HKEY_LOCAL_MACHINE, which only an
// administrator may open for writing; for everyone else the machine-wide values still apply and
// the user's own copy under HKEY_CURRENT_USER takes their changes. Load and Save each decide
// afresh, so a run with administrator rights keeps writing the machine-wide keys. Policies, which
// an administrator sets under SOFTWARE\Policies of either root, come last and win.
//
// Values are taken as administrators write them: a text (REG_SZ, REG_EXPAND_SZ, or the raw bytes
// of REG_BINARY up to the first NUL) for every option, and a REG_DWORD for a number or a flag. A
// value of any other type, or a DWORD for a text option, is not taken. A missing value is told
// from an empty one: under HKEY_CURRENT_USER a missing value leaves the machine-wide one in force,
// while an empty text option there is an empty text.
//
// A stored value is written back only when its option changed in the session: a value that was
// taken reads back the same, and one that was not (of a type the add-in does not take, longer
// than the read buffer or its option's limit, a text with a broken character) was set by someone
// on purpose. Values missing everywhere are written with what the add-in holds when the machine
// keys can be written, so that a fresh machine shows every option in the registry; a user's copy
// gets only what the user changed, so that values an administrator sets later still apply.
#include "addin/tool/options_store.h"

#include <memory>
#include <set>
#include <string>

#include "framework/decimal_text.h"
#include "framework/utf8.h"

namespace {

constexpr char kPoliciesFamilyKeyPath[] = "SOFTWARE\\Policies\\Varnkit";

struct OptionsKeys {
  std::unique_ptr<RegistryKey> family;
  std::unique_ptr<RegistryKey> options;  // may be missing below a policies family key
};

// Opens the family key `familyPath` and the options' key below it; both or neither, unless
// `optionsOptional`.
HRESULT OpenOptionsKeys(Registry& registry, RegistryRoot root, RegistryAccess access, OptionsKeys* keys,
                        const char* familyPath = kFamilyKeyPath, bool optionsOptional = false) {
  *keys = OptionsKeys{};
  OptionsKeys opened;
  // Keys that are not there (the user's, when no option was ever set) are no failure to trace.
  HRESULT hr = registry.OpenKey(root, familyPath, access, &opened.family);
  if (SUCCEEDED(hr)) hr = opened.family->OpenSubKey(kOptionsKeyName, access, &opened.options);
  if (FAILED(hr) && optionsOptional && opened.family) hr = S_OK;
  RETURN_IF_FAILED_UNLESS(hr, HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND));
  *keys = std::move(opened);
  return S_OK;
}

// A stored value as the store finds it: missing, there but not to be taken, or there with its
// text up to the first NUL, which may be empty.
struct StoredValue {
  enum State { Missing, Unreadable, Present } state = Missing;
  std::string text;
};

bool IsTextType(uint32_t type) {
  return type == kRegText || type == kRegExpandText || type == kRegBinary;
}

// The value `name` as an option of `kind` takes it; texts of any character are read in UTF-16
// and held as UTF-8.
StoredValue ReadValue(RegistryKey& key, const char* name, StoredKind kind, bool anyCharacter = false) {
  StoredValue value;
  std::u16string utf16;
  uint32_t type = kRegText;
  const HRESULT hr = anyCharacter ? key.QueryUtf16Text(name, kOptionsReadBufferBytes, &utf16, &type)
                                  : key.QueryValue(name, kOptionsReadBufferBytes, &value.text, &type);
  if (hr == HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND)) return StoredValue{};
  const StoredValue notTaken{StoredValue::Unreadable, std::string()};
  if (FAILED(hr)) return notTaken;
  if (type == kRegDword && kind != StoredKind::Text && value.text.size() == 4) {
    return StoredValue{StoredValue::Present, WriteInt32(static_cast<int32_t>(DwordValue(value.text)))};
  }
  if (!IsTextType(type)) return notTaken;
  if (anyCharacter) {
    value.text = Utf16ToUtf8(utf16);
    if (Utf8ToUtf16(value.text) != utf16) return notTaken;  // a broken character would be lost
  }
  const size_t end = value.text.find('\0');
  if (end != std::string::npos) value.text.resize(end);
  value.state = StoredValue::Present;
  return value;
}

// Reads every value the keys hold over the options; a missing value leaves its option alone, and
// so does an empty one but for a text option, which it empties. The names of the values that are
// there go to `found`, and those that are there but not taken to `ignored`.
void ReadValues(OptionsKeys& keys, const StoredOptionRows& rows, StoredOptions& options, std::set<std::string>* found,
                std::set<std::string>* ignored) {
  const StoredValue dataPath = ReadValue(*keys.family, kDataPathName, StoredKind::Text);
  if (dataPath.state != StoredValue::Missing) found->insert(kDataPathName);
  // A longer path would not fit the add-in's path buffers, and an empty one names no folder: the
  // one in hand stays.
  if (dataPath.state == StoredValue::Unreadable || dataPath.text.size() > kDataPathMaxLength) {
    ignored->insert(kDataPathName);
  } else if (!dataPath.text.empty()) {
    options.DataPath = dataPath.text;
  }
  if (!keys.options) return;
  for (const StoredOption& option : rows) {
    const StoredValue read = ReadValue(*keys.options, option.name, option.kind, option.anyCharacter);
    if (read.state == StoredValue::Missing) continue;
    found->insert(option.name);
    if (read.state == StoredValue::Unreadable ||
        TakeStoredText(option, read.text, options) == StoredTextTaken::TooLong) {
      ignored->insert(option.name);
    }
  }
}

}  // namespace

void OptionsStore::Load(StoredOptions& options) {
  loaded_.clear();
  found_.clear();
  options.Enforced.clear();
  std::set<std::string> ignored;
  try {
    OptionsKeys keys;
    if (SUCCEEDED(OpenOptionsKeys(registry_, RegistryRoot::LocalMachine, RegistryAccess::ReadWrite, &keys))) {
      home_ = RegistryRoot::LocalMachine;
      ReadValues(keys, rows_, options, &found_, &ignored);
    } else {
      home_ = RegistryRoot::CurrentUser;
      // Read-only on both roots: loading creates no keys, and a copy the user may only read applies.
      if (SUCCEEDED(OpenOptionsKeys(registry_, RegistryRoot::LocalMachine, RegistryAccess::ReadOnly, &keys))) {
        ReadValues(keys, rows_, options, &found_, &ignored);
      }
      if (SUCCEEDED(OpenOptionsKeys(registry_, RegistryRoot::CurrentUser, RegistryAccess::ReadOnly, &keys))) {
        ReadValues(keys, rows_, options, &found_, &ignored);
      }
    }
    LoadPolicies(options);
    for (const StoredOption& option : rows_) loaded_[option.name] = StoredText(option, options);
    loaded_[kDataPathName] = options.DataPath;
  } catch (...) {
    // Out of memory while reading: the options read so far keep their new values.
  }
}

// The user's policies first, then the machine's over them: the machine's administrator decides.
// A policy value that cannot be taken enforces nothing.
void OptionsStore::LoadPolicies(StoredOptions& options) {
  for (const RegistryRoot root : {RegistryRoot::CurrentUser, RegistryRoot::LocalMachine}) {
    OptionsKeys keys;
    if (FAILED(OpenOptionsKeys(registry_, root, RegistryAccess::ReadOnly, &keys, kPoliciesFamilyKeyPath, true))) {
      continue;
    }
    std::set<std::string> set, notTaken;
    ReadValues(keys, rows_, options, &set, &notTaken);
    for (const std::string& name : set) {
      if (notTaken.count(name) == 0) options.Enforced.insert(name);
    }
  }
}

void OptionsStore::Save(const StoredOptions& options) {
  try {
    OptionsKeys keys;
    home_ = RegistryRoot::LocalMachine;
    if (FAILED(OpenOptionsKeys(registry_, RegistryRoot::LocalMachine, RegistryAccess::ReadWrite, &keys))) {
      home_ = RegistryRoot::CurrentUser;
      if (FAILED(OpenOptionsKeys(registry_, RegistryRoot::CurrentUser, RegistryAccess::ReadWrite, &keys))) return;
    }
    // Failed writes are not reported: the values in memory stay in force for this session.
    auto write = [&](RegistryKey& key, const char* name, const std::string& text, bool anyCharacter) {
      if (options.Enforced.count(name) != 0) return;  // a policy's value is never stored
      const auto loaded = loaded_.find(name);
      const bool changed = loaded == loaded_.end() || loaded->second != text;
      const bool missing = found_.count(name) == 0 && home_ == RegistryRoot::LocalMachine;
      if (!changed && !missing) return;
      if (anyCharacter) {
        key.SetUtf16Text(name, Utf8ToUtf16(text));
      } else {
        key.SetText(name, text);
      }
    };
    for (const StoredOption& option : rows_) {
      write(*keys.options, option.name, StoredText(option, options), option.anyCharacter);
    }
    write(*keys.family, kDataPathName, options.DataPath, false);
  } catch (...) {
    // Out of memory while writing: the values written so far stay.
  }
}
