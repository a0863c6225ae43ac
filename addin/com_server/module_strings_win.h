// Texts of the module's string table as automation strings for the host.
#pragma once

#include <windows.h>

#include <oleauto.h>

// Gives string `id` as a new BSTR, or S_FALSE with an empty BSTR when the table lacks it.
// E_OUTOFMEMORY (and a null BSTR) when the copy cannot be made.
HRESULT LoadModuleString(UINT id, BSTR* text);
