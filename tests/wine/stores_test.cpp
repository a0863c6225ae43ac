// The settings in the registry and the picklist file on disk, as the real DLL leaves them after
// a host session.
#include <gtest/gtest.h>

#include "addin_session.h"
#include "testing/documented_options.h"

namespace {

// A REG_SZ value with its bytes as stored (terminating NUL included); type 0 when absent.
struct StoredValue {
  DWORD type = 0;
  std::string bytes;
};

StoredValue ReadValue(HKEY root, const char* key, const char* name) {
  StoredValue value;
  BYTE data[2048];
  DWORD size = sizeof(data);
  HKEY opened = nullptr;
  if (RegOpenKeyExA(root, key, 0, KEY_READ, &opened) != ERROR_SUCCESS) return value;
  if (RegQueryValueExA(opened, name, nullptr, &value.type, data, &size) == ERROR_SUCCESS) {
    value.bytes.assign(reinterpret_cast<char*>(data), size);
  }
  RegCloseKey(opened);
  return value;
}

void SetValue(const char* key, const char* name, const std::string& text) {
  HKEY opened = nullptr;
  RegCreateKeyExA(HKEY_LOCAL_MACHINE, key, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &opened, nullptr);
  RegSetValueExA(opened, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                 static_cast<DWORD>(text.size() + 1));
  RegCloseKey(opened);
}

TEST(Stores, TerminateWritesEveryValueAsText) {
  { AddinSession s; }
  for (const DocumentedOption& option : kDocumentedOptions) {  // each with its default
    const StoredValue stored = ReadValue(HKEY_LOCAL_MACHINE, "SOFTWARE\\Varnkit\\VKTL", option.name);
    EXPECT_EQ(static_cast<DWORD>(REG_SZ), stored.type) << option.name;
    EXPECT_EQ(std::string(option.defaultText) + '\0', stored.bytes)
        << option.name << ": the terminating zero is counted";
  }
  const std::wstring folder = AddinSession::DataFolder();
  EXPECT_EQ(std::string(folder.begin(), folder.end()) + '\0',
            ReadValue(HKEY_LOCAL_MACHINE, "SOFTWARE\\Varnkit", "DataPath").bytes);
}

TEST(Stores, MissingPicklistIsCreatedEmptyAndLeftSo) {
  AddinSession s;
  EXPECT_EQ("", AddinSession::ReadPickListFile()) << "created empty at start";
  s.Close();
  EXPECT_EQ("", AddinSession::ReadPickListFile()) << "an unchanged list is not written";
}

TEST(Stores, UnconfirmedPicklistIsNotWritten) {
  SessionStart start;
  start.pickListFile = std::string("heading\r\n<TLT><NAME>Valve</NAME></TLT>\r\n<TLT><NAME>Caf\xe9</NAME></TLT>\r\n") +
                       '\0' + "<TLT><NAME>after the zero</NAME></TLT>";
  { AddinSession s(start); }
  EXPECT_EQ(*start.pickListFile, AddinSession::ReadPickListFile());
}

TEST(Stores, StoredSettingsApplyToTheTools) {
  // An earlier session's options: letters for the Number tool.
  AddinSession s;
  s.Close();
  SetValue("SOFTWARE\\Varnkit\\VKTL", "TLDefFormat", "1");
  // A session that starts from what the machine now holds (no reset of the keys).
  SimHost host;
  const int32_t drawing = host.AddDrawing();
  host.SetActiveDrawing(drawing);
  ComPtr<IDispatch> addin, tool;
  ASSERT_EQ(S_OK, CreateAddin(L"Varnkit_TL.Tallyline", &addin));
  ASSERT_EQ(S_OK, MakeComTool(host, 0, &tool));
  const VARIANT arg = DispatchArg(tool.Get());
  InvokeResult init, run, done;
  Invoke(addin.Get(), kDispInitialize, DISPATCH_METHOD, {arg}, &init);
  Invoke(addin.Get(), kDispRun, DISPATCH_METHOD, {arg}, &run);
  EXPECT_EQ(S_OK, run.hr);
  EXPECT_EQ(u"A", host.LeaderToolText());
  Invoke(addin.Get(), kDispTerminate, DISPATCH_METHOD, {arg}, &done);
  addin.Reset();
  tool.Reset();
  EXPECT_EQ(0, host.LiveComObjects());
  EXPECT_EQ(std::string("1") + '\0', ReadValue(HKEY_LOCAL_MACHINE, "SOFTWARE\\Varnkit\\VKTL", "TLDefFormat").bytes);
}

}  // namespace
