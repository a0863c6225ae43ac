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

std::wstring ToUtf16(const char* text) {
  return std::wstring(text, text + strlen(text));
}
