// Module bookkeeping shared by the class factory, the objects and the server exports.
#include "framework/module_win.h"

extern "C" IMAGE_DOS_HEADER __ImageBase;

namespace {
// Objects live in the host's single-threaded apartment, but COM may ask DllCanUnloadNow from
// another thread, so the count is kept with interlocked operations.
volatile LONG moduleLocks = 0;
// The locks that clients took with IClassFactory::LockServer, part of moduleLocks.
volatile LONG serverLocks = 0;
}  // namespace

HINSTANCE ModuleInstance() {
  return reinterpret_cast<HINSTANCE>(&__ImageBase);
}

std::wstring ModuleFilePath() {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length = GetModuleFileNameW(ModuleInstance(), &path[0], static_cast<DWORD>(path.size()));
    if (length == 0) return std::wstring();
    if (length < path.size()) {
      path.resize(length);
      return path;
    }
    if (path.size() >= 32768) return std::wstring();
    path.resize(path.size() * 2);
  }
}

void LockModule() {
  InterlockedIncrement(&moduleLocks);
}
void UnlockModule() {
  InterlockedDecrement(&moduleLocks);
}
long ModuleLockCount() {
  return InterlockedCompareExchange(&moduleLocks, 0, 0);
}

void LockServerModule() {
  InterlockedIncrement(&serverLocks);
  LockModule();
}

void UnlockServerModule() {
  // An unlock without a lock is ignored: the count never goes below the locks taken, or the
  // module could never be unloaded again.
  for (LONG locks = serverLocks; locks > 0; locks = serverLocks) {
    if (InterlockedCompareExchange(&serverLocks, locks - 1, locks) == locks) {
      UnlockModule();
      return;
    }
  }
}
