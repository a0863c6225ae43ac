// The string table is read in place (LoadStringW with a zero buffer length gives a pointer into
// the resource), so a text of any length is copied whole.
#include "addin/com_server/module_strings_win.h"

#include "framework/module_win.h"
#include "framework/status.h"

HRESULT LoadModuleString(UINT id, BSTR* text) {
  RETURN_HR_IF(E_POINTER, text == nullptr);
  const wchar_t* resource = nullptr;
  const int length = LoadStringW(ModuleInstance(), id, reinterpret_cast<LPWSTR>(&resource), 0);
  const bool found = length > 0 && resource != nullptr;
  *text = found ? SysAllocStringLen(resource, static_cast<UINT>(length)) : SysAllocString(L"");
  RETURN_HR_IF(E_OUTOFMEMORY, *text == nullptr);
  return found ? S_OK : S_FALSE;
}
