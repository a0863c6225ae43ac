// Reading and writing the options. The keys live under HKEY_LOCAL_MACHINE, which only an
// administrator may open for writing; for everyone else the machine-wide values still apply and
// the user's own copy under HKEY_CURRENT_USER takes their changes. Load and Save each decide
// afresh, so a run with administrator rights keeps writing the machine-wide keys.
//
// Every value is text; its registry type is not looked at, so a DWORD or binary value reads as
// its raw bytes up to the first NUL. Numbers are read as strtol reads them and taken as they are,
// without range checks.
#include "addin/settings_store.h"

#include <memory>
#include <string>

#include "framework/decimal_text.h"

namespace {

// An option is a number or a flag; exactly one of the two members is set.
struct Option {
  const char* name;
  int32_t ToolMembers::*number;
  bool ToolMembers::*flag;
};

// In the order in which they are read and written.
constexpr Option kOptions[] = {
    {"TLDefConvertPoint", nullptr, &ToolMembers::TLDefConvertPoint},
    {"TLDefMode", &ToolMembers::TLDefMode, nullptr},
    {"TLDefFormat", &ToolMembers::TLDefFormat, nullptr},
    {"TLDefObjDSource", &ToolMembers::TLDefObjDSource, nullptr},
    {"TLDefRenObjects", &ToolMembers::TLDefRenObjects, nullptr},
    {"TLDefRenFixOrder", nullptr, &ToolMembers::TLDefRenFixOrder},
    {"TLDefRenReset", nullptr, &ToolMembers::TLDefRenReset},
    {"TLPickAutoAdd", nullptr, &ToolMembers::TLPickAutoAdd},
    {"TLPickAutoPick", nullptr, &ToolMembers::TLPickAutoPick},
};

constexpr char kDataPathName[] = "DataPath";  // in the family key

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

// The value as text: its bytes up to the first NUL. A value that cannot be read (missing, or
// longer than the buffer) reads as empty, as does an empty one.
std::string ReadText(RegistryKey& key, const char* name) {
  std::string data;
  if (FAILED(key.QueryValue(name, kSettingsReadBufferBytes, &data))) return std::string();
  const size_t end = data.find('\0');
  if (end != std::string::npos) data.resize(end);
  return data;
}

// Reads every value the keys hold over the members; an empty text leaves its member alone.
void ReadValues(SettingsKeys& keys, ToolMembers& members) {
  const std::string dataPath = ReadText(*keys.family, kDataPathName);
  // A longer path would not fit the add-in's path buffers; the one in hand stays.
  if (!dataPath.empty() && dataPath.size() <= kDataPathMaxLength) members.DataPath = dataPath;

  for (const Option& option : kOptions) {
    const std::string text = ReadText(*keys.settings, option.name);
    if (text.empty()) continue;
    const int32_t value = ReadLeadingInt32(text);
    if (option.number) {
      members.*option.number = value;
    } else {
      members.*option.flag = value != 0;
    }
  }
}

// Failed writes are not reported: the values in memory stay in force for this session.
void WriteValues(const ToolMembers& members, SettingsKeys& keys) {
  for (const Option& option : kOptions) {
    const int32_t value = option.number ? members.*option.number : (members.*option.flag ? 1 : 0);
    keys.settings->SetText(option.name, WriteInt32(value));
  }
  keys.family->SetText(kDataPathName, members.DataPath);
}

}  // namespace

void SettingsStore::Load(ToolMembers& members) {
  try {
    SettingsKeys keys;
    if (SUCCEEDED(OpenSettingsKeys(registry_, RegistryRoot::LocalMachine, RegistryAccess::ReadWrite, &keys))) {
      home_ = RegistryRoot::LocalMachine;
      ReadValues(keys, members);
      return;
    }
    home_ = RegistryRoot::CurrentUser;
    // Read-only on both roots: loading creates no keys, and a copy the user may only read applies.
    if (SUCCEEDED(OpenSettingsKeys(registry_, RegistryRoot::LocalMachine, RegistryAccess::ReadOnly, &keys))) {
      ReadValues(keys, members);
    }
    if (SUCCEEDED(OpenSettingsKeys(registry_, RegistryRoot::CurrentUser, RegistryAccess::ReadOnly, &keys))) {
      ReadValues(keys, members);
    }
  } catch (...) {
    // Out of memory while reading: the members read so far keep their new values.
  }
}

void SettingsStore::Save(const ToolMembers& members) {
  try {
    SettingsKeys keys;
    home_ = RegistryRoot::LocalMachine;
    if (FAILED(OpenSettingsKeys(registry_, RegistryRoot::LocalMachine, RegistryAccess::ReadWrite, &keys))) {
      home_ = RegistryRoot::CurrentUser;
      if (FAILED(OpenSettingsKeys(registry_, RegistryRoot::CurrentUser, RegistryAccess::ReadWrite, &keys))) return;
    }
    WriteValues(members, keys);
  } catch (...) {
    // Out of memory while writing: the values written so far stay.
  }
}
