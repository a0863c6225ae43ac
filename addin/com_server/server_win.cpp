// The exports of the in-process server and its entry point: the four of every server, and
// DllInstall for a registration of the current user alone.
#include <windows.h>

#include "addin/com_server/class_factory_win.h"
#include "addin/com_server/registration_win.h"
#include "framework/module_win.h"
#include "framework/status.h"
#include "tallyline.h"

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
  // The module keeps no synchronisation object of its own, so loading never fails here.
  if (reason == DLL_PROCESS_ATTACH) DisableThreadLibraryCalls(instance);
  return TRUE;
}

extern "C" HRESULT __stdcall DllGetClassObject(REFCLSID rclsid, REFIID riid, void** ppv) {
  RETURN_HR_IF(E_POINTER, ppv == nullptr);
  *ppv = nullptr;
  RETURN_HR_IF(CLASS_E_CLASSNOTAVAILABLE, !IsEqualCLSID(rclsid, CLSID_CTallyline));
  return CreateTallylineFactory(riid, ppv);
}

extern "C" HRESULT __stdcall DllCanUnloadNow() {
  return ModuleLockCount() == 0 ? S_OK : S_FALSE;
}

extern "C" HRESULT __stdcall DllRegisterServer() {
  return RegisterServer();
}

extern "C" HRESULT __stdcall DllUnregisterServer() {
  return UnregisterServer();
}

extern "C" HRESULT __stdcall DllInstall(BOOL install, PCWSTR commandLine) {
  return InstallServer(install != FALSE, commandLine);
}
