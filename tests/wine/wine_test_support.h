// Helpers for the Wine suite: where the DLL is, running system tools, and calling the add-in
// through IDispatch::Invoke with hand-built arguments, as a host does.
#pragma once

#include <oaidl.h>
#include <windows.h>
#include <wrl/client.h>

#include <string>
#include <vector>

#include "simhost/addin_invoke_win.h"

using Microsoft::WRL::ComPtr;

std::wstring ExeFolder();  // with a trailing backslash
std::wstring DllPath();

// Runs a command line and gives its exit code, or -1 when it cannot be started.
long RunProcess(const std::wstring& commandLine);
long Regsvr32(bool unregister);

// Creates the add-in by ProgID, as a host does.
HRESULT CreateAddin(const wchar_t* progId, IDispatch** addin);

// The module as loaded into this process, and its four exports.
struct ServerExports {
  HMODULE module = nullptr;
  HRESULT(__stdcall* getClassObject)(REFCLSID, REFIID, void**) = nullptr;
  HRESULT(__stdcall* canUnloadNow)() = nullptr;
  HRESULT(__stdcall* registerServer)() = nullptr;
  HRESULT(__stdcall* unregisterServer)() = nullptr;
};
const ServerExports& Server();

std::wstring ToUtf16(const char* text);
