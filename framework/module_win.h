// The module as COM sees it: its instance handle and the lock count behind DllCanUnloadNow.
#pragma once

#include <windows.h>

#include <string>

HINSTANCE ModuleInstance();

// Full path of the module file, as the system reports it; empty when it cannot be read.
std::wstring ModuleFilePath();

// Every live object and class factory, and every IClassFactory::LockServer(TRUE), holds a lock.
void LockModule();
void UnlockModule();
long ModuleLockCount();
// IClassFactory::LockServer: an unlock without a matching lock changes nothing.
void LockServerModule();
void UnlockServerModule();
