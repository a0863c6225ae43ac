// Shared plumbing of the Wine suite.
#include "wine_test_support.h"

#include <gtest/gtest.h>

std::wstring ExeFolder() {
  wchar_t path[MAX_PATH] = {};
  const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring folder(path, length);
  return folder.substr(0, folder.find_last_of(L'\\') + 1);
}

std::wstring DllPath() {
  return ExeFolder() + L"Varnkit_TL.dll";
}

long RunProcess(const std::wstring& commandLine) {
  STARTUPINFOW startup = {};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION process = {};
  std::wstring line = commandLine;
  if (!CreateProcessW(nullptr, &line[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process)) return -1;
  WaitForSingleObject(process.hProcess, INFINITE);
  DWORD code = 0;
  GetExitCodeProcess(process.hProcess, &code);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return static_cast<long>(code);
}

long Regsvr32(bool unregister) {
  return RunProcess(std::wstring(L"regsvr32.exe /s ") + (unregister ? L"/u " : L"") + L"\"" + DllPath() + L"\"");
}

HRESULT CreateAddin(const wchar_t* progId, IDispatch** addin) {
  CLSID clsid = {};
  const HRESULT hr = CLSIDFromProgID(progId, &clsid);
  if (FAILED(hr)) return hr;
  return CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IDispatch, reinterpret_cast<void**>(addin));
}

InvokeResult::InvokeResult() {
  VariantInit(&value);
  exception = {};
}

InvokeResult::~InvokeResult() {
  VariantClear(&value);
  SysFreeString(exception.bstrSource);
  SysFreeString(exception.bstrDescription);
  SysFreeString(exception.bstrHelpFile);
}

HRESULT InvokeResult::MethodCode() const {
  return hr == DISP_E_EXCEPTION ? exception.scode : hr;
}

void Invoke(IDispatch* target, DISPID id, WORD flags, std::vector<VARIANT> args, InvokeResult* result) {
  std::vector<VARIANT> reversed(args.rbegin(), args.rend());
  DISPPARAMS params = {reversed.empty() ? nullptr : reversed.data(), nullptr, static_cast<UINT>(reversed.size()), 0};
  result->hr = target->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, flags, &params, &result->value, &result->exception,
                              &result->argError);
}

VARIANT BoolArg(bool value) {
  VARIANT v;
  VariantInit(&v);
  V_VT(&v) = VT_BOOL;
  V_BOOL(&v) = value ? VARIANT_TRUE : VARIANT_FALSE;
  return v;
}

VARIANT ShortArg(short value) {
  VARIANT v;
  VariantInit(&v);
  V_VT(&v) = VT_I2;
  V_I2(&v) = value;
  return v;
}

VARIANT DispatchArg(IDispatch* object) {
  VARIANT v;
  VariantInit(&v);
  V_VT(&v) = VT_DISPATCH;
  V_DISPATCH(&v) = object;
  return v;
}

VARIANT BoolRef(VARIANT_BOOL* target) {
  VARIANT v;
  VariantInit(&v);
  V_VT(&v) = VT_BOOL | VT_BYREF;
  V_BOOLREF(&v) = target;
  return v;
}

VARIANT RefArg(VARIANT* target) {
  VARIANT v;
  VariantInit(&v);
  V_VT(&v) = VT_VARIANT | VT_BYREF;
  V_VARIANTREF(&v) = target;
  return v;
}

namespace {
template <class Function>
Function Export(HMODULE module, const char* name) {
  // Through void*, as the exports are of another type than FARPROC.
  return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}
}  // namespace

const ServerExports& Server() {
  static ServerExports exports = [] {
    ServerExports e;
    e.module = LoadLibraryW(DllPath().c_str());
    if (e.module != nullptr) {
      e.getClassObject = Export<decltype(e.getClassObject)>(e.module, "DllGetClassObject");
      e.canUnloadNow = Export<decltype(e.canUnloadNow)>(e.module, "DllCanUnloadNow");
      e.registerServer = Export<decltype(e.registerServer)>(e.module, "DllRegisterServer");
      e.unregisterServer = Export<decltype(e.unregisterServer)>(e.module, "DllUnregisterServer");
    }
    return e;
  }();
  return exports;
}

std::wstring ToWide(const char* text) {
  return std::wstring(text, text + strlen(text));
}
