// Type information for IDispatch served from a type library.
#pragma once

#include <windows.h>

#include <oaidl.h>

// The type information of interface `iid` as DispInvoke needs it: a dual interface is described
// twice, and calls go through its vtable half.
HRESULT LoadVtableTypeInfo(ITypeLib* library, REFIID iid, ITypeInfo** typeInfo);
