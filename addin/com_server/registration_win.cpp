// The registry entries of the server, written with direct registry calls: machine-wide under
// HKEY_CLASSES_ROOT, or for the current user alone under HKEY_CURRENT_USER\Software\Classes.
// The class-id key is replaced as a whole on registration; the CLSID and AppID roots themselves
// are never removed.
#include "addin/com_server/registration_win.h"

#include <string>

#include "framework/com_try.h"
#include "framework/module_win.h"
#include "tallyline.h"

namespace {

constexpr wchar_t kClassKey[] = L"CLSID\\{A6C55777-8C43-4D42-868C-70B07956EA54}";
constexpr wchar_t kClassId[] = L"{A6C55777-8C43-4D42-868C-70B07956EA54}";
constexpr wchar_t kAppId[] = L"{84DF9CEC-1A93-4B3F-B922-D2363ED48940}";
constexpr wchar_t kAppIdKey[] = L"AppID\\{84DF9CEC-1A93-4B3F-B922-D2363ED48940}";
constexpr wchar_t kModuleAppIdKey[] = L"AppID\\Varnkit_TL.DLL";
constexpr wchar_t kProgId[] = L"Varnkit_TL.Tallyline.1";
constexpr wchar_t kIndependentProgId[] = L"Varnkit_TL.Tallyline";
constexpr wchar_t kFriendlyName[] = L"CTallyline Object";
constexpr wchar_t kTypeLibVersionKey[] = L"TypeLib\\{84DF9CEC-1A93-4B3F-B922-D2363ED48940}\\1.0";
// The kind of the module's own type library: a 64-bit module registers the win64 entry.
constexpr SYSKIND kModuleSysKind = sizeof(void*) == 8 ? SYS_WIN64 : SYS_WIN32;
constexpr const wchar_t* kPlatformKey = sizeof(void*) == 8 ? L"win64" : L"win32";

constexpr wchar_t kLibraryId[] = L"{84DF9CEC-1A93-4B3F-B922-D2363ED48940}";
constexpr wchar_t kTypeLibKey[] = L"TypeLib\\{84DF9CEC-1A93-4B3F-B922-D2363ED48940}";
constexpr wchar_t kInterfaceKey[] = L"Interface\\{D33C6041-1157-4E57-80B3-411CAA822D9F}";
// The system's proxy for automation interfaces, which a dual interface is marshalled with.
constexpr wchar_t kAutomationProxy[] = L"{00020424-0000-0000-C000-000000000046}";

// Where the entries go: the root key and the path below it that stands for the classes root.
struct Hive {
  HKEY root;
  const wchar_t* prefix;
};
const Hive kMachine = {HKEY_CLASSES_ROOT, L""};
const Hive kUser = {HKEY_CURRENT_USER, L"Software\\Classes\\"};

struct RegistryEntry {
  std::wstring key;
  const wchar_t* valueName;  // null for the default value
  std::wstring data;         // ignored when valueName is null and the entry only makes the key
  bool keyOnly;
};

HRESULT SetEntry(const Hive& hive, const RegistryEntry& entry) {
  HKEY key = nullptr;
  const std::wstring path = hive.prefix + entry.key;
  LONG status = RegCreateKeyExW(hive.root, path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_SET_VALUE, nullptr,
                                &key, nullptr);
  if (status != ERROR_SUCCESS) return HRESULT_FROM_WIN32(status);
  if (!entry.keyOnly) {
    const DWORD bytes = static_cast<DWORD>((entry.data.size() + 1) * sizeof(wchar_t));
    status = RegSetValueExW(key, entry.valueName, 0, REG_SZ, reinterpret_cast<const BYTE*>(entry.data.c_str()), bytes);
  }
  RegCloseKey(key);
  return HRESULT_FROM_WIN32(status);
}

HRESULT SetEntries(const Hive& hive, std::initializer_list<RegistryEntry> entries) {
  for (const RegistryEntry& entry : entries) RETURN_IF_FAILED(SetEntry(hive, entry));
  return S_OK;
}

// Removes a key with everything below it; a key that is not there is already removed.
HRESULT RemoveTree(const Hive& hive, const wchar_t* key) {
  const std::wstring path = std::wstring(hive.prefix) + key;
  const LONG status = RegDeleteTreeW(hive.root, path.c_str());
  if (status == ERROR_SUCCESS || status == ERROR_FILE_NOT_FOUND) return S_OK;
  return HRESULT_FROM_WIN32(status);
}

HRESULT RegisterAppId(const Hive& hive) {
  return SetEntries(hive, {
      {kAppIdKey, nullptr, L"Varnkit_TL", false},
      {kModuleAppIdKey, L"AppID", kAppId, false},
  });
}

HRESULT RegisterClassEntries(const Hive& hive, const std::wstring& modulePath) {
  const std::wstring classKey = kClassKey;
  RETURN_IF_FAILED(SetEntries(hive, {
      {kProgId, nullptr, kFriendlyName, false},
      {std::wstring(kProgId) + L"\\CLSID", nullptr, kClassId, false},
      {kIndependentProgId, nullptr, kFriendlyName, false},
      {std::wstring(kIndependentProgId) + L"\\CLSID", nullptr, kClassId, false},
      {std::wstring(kIndependentProgId) + L"\\CurVer", nullptr, kProgId, false},
  }));
  // The class key is replaced whole: whatever an earlier install left below it goes first.
  RETURN_IF_FAILED(RemoveTree(hive, kClassKey));
  return SetEntries(hive, {
      {classKey, nullptr, kFriendlyName, false},
      {classKey, L"AppID", kAppId, false},
      {classKey + L"\\ProgID", nullptr, kProgId, false},
      {classKey + L"\\VersionIndependentProgID", nullptr, kIndependentProgId, false},
      {classKey + L"\\Programmable", nullptr, L"", true},
      {classKey + L"\\InprocServer32", nullptr, modulePath, false},
      {classKey + L"\\InprocServer32", L"ThreadingModel", L"apartment", false},
      {classKey + L"\\TypeLib", nullptr, kAppId, false},
  });
}

// The folder of the module, as the type library's help folder ("C:\\" keeps its backslash).
std::wstring ModuleFolder(const std::wstring& modulePath) {
  std::wstring folder = modulePath.substr(0, modulePath.find_last_of(L"\\/") + 1);
  if (folder.size() > 3 && folder.back() == L'\\') folder.pop_back();
  return folder;
}

HRESULT RegisterTypeLibrary(const std::wstring& modulePath) {
  ITypeLib* typeLib = nullptr;
  RETURN_IF_FAILED(LoadTypeLibEx(modulePath.c_str(), REGKIND_NONE, &typeLib));
  std::wstring helpFolder = ModuleFolder(modulePath);
  std::wstring path = modulePath;  // the API takes writable strings
  const HRESULT hr = RegisterTypeLib(typeLib, &path[0], &helpFolder[0]);
  typeLib->Release();
  return hr;
}

HRESULT UnregisterTypeLibrary() {
  // A type library that is not registered is already unregistered (the system call would fail).
  HKEY key = nullptr;
  if (RegOpenKeyExW(HKEY_CLASSES_ROOT, kTypeLibVersionKey, 0, KEY_READ, &key) != ERROR_SUCCESS) return S_OK;
  RegCloseKey(key);
  return UnRegisterTypeLib(LIBID_Varnkit_TL, 1, 0, LOCALE_NEUTRAL, kModuleSysKind);
}

// The entries RegisterTypeLib makes, written directly: the system's call registers machine-wide
// (Wine's per-user variant does too), and a user's registration must stay the user's.
HRESULT RegisterTypeLibraryForUser(const std::wstring& modulePath) {
  const std::wstring library = std::wstring(kTypeLibKey) + L"\\1.0";
  const std::wstring interfaceKey = kInterfaceKey;
  RETURN_IF_FAILED(SetEntries(kUser, {
                                         {library, nullptr, L"Varnkit_TL 1.0 Type Library", false},
                                         {library + L"\\0\\" + kPlatformKey, nullptr, modulePath, false},
                                         {library + L"\\FLAGS", nullptr, L"0", false},
                                         {library + L"\\HELPDIR", nullptr, ModuleFolder(modulePath), false},
                                     }));
  return SetEntries(kUser, {
                               {interfaceKey, nullptr, L"ITallyline", false},
                               {interfaceKey + L"\\ProxyStubClsid", nullptr, kAutomationProxy, false},
                               {interfaceKey + L"\\ProxyStubClsid32", nullptr, kAutomationProxy, false},
                               {interfaceKey + L"\\TypeLib", nullptr, kLibraryId, false},
                               {interfaceKey + L"\\TypeLib", L"Version", L"1.0", false},
                           });
}

HRESULT RegisterForUser() {
  const std::wstring modulePath = ModuleFilePath();
  RETURN_HR_IF(E_FAIL, modulePath.empty());
  RETURN_IF_FAILED(RegisterAppId(kUser));
  RETURN_IF_FAILED(RegisterClassEntries(kUser, modulePath));
  return RegisterTypeLibraryForUser(modulePath);
}

HRESULT UnregisterForUser() {
  for (const wchar_t* key : {kClassKey, kProgId, kIndependentProgId, kTypeLibKey, kInterfaceKey, kAppIdKey,
                             kModuleAppIdKey}) {
    RETURN_IF_FAILED(RemoveTree(kUser, key));
  }
  return S_OK;
}

// "user", in any case, with nothing around it.
bool IsUserCommand(const wchar_t* commandLine) {
  return commandLine != nullptr && lstrcmpiW(commandLine, L"user") == 0;
}

}  // namespace

HRESULT RegisterServer() {
  return ComTry([] {
    const std::wstring modulePath = ModuleFilePath();
    RETURN_HR_IF(E_FAIL, modulePath.empty());
    RETURN_IF_FAILED(RegisterAppId(kMachine));
    RETURN_IF_FAILED(RegisterClassEntries(kMachine, modulePath));
    return RegisterTypeLibrary(modulePath);
  });
}

HRESULT UnregisterServer() {
  return ComTry([] {
    RETURN_IF_FAILED(RemoveTree(kMachine, kClassKey));
    RETURN_IF_FAILED(RemoveTree(kMachine, kProgId));
    RETURN_IF_FAILED(RemoveTree(kMachine, kIndependentProgId));
    RETURN_IF_FAILED(UnregisterTypeLibrary());
    RETURN_IF_FAILED(RemoveTree(kMachine, kAppIdKey));
    return RemoveTree(kMachine, kModuleAppIdKey);
  });
}

HRESULT InstallServer(bool install, const wchar_t* commandLine) {
  RETURN_HR_IF(E_INVALIDARG, !IsUserCommand(commandLine));
  return ComTry([install] { return install ? RegisterForUser() : UnregisterForUser(); });
}
