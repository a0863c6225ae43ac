#include "addin_session.h"

#include "addin/com_server/tallyline_win.h"
#include "framework/module_win.h"
#include "host/host_com_values_win.h"

namespace {

void TakeBool(const InvokeResult& call, VARIANT_BOOL* out) {
  if (out != nullptr && V_VT(&call.value) == VT_BOOL) *out = V_BOOL(&call.value);
}
}  // namespace

SimGraphicSpec Graphic(std::u16string type, std::u16string info) {
  return {std::move(type), std::move(info)};
}

namespace {
// The stored settings of earlier sessions are cleared, and the picklist lives in a folder of the
// tests' own, so that each session starts as on a fresh machine.
void PrepareMachine(const SessionStart& start) {
  RegDeleteTreeW(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Varnkit");
  RegDeleteTreeW(HKEY_CURRENT_USER, L"SOFTWARE\\Varnkit");
  const std::wstring folder = AddinSession::DataFolder();
  CreateDirectoryW(folder.c_str(), nullptr);
  const std::wstring file = folder + L"TLeaders.txt";
  DeleteFileW(file.c_str());
  if (start.pickListFile) {
    HANDLE out = CreateFileW(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    DWORD written = 0;
    WriteFile(out, start.pickListFile->data(), static_cast<DWORD>(start.pickListFile->size()), &written, nullptr);
    CloseHandle(out);
  }
  HKEY family = nullptr;
  RegCreateKeyExW(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Varnkit", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &family, nullptr);
  const std::wstring dataPath = start.dataPath.value_or(folder);
  RegSetValueExW(family, L"DataPath", 0, REG_SZ, reinterpret_cast<const BYTE*>(dataPath.c_str()),
                 static_cast<DWORD>((dataPath.size() + 1) * sizeof(wchar_t)));
  RegCloseKey(family);
  for (const auto& [name, text] : start.settings) {
    HKEY settings = nullptr;
    RegCreateKeyExW(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Varnkit\\VKTL", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &settings,
                    nullptr);
    RegSetValueExW(settings, name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                   static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
    RegCloseKey(settings);
  }
  if (start.traceSwitch) {
    HKEY settings = nullptr;
    RegCreateKeyExW(HKEY_CURRENT_USER, L"SOFTWARE\\Varnkit\\VKTL", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &settings,
                    nullptr);
    RegSetValueExW(settings, L"TLTraceFailures", 0, REG_SZ, reinterpret_cast<const BYTE*>(start.traceSwitch->c_str()),
                   static_cast<DWORD>((start.traceSwitch->size() + 1) * sizeof(wchar_t)));
    RegCloseKey(settings);
  }
}
}  // namespace

std::wstring AddinSession::DataFolder() {
  wchar_t temp[MAX_PATH] = {};
  GetTempPathW(MAX_PATH, temp);
  return std::wstring(temp) + L"tallyline-session\\";
}

std::string AddinSession::ReadPickListFile() {
  HANDLE in = CreateFileW((DataFolder() + L"TLeaders.txt").c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                          OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (in == INVALID_HANDLE_VALUE) return "<missing>";
  std::string bytes(GetFileSize(in, nullptr), '\0');
  DWORD read = 0;
  if (!bytes.empty()) ReadFile(in, &bytes[0], static_cast<DWORD>(bytes.size()), &read, nullptr);
  CloseHandle(in);
  return bytes;
}

AddinSession::AddinSession() : AddinSession(SessionStart{}) {}

AddinSession::AddinSession(const SessionStart& start) {
  PrepareMachine(start);
  host.SetVersionText(start.version);
  drawing = host.AddDrawing();
  host.SetActiveDrawing(drawing);
  inProcess_ = start.inProcess;
  if (inProcess_) {
    EXPECT_EQ(S_OK, CTallyline::Create(nullptr, IID_IDispatch, reinterpret_cast<void**>(addin.GetAddressOf())));
  } else {
    EXPECT_EQ(S_OK, CreateAddin(L"Varnkit_TL.Tallyline", &addin));
  }
  for (int32_t i = 0; i < 5; ++i) {
    EXPECT_EQ(S_OK, MakeComTool(host, i, &tools[i]));
    InvokeResult init;
    Invoke(addin.Get(), kDispInitialize, DISPATCH_METHOD, {DispatchArg(tools[i].Get())}, &init);
    EXPECT_EQ(S_OK, init.hr) << "Initialize of tool " << i;
    // A host takes exactly 1, as from Run: -1 (VARIANT_TRUE) would make it refuse the tool.
    EXPECT_EQ(VT_BOOL, V_VT(&init.value)) << "Initialize of tool " << i;
    EXPECT_EQ(1, V_BOOL(&init.value)) << "Initialize of tool " << i << " answers 1, never -1";
  }
}

AddinSession::~AddinSession() {
  Close();
}

void AddinSession::Close() {
  if (closed_) return;
  closed_ = true;
  for (int32_t i = 0; i < 5 && addin; ++i) {
    InvokeResult done;
    Invoke(addin.Get(), kDispTerminate, DISPATCH_METHOD, {DispatchArg(tools[i].Get())}, &done);
    EXPECT_EQ(S_OK, done.hr) << "Terminate of tool " << i;
  }
  addin.Reset();
  for (auto& tool : tools) tool.Reset();
  EXPECT_EQ(0, host.LiveComObjects()) << "host objects the add-in did not release";
  EXPECT_EQ(0, host.LiveHandles());
  EXPECT_EQ(0, host.SubscriberCount()) << "the add-in left a subscription behind";
  EXPECT_TRUE(AddinModuleFree(inProcess_));
}

bool AddinModuleFree(bool inProcess) {
  return inProcess ? ModuleLockCount() == 0 : Server().canUnloadNow() == S_OK;
}

HRESULT AddinSession::Run(int32_t tool, VARIANT_BOOL* result) {
  InvokeResult call;
  Invoke(addin.Get(), kDispRun, DISPATCH_METHOD, {DispatchArg(tools[tool].Get())}, &call);
  TakeBool(call, result);
  return call.MethodCode();
}

HRESULT AddinSession::Poll(int32_t tool, VARIANT_BOOL* enabled, VARIANT_BOOL* checked, VARIANT_BOOL* result,
                           VARIANT_BOOL initial) {
  VARIANT_BOOL enabledValue = initial, checkedValue = initial;
  InvokeResult call;
  Invoke(addin.Get(), kDispUpdateToolStatus, DISPATCH_METHOD,
         {DispatchArg(tools[tool].Get()), BoolRef(&enabledValue), BoolRef(&checkedValue)}, &call);
  if (enabled) *enabled = enabledValue;
  if (checked) *checked = checkedValue;
  if (result) *result = V_VT(&call.value) == VT_BOOL ? V_BOOL(&call.value) : initial;
  return call.MethodCode();
}

void AddinSession::PollAll() {
  for (int32_t i = 0; i < 5; ++i) Poll(i);
}

HRESULT AddinSession::DoLMCommand(long index) {
  InvokeResult call;
  Invoke(addin.Get(), kDispDoLMCommand, DISPATCH_METHOD, {LongVariant(index)}, &call);
  return call.MethodCode();
}

std::u16string AddinSession::Info(int32_t graphicId) {
  const SimGraphicData* graphic = host.Model().Graphic(graphicId);
  return graphic ? graphic->info : u"<none>";
}

HRESULT AddinSession::MouseDown(VARIANT_BOOL* cancel) {
  ComPtr<IDispatch> drawingObject;
  MakeComDrawing(host, drawing, &drawingObject);
  InvokeResult call;
  Invoke(addin.Get(), kDispMouseDown, DISPATCH_METHOD,
         {DispatchArg(drawingObject.Get()), DispatchArg(nullptr), DispatchArg(nullptr), ShortArg(1), LongVariant(0),
          LongVariant(10), LongVariant(20), BoolRef(cancel)},
         &call);
  return call.MethodCode();
}
