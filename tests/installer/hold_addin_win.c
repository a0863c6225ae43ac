// A stand-in for a drafting program that has Tallyline loaded: it creates the add-in by its
// ProgID, as the host does, prints "holding", and keeps it until the file named on its command
// line is gone.
//
//   hold_addin.exe <flag file>
#include <objbase.h>
#include <stdio.h>
#include <windows.h>

int wmain(int argc, wchar_t** argv) {
  if (argc != 2) return 2;
  CLSID clsid;
  IUnknown* addin = NULL;
  if (FAILED(CoInitialize(NULL)) || FAILED(CLSIDFromProgID(L"Varnkit_TL.Tallyline", &clsid)) ||
      FAILED(CoCreateInstance(&clsid, NULL, CLSCTX_INPROC_SERVER, &IID_IUnknown, (void**)&addin))) {
    puts("the add-in could not be created");
    return 1;
  }
  puts("holding");
  fflush(stdout);
  while (GetFileAttributesW(argv[1]) != INVALID_FILE_ATTRIBUTES) Sleep(50);
  addin->lpVtbl->Release(addin);
  CoUninitialize();
  return 0;
}
