// Self-registration of the server: the class, its ProgIDs, its AppID and its type library.
#pragma once

#include <windows.h>

HRESULT RegisterServer();
HRESULT UnregisterServer();
