// The registry entries of the server, written with direct registry calls under
// HKEY_CLASSES_ROOT. The class-id key is replaced as a whole on registration; the CLSID and
// AppID roots themselves are never removed.
#include "addin/registration_win.h"

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

struct RegistryEntry {
  std::wstring key;
  const wchar_t* valueName;  // null for the default value
  std::wstring data;         // ignored when valueName is null and the entry only makes the key
  bool keyOnly;
};

HRESULT SetEntry(const RegistryEntry& entry) {
  HKEY key = nullptr;
  LONG status = RegCreateKeyExW(HKEY_CLASSES_ROOT, entry.key.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                                KEY_SET_VALUE, nullptr, &key, nullptr);
  if (status != ERROR_SUCCESS) return HRESULT_FROM_WIN32(status);
  if (!entry.keyOnly) {
    const DWORD bytes = static_cast<DWORD>((entry.data.size() + 1) * sizeof(wchar_t));
    status = RegSetValueExW(key, entry.valueName, 0, REG_SZ, reinterpret_cast<const BYTE*>(entry.data.c_str()), bytes);
  }
  RegCloseKey(key);
  return HRESULT_FROM_WIN32(status);
}

HRESULT SetEntries(std::initializer_list<RegistryEntry> entries) {
  for (const RegistryEntry& entry : entries) RETURN_IF_FAILED(SetEntry(entry));
  return S_OK;
}

// Removes a key with everything below it; a key that is not there is already removed.
HRESULT RemoveTree(const wchar_t* key) {
  const LONG status = RegDeleteTreeW(HKEY_CLASSES_ROOT, key);
  if (status == ERROR_SUCCESS || status == ERROR_FILE_NOT_FOUND) return S_OK;
  return HRESULT_FROM_WIN32(status);
}

HRESULT RegisterAppId() {
  return SetEntries({
      {kAppIdKey, nullptr, L"Varnkit_TL", false},
      {kModuleAppIdKey, L"AppID", kAppId, false},
  });
}

HRESULT RegisterClassEntries(const std::wstring& modulePath) {
  const std::wstring classKey = kClassKey;
  RETURN_IF_FAILED(SetEntries({
      {kProgId, nullptr, kFriendlyName, false},
      {std::wstring(kProgId) + L"\\CLSID", nullptr, kClassId, false},
      {kIndependentProgId, nullptr, kFriendlyName, false},
      {std::wstring(kIndependentProgId) + L"\\CLSID", nullptr, kClassId, false},
      {std::wstring(kIndependentProgId) + L"\\CurVer", nullptr, kProgId, false},
  }));
  // The class key is replaced whole: whatever an earlier install left below it goes first.
  RETURN_IF_FAILED(RemoveTree(kClassKey));
  return SetEntries({
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

HRESULT RegisterTypeLibrary(const std::wstring& modulePath) {
  ITypeLib* typeLib = nullptr;
  RETURN_IF_FAILED(LoadTypeLibEx(modulePath.c_str(), REGKIND_NONE, &typeLib));
  std::wstring helpFolder = modulePath.substr(0, modulePath.find_last_of(L"\\/") + 1);
  if (helpFolder.size() > 3 && helpFolder.back() == L'\\') helpFolder.pop_back();  // keep "C:\"
  std::wstring path = modulePath;                                                  // the API takes writable strings
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

}  // namespace

HRESULT RegisterServer() {
  return ComTry([] {
    const std::wstring modulePath = ModuleFilePath();
    RETURN_HR_IF(E_FAIL, modulePath.empty());
    RETURN_IF_FAILED(RegisterAppId());
    RETURN_IF_FAILED(RegisterClassEntries(modulePath));
    return RegisterTypeLibrary(modulePath);
  });
}

HRESULT UnregisterServer() {
  return ComTry([] {
    RETURN_IF_FAILED(RemoveTree(kClassKey));
    RETURN_IF_FAILED(RemoveTree(kProgId));
    RETURN_IF_FAILED(RemoveTree(kIndependentProgId));
    RETURN_IF_FAILED(UnregisterTypeLibrary());
    RETURN_IF_FAILED(RemoveTree(kAppIdKey));
    return RemoveTree(kModuleAppIdKey);
  });
}
