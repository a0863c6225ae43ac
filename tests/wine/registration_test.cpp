// regsvr32 against the real DLL: exactly the class, ProgID and AppID entries, the type library,
// and the removal rules of unregistration. Leaves the server registered for the other tests.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>
#include <string>

#include "tallyline.h"
#include "wine_test_support.h"

namespace {

const wchar_t kClassKey[] = L"CLSID\\{A6C55777-8C43-4D42-868C-70B07956EA54}";
const wchar_t kClassId[] = L"{A6C55777-8C43-4D42-868C-70B07956EA54}";
const wchar_t kAppId[] = L"{84DF9CEC-1A93-4B3F-B922-D2363ED48940}";

bool KeyExists(HKEY root, const std::wstring& path) {
  HKEY key = nullptr;
  if (RegOpenKeyExW(root, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
  RegCloseKey(key);
  return true;
}

// Every value of a key, by name ("" for the default), as (type, text).
std::map<std::wstring, std::pair<DWORD, std::wstring>> Values(const std::wstring& path) {
  std::map<std::wstring, std::pair<DWORD, std::wstring>> values;
  HKEY key = nullptr;
  if (RegOpenKeyExW(HKEY_CLASSES_ROOT, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return values;
  for (DWORD index = 0;; ++index) {
    wchar_t name[256];
    DWORD nameLength = 256, type = 0;
    BYTE data[2048];
    DWORD dataLength = sizeof(data);
    if (RegEnumValueW(key, index, name, &nameLength, nullptr, &type, data, &dataLength) != ERROR_SUCCESS) break;
    std::wstring text(reinterpret_cast<wchar_t*>(data), dataLength / sizeof(wchar_t));
    values[std::wstring(name, nameLength)] = {type, text};
  }
  RegCloseKey(key);
  return values;
}

std::set<std::wstring> SubKeys(const std::wstring& path) {
  std::set<std::wstring> names;
  HKEY key = nullptr;
  if (RegOpenKeyExW(HKEY_CLASSES_ROOT, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return names;
  wchar_t name[256];
  for (DWORD index = 0; RegEnumKeyW(key, index, name, 256) == ERROR_SUCCESS; ++index) names.insert(name);
  RegCloseKey(key);
  return names;
}

// A REG_SZ value written with its terminating NUL counted.
std::pair<DWORD, std::wstring> Sz(const std::wstring& text) {
  return {REG_SZ, text + L'\0'};
}

using ValueMap = std::map<std::wstring, std::pair<DWORD, std::wstring>>;

void ExpectRegistered() {
  const std::wstring classKey = kClassKey;
  const struct {
    std::wstring key;
    ValueMap values;
    std::set<std::wstring> subKeys;
  } expected[] = {
      {L"Varnkit_TL.Tallyline.1", {{L"", Sz(L"CTallyline Object")}}, {L"CLSID"}},
      {L"Varnkit_TL.Tallyline.1\\CLSID", {{L"", Sz(kClassId)}}, {}},
      {L"Varnkit_TL.Tallyline", {{L"", Sz(L"CTallyline Object")}}, {L"CLSID", L"CurVer"}},
      {L"Varnkit_TL.Tallyline\\CLSID", {{L"", Sz(kClassId)}}, {}},
      {L"Varnkit_TL.Tallyline\\CurVer", {{L"", Sz(L"Varnkit_TL.Tallyline.1")}}, {}},
      {classKey,
       {{L"", Sz(L"CTallyline Object")}, {L"AppID", Sz(kAppId)}},
       {L"ProgID", L"VersionIndependentProgID", L"Programmable", L"InprocServer32", L"TypeLib"}},
      {classKey + L"\\ProgID", {{L"", Sz(L"Varnkit_TL.Tallyline.1")}}, {}},
      {classKey + L"\\VersionIndependentProgID", {{L"", Sz(L"Varnkit_TL.Tallyline")}}, {}},
      {classKey + L"\\Programmable", {}, {}},
      {classKey + L"\\InprocServer32", {{L"", Sz(DllPath())}, {L"ThreadingModel", Sz(L"apartment")}}, {}},
      {classKey + L"\\TypeLib", {{L"", Sz(kAppId)}}, {}},
      {L"AppID\\{84DF9CEC-1A93-4B3F-B922-D2363ED48940}", {{L"", Sz(L"Varnkit_TL")}}, {}},
      {L"AppID\\Varnkit_TL.DLL", {{L"AppID", Sz(kAppId)}}, {}},
  };
  for (const auto& entry : expected) {
    EXPECT_TRUE(KeyExists(HKEY_CLASSES_ROOT, entry.key)) << std::string(entry.key.begin(), entry.key.end());
    ValueMap actual = Values(entry.key);
    EXPECT_EQ(entry.values.size(), actual.size()) << std::string(entry.key.begin(), entry.key.end());
    for (const auto& [name, value] : entry.values) {
      // The module path is compared without regard to case, as Windows paths are.
      std::wstring want = value.second, got = actual[name].second;
      if (name.empty() && entry.key.find(L"InprocServer32") != std::wstring::npos) {
        std::transform(want.begin(), want.end(), want.begin(), towlower);
        std::transform(got.begin(), got.end(), got.begin(), towlower);
      }
      EXPECT_EQ(value.first, actual[name].first) << std::string(name.begin(), name.end());
      EXPECT_EQ(want, got) << std::string(entry.key.begin(), entry.key.end()) << " value "
                           << std::string(name.begin(), name.end());
    }
    EXPECT_EQ(entry.subKeys, SubKeys(entry.key)) << std::string(entry.key.begin(), entry.key.end());
  }
}

TEST(Registration, Regsvr32WritesExactlyTheEntries) {
  ASSERT_EQ(0, Regsvr32(true));
  // Something an older install left below the class key goes with the re-registration.
  HKEY stale = nullptr;
  ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyW(HKEY_CLASSES_ROOT, (std::wstring(kClassKey) + L"\\Stale").c_str(), &stale));
  RegSetValueExW(stale, L"Left", 0, REG_SZ, reinterpret_cast<const BYTE*>(L"x"), 4);
  RegCloseKey(stale);
  ASSERT_EQ(0, Regsvr32(false));
  ExpectRegistered();
}

TEST(Registration, TypeLibraryIsRegistered) {
  ASSERT_EQ(0, Regsvr32(false));
  ComPtr<ITypeLib> typeLib;
  ASSERT_EQ(S_OK, LoadRegTypeLib(LIBID_Varnkit_TL, 1, 0, LOCALE_NEUTRAL, &typeLib));
  BSTR name = nullptr, help = nullptr;
  ASSERT_HRESULT_SUCCEEDED(typeLib->GetDocumentation(-1, &name, &help, nullptr, nullptr));
  EXPECT_STREQ(L"Varnkit_TL", name);
  EXPECT_STREQ(L"Varnkit_TL 1.0 Type Library", help);
  SysFreeString(name);
  SysFreeString(help);
  // The interface is marshalled by the automation marshaller.
  const auto proxy = Values(L"Interface\\{D33C6041-1157-4E57-80B3-411CAA822D9F}\\ProxyStubClsid32");
  ASSERT_EQ(1u, proxy.count(L""));
  EXPECT_EQ(std::wstring(L"{00020424-0000-0000-C000-000000000046}") + L'\0', proxy.at(L"").second);
  EXPECT_EQ(1u, Values(L"TypeLib\\{84DF9CEC-1A93-4B3F-B922-D2363ED48940}\\1.0\\HELPDIR").count(L""));
}

TEST(Registration, UnregistrationRemovesItsEntriesAndKeepsTheRoots) {
  ASSERT_EQ(0, Regsvr32(false));
  ASSERT_EQ(0, Regsvr32(true));
  for (const wchar_t* gone :
       {kClassKey, L"Varnkit_TL.Tallyline.1", L"Varnkit_TL.Tallyline", L"AppID\\{84DF9CEC-1A93-4B3F-B922-D2363ED48940}",
        L"AppID\\Varnkit_TL.DLL", L"TypeLib\\{84DF9CEC-1A93-4B3F-B922-D2363ED48940}"}) {
    EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, gone)) << std::string(gone, gone + wcslen(gone));
  }
  EXPECT_TRUE(KeyExists(HKEY_CLASSES_ROOT, L"CLSID"));
  EXPECT_TRUE(KeyExists(HKEY_CLASSES_ROOT, L"AppID"));
  ComPtr<IDispatch> addin;
  EXPECT_HRESULT_FAILED(CreateAddin(L"Varnkit_TL.Tallyline", &addin));
  EXPECT_EQ(0, Regsvr32(true)) << "unregistering twice is harmless";
  ASSERT_EQ(0, Regsvr32(false));
  ExpectRegistered();
}

// regsvr32 /n /i:user: the same entries for the current user only, and none machine-wide.
long Regsvr32ForUser(bool unregister) {
  return RunProcess(std::wstring(L"regsvr32.exe /s /n /i:user ") + (unregister ? L"/u " : L"") + L"\"" + DllPath() +
                    L"\"");
}

TEST(Registration, PerUserRegistrationStaysWithTheUser) {
  const std::wstring user = L"Software\\Classes\\", machine = L"Software\\Classes\\";
  const std::wstring library = L"TypeLib\\{84DF9CEC-1A93-4B3F-B922-D2363ED48940}";
  const std::wstring userEntries[] = {std::wstring(kClassKey) + L"\\InprocServer32",
                                      L"Varnkit_TL.Tallyline\\CLSID",
                                      L"Varnkit_TL.Tallyline.1\\CLSID",
                                      L"AppID\\{84DF9CEC-1A93-4B3F-B922-D2363ED48940}",
                                      library + (sizeof(void*) == 8 ? L"\\1.0\\0\\win64" : L"\\1.0\\0\\win32"),
                                      L"Interface\\{D33C6041-1157-4E57-80B3-411CAA822D9F}\\ProxyStubClsid32"};
  for (bool machineWide : {false, true}) {
    ASSERT_EQ(0, Regsvr32(!machineWide));
    ASSERT_EQ(0, Regsvr32ForUser(false)) << machineWide;
    for (const std::wstring& key : userEntries) {
      EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, user + key)) << std::string(key.begin(), key.end());
    }
    if (machineWide) {
      ExpectRegistered();
    } else {
      EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, machine + kClassKey)) << "written machine-wide";
      EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, machine + library)) << "type library registered machine-wide";
    }
    ASSERT_EQ(0, Regsvr32ForUser(true)) << machineWide;
    for (const std::wstring& key : userEntries) {
      EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, user + key)) << std::string(key.begin(), key.end());
    }
    EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, user + L"CLSID")) << "the roots stay";
  }
  ExpectRegistered();  // the machine-wide registration is left as it was
  using Install = HRESULT(__stdcall*)(BOOL, PCWSTR);
  const auto install = reinterpret_cast<Install>(reinterpret_cast<void*>(GetProcAddress(Server().module, "DllInstall")));
  ASSERT_NE(nullptr, install);
  EXPECT_EQ(E_INVALIDARG, install(TRUE, L"machine"));
  EXPECT_EQ(E_INVALIDARG, install(TRUE, nullptr));
}

TEST(Registration, ExportsReportSuccess) {
  EXPECT_EQ(S_OK, Server().registerServer());
  EXPECT_EQ(S_OK, Server().unregisterServer());
  EXPECT_EQ(S_OK, Server().registerServer());
  ExpectRegistered();
}

}  // namespace
