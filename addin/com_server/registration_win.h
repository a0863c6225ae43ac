// Self-registration of the server: the class, its ProgIDs, its AppID and its type library.
#pragma once

#include <windows.h>

HRESULT RegisterServer();
HRESULT UnregisterServer();
// DllInstall: with the command line "user" (regsvr32 /n /i:user), the same entries for the
// current user alone under HKEY_CURRENT_USER\Software\Classes, or their removal; any other
// command line is E_INVALIDARG.
HRESULT InstallServer(bool install, const wchar_t* commandLine);
