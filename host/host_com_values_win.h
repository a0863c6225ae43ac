// The automation forms of the host's values, converted once for both sides of the host contract:
// the add-in's adapters build them, the simulated host reads them back. A null BSTR is the empty
// text; an index is a VT_I4 VARIANT (VT_UI4 for the tool list); an omitted optional argument is
// VT_ERROR with DISP_E_PARAMNOTFOUND; the local menu travels as four 1-D arrays with lower bound
// 0, its flags as VT_BOOL elements that are 1 or 0.
#pragma once

#include <windows.h>

#include <oleauto.h>

#include <string>

#include "host/host_port.h"

std::u16string TextFromBstr(BSTR text);
HRESULT BstrFromText(const std::u16string& text, BSTR* bstr);

VARIANT LongVariant(int32_t value);
VARIANT ULongVariant(uint32_t value);
VARIANT OmittedVariant();
bool IsOmitted(const VARIANT& variant);

// Strict readers: any other type is DISP_E_TYPEMISMATCH.
HRESULT LongFromVariant(const VARIANT& variant, int32_t* value);
HRESULT ULongFromVariant(const VARIANT& variant, uint32_t* value);

// The value is stored into an empty VARIANT the caller clears. Kind::Other has no automation form.
HRESULT VariantFromValue(const HostValue& value, VARIANT* variant);
// By-reference values are read through; types without a HostValue kind give Kind::Other.
HRESULT ValueFromVariant(const VARIANT& variant, HostValue* value);

// A name travels as VT_BSTR, an index as VT_I4.
HRESULT VariantFromKey(const HostPropertyKey& key, VARIANT* variant);
HRESULT KeyFromVariant(const VARIANT& variant, HostPropertyKey* key);

// captions, prompts, flags1, flags2 in the order of SetLocalMenu's arguments.
constexpr int kMenuArrayCount = 4;
HRESULT VariantsFromMenu(const HostLocalMenu& menu, VARIANT (&arrays)[kMenuArrayCount]);
// All four omitted: *hasMenu is false. Some omitted, a wrong type or bound, or a flag other than
// 1 or 0: E_INVALIDARG.
HRESULT MenuFromVariants(const VARIANT (&arrays)[kMenuArrayCount], bool* hasMenu, HostLocalMenu* menu);
