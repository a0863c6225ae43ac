// Helpers for the Wine suite: where the DLL is, running system tools, and calling the add-in
// through IDispatch::Invoke with hand-built arguments, as a host does.
#pragma once

#include <oaidl.h>
#include <windows.h>
#include <wrl/client.h>

#include <string>
#include <vector>

using Microsoft::WRL::ComPtr;

std::wstring ExeFolder();  // with a trailing backslash
std::wstring DllPath();

// Runs a command line and gives its exit code, or -1 when it cannot be started.
long RunProcess(const std::wstring& commandLine);
long Regsvr32(bool unregister);

// Creates the add-in by ProgID, as a host does.
HRESULT CreateAddin(const wchar_t* progId, IDispatch** addin);

// One Invoke call; arguments are given in their declared order (reversed for DISPPARAMS).
struct InvokeResult {
  HRESULT hr = E_FAIL;
  VARIANT value;
  EXCEPINFO exception;
  UINT argError = 0;
  InvokeResult();
  ~InvokeResult();
  InvokeResult(const InvokeResult&) = delete;
  InvokeResult& operator=(const InvokeResult&) = delete;
  // The method's own code: the exception's scode when Invoke reports DISP_E_EXCEPTION.
  HRESULT MethodCode() const;
};
void Invoke(IDispatch* target, DISPID id, WORD flags, std::vector<VARIANT> args, InvokeResult* result);

// Arguments as a host builds them; objects are borrowed (DISPPARAMS arguments stay the caller's).
VARIANT BoolArg(bool value);
VARIANT ShortArg(short value);
VARIANT DispatchArg(IDispatch* object);
VARIANT RefArg(VARIANT* target);        // VT_VARIANT | VT_BYREF
VARIANT BoolRef(VARIANT_BOOL* target);  // VT_BOOL | VT_BYREF

// The module as loaded into this process, and its four exports.
struct ServerExports {
  HMODULE module = nullptr;
  HRESULT(__stdcall* getClassObject)(REFCLSID, REFIID, void**) = nullptr;
  HRESULT(__stdcall* canUnloadNow)() = nullptr;
  HRESULT(__stdcall* registerServer)() = nullptr;
  HRESULT(__stdcall* unregisterServer)() = nullptr;
};
const ServerExports& Server();

std::wstring ToWide(const char* text);
