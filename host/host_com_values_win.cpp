// Conversions between the host port's plain values and their automation forms.
#include "host/host_com_values_win.h"

#include <vector>

#include "framework/com_owners_win.h"
#include "framework/com_try.h"

namespace {

const wchar_t* Wide(const std::u16string& text) {
  return reinterpret_cast<const wchar_t*>(text.c_str());
}

HRESULT MakeTextArray(const std::vector<std::u16string>& texts, SAFEARRAY** array) {
  UniqueSafeArray made(SafeArrayCreateVector(VT_BSTR, 0, static_cast<ULONG>(texts.size())));
  RETURN_HR_IF_NULL(E_OUTOFMEMORY, made.get());
  SafeArrayDataAccess access;
  RETURN_IF_FAILED(access.Access(made.get()));
  BSTR* items = access.Data<BSTR>();
  for (size_t i = 0; i < texts.size(); ++i) {
    // The array owns what is stored, so a failure part way frees the earlier items with it.
    items[i] = SysAllocStringLen(Wide(texts[i]), static_cast<UINT>(texts[i].size()));
    RETURN_HR_IF_NULL(E_OUTOFMEMORY, items[i]);
  }
  *array = made.release();
  return S_OK;
}

HRESULT MakeFlagArray(const std::vector<bool>& flags, SAFEARRAY** array) {
  UniqueSafeArray made(SafeArrayCreateVector(VT_BOOL, 0, static_cast<ULONG>(flags.size())));
  RETURN_HR_IF_NULL(E_OUTOFMEMORY, made.get());
  SafeArrayDataAccess access;
  RETURN_IF_FAILED(access.Access(made.get()));
  VARIANT_BOOL* items = access.Data<VARIANT_BOOL>();
  // The host reads 1 as set; VARIANT_TRUE (-1) is not what it expects here.
  for (size_t i = 0; i < flags.size(); ++i) items[i] = flags[i] ? 1 : 0;
  *array = made.release();
  return S_OK;
}

// A 1-D array of the given element type with lower bound 0, and its element count.
HRESULT CheckVector(const VARIANT& variant, VARTYPE elementType, LONG* count) {
  RETURN_HR_IF(E_INVALIDARG, V_VT(&variant) != (VT_ARRAY | elementType));
  SAFEARRAY* array = V_ARRAY(&variant);
  RETURN_HR_IF(E_INVALIDARG, array == nullptr || SafeArrayGetDim(array) != 1);
  LONG lower = 0;
  LONG upper = 0;
  RETURN_IF_FAILED(SafeArrayGetLBound(array, 1, &lower));
  RETURN_IF_FAILED(SafeArrayGetUBound(array, 1, &upper));
  RETURN_HR_IF(E_INVALIDARG, lower != 0);
  *count = upper - lower + 1;
  return S_OK;
}

HRESULT ReadTextArray(const VARIANT& variant, std::vector<std::u16string>* texts) {
  LONG count = 0;
  RETURN_IF_FAILED(CheckVector(variant, VT_BSTR, &count));
  SafeArrayDataAccess access;
  RETURN_IF_FAILED(access.Access(V_ARRAY(&variant)));
  const BSTR* items = access.Data<BSTR>();
  texts->clear();
  for (LONG i = 0; i < count; ++i) texts->push_back(TextFromBstr(items[i]));
  return S_OK;
}

HRESULT ReadFlagArray(const VARIANT& variant, std::vector<bool>* flags) {
  LONG count = 0;
  RETURN_IF_FAILED(CheckVector(variant, VT_BOOL, &count));
  SafeArrayDataAccess access;
  RETURN_IF_FAILED(access.Access(V_ARRAY(&variant)));
  const VARIANT_BOOL* items = access.Data<VARIANT_BOOL>();
  flags->clear();
  for (LONG i = 0; i < count; ++i) {
    RETURN_HR_IF(E_INVALIDARG, items[i] != 0 && items[i] != 1);
    flags->push_back(items[i] == 1);
  }
  return S_OK;
}

}  // namespace

std::u16string TextFromBstr(BSTR text) {
  if (text == nullptr) return {};
  return std::u16string(reinterpret_cast<const char16_t*>(text), SysStringLen(text));
}

HRESULT BstrFromText(const std::u16string& text, BSTR* bstr) {
  RETURN_HR_IF_NULL(E_POINTER, bstr);
  *bstr = SysAllocStringLen(Wide(text), static_cast<UINT>(text.size()));
  return *bstr != nullptr ? S_OK : E_OUTOFMEMORY;
}

VARIANT LongVariant(int32_t value) {
  VARIANT variant;
  VariantInit(&variant);
  V_VT(&variant) = VT_I4;
  V_I4(&variant) = value;
  return variant;
}

VARIANT ULongVariant(uint32_t value) {
  VARIANT variant;
  VariantInit(&variant);
  V_VT(&variant) = VT_UI4;
  V_UI4(&variant) = value;
  return variant;
}

VARIANT OmittedVariant() {
  VARIANT variant;
  VariantInit(&variant);
  V_VT(&variant) = VT_ERROR;
  V_ERROR(&variant) = DISP_E_PARAMNOTFOUND;
  return variant;
}

bool IsOmitted(const VARIANT& variant) {
  return V_VT(&variant) == VT_ERROR && V_ERROR(&variant) == DISP_E_PARAMNOTFOUND;
}

HRESULT LongFromVariant(const VARIANT& variant, int32_t* value) {
  RETURN_HR_IF_NULL(E_POINTER, value);
  RETURN_HR_IF(DISP_E_TYPEMISMATCH, V_VT(&variant) != VT_I4);
  *value = V_I4(&variant);
  return S_OK;
}

HRESULT ULongFromVariant(const VARIANT& variant, uint32_t* value) {
  RETURN_HR_IF_NULL(E_POINTER, value);
  RETURN_HR_IF(DISP_E_TYPEMISMATCH, V_VT(&variant) != VT_UI4);
  *value = V_UI4(&variant);
  return S_OK;
}

HRESULT VariantFromValue(const HostValue& value, VARIANT* variant) {
  RETURN_HR_IF_NULL(E_POINTER, variant);
  VariantInit(variant);
  switch (value.kind) {
    case HostValue::Kind::Empty:
      return S_OK;
    case HostValue::Kind::Text:
      RETURN_IF_FAILED(BstrFromText(value.text, &V_BSTR(variant)));
      V_VT(variant) = VT_BSTR;
      return S_OK;
    case HostValue::Kind::Integer:
      *variant = LongVariant(value.integer);
      return S_OK;
    case HostValue::Kind::Real:
      V_VT(variant) = VT_R8;
      V_R8(variant) = value.real;
      return S_OK;
    case HostValue::Kind::Boolean:
      V_VT(variant) = VT_BOOL;
      V_BOOL(variant) = value.boolean ? 1 : 0;  // the host's true is 1, never -1
      return S_OK;
    case HostValue::Kind::Other:
      break;
  }
  return E_INVALIDARG;
}

HRESULT ValueFromVariant(const VARIANT& variant, HostValue* value) {
  RETURN_HR_IF_NULL(E_POINTER, value);
  RETURN_HR_IF(E_POINTER, (V_VT(&variant) & VT_BYREF) != 0 && V_BYREF(&variant) == nullptr);
  UniqueVariant direct;
  RETURN_IF_FAILED(VariantCopyInd(direct.get(), const_cast<VARIANT*>(&variant)));
  const VARIANT* v = direct.get();
  return ComTry([&] {
    HostValue read;
    switch (V_VT(v)) {
      case VT_EMPTY:
        break;
      case VT_BSTR:
        read = HostValue::FromText(TextFromBstr(V_BSTR(v)));
        break;
      case VT_I2:
        read.kind = HostValue::Kind::Integer;
        read.integer = V_I2(v);
        break;
      case VT_I4:
        read.kind = HostValue::Kind::Integer;
        read.integer = V_I4(v);
        break;
      case VT_R4:
        read.kind = HostValue::Kind::Real;
        read.real = V_R4(v);
        break;
      case VT_R8:
        read.kind = HostValue::Kind::Real;
        read.real = V_R8(v);
        break;
      case VT_BOOL:
        read.kind = HostValue::Kind::Boolean;
        read.boolean = V_BOOL(v) != VARIANT_FALSE;
        break;
      default:
        read.kind = HostValue::Kind::Other;
        break;
    }
    *value = std::move(read);
    return S_OK;
  });
}

HRESULT VariantFromKey(const HostPropertyKey& key, VARIANT* variant) {
  RETURN_HR_IF_NULL(E_POINTER, variant);
  if (key.name.empty()) {
    *variant = LongVariant(key.index);
    return S_OK;
  }
  VariantInit(variant);
  RETURN_IF_FAILED(BstrFromText(key.name, &V_BSTR(variant)));
  V_VT(variant) = VT_BSTR;
  return S_OK;
}

HRESULT KeyFromVariant(const VARIANT& variant, HostPropertyKey* key) {
  RETURN_HR_IF_NULL(E_POINTER, key);
  return ComTry([&] {
    HostPropertyKey read;
    if (V_VT(&variant) == VT_BSTR) {
      read.name = TextFromBstr(V_BSTR(&variant));
      RETURN_HR_IF(E_INVALIDARG, read.name.empty());
    } else {
      RETURN_IF_FAILED(LongFromVariant(variant, &read.index));
    }
    *key = std::move(read);
    return S_OK;
  });
}

HRESULT VariantsFromMenu(const HostLocalMenu& menu, VARIANT (&arrays)[kMenuArrayCount]) {
  SAFEARRAY* made[kMenuArrayCount] = {};
  HRESULT hr = MakeTextArray(menu.captions, &made[0]);
  if (SUCCEEDED(hr)) hr = MakeTextArray(menu.prompts, &made[1]);
  if (SUCCEEDED(hr)) hr = MakeFlagArray(menu.flags1, &made[2]);
  if (SUCCEEDED(hr)) hr = MakeFlagArray(menu.flags2, &made[3]);
  if (FAILED(hr)) {
    for (SAFEARRAY* array : made) SafeArrayDestroy(array);
    return hr;
  }
  const VARTYPE types[kMenuArrayCount] = {VT_BSTR, VT_BSTR, VT_BOOL, VT_BOOL};
  for (int i = 0; i < kMenuArrayCount; ++i) {
    VariantInit(&arrays[i]);
    V_VT(&arrays[i]) = VT_ARRAY | types[i];
    V_ARRAY(&arrays[i]) = made[i];
  }
  return S_OK;
}

HRESULT MenuFromVariants(const VARIANT (&arrays)[kMenuArrayCount], bool* hasMenu, HostLocalMenu* menu) {
  RETURN_HR_IF(E_POINTER, hasMenu == nullptr || menu == nullptr);
  int omitted = 0;
  for (const VARIANT& array : arrays) omitted += IsOmitted(array) ? 1 : 0;
  if (omitted == kMenuArrayCount) {
    *hasMenu = false;
    return S_OK;
  }
  RETURN_HR_IF(E_INVALIDARG, omitted != 0);
  return ComTry([&] {
    HostLocalMenu read;
    RETURN_IF_FAILED(ReadTextArray(arrays[0], &read.captions));
    RETURN_IF_FAILED(ReadTextArray(arrays[1], &read.prompts));
    RETURN_IF_FAILED(ReadFlagArray(arrays[2], &read.flags1));
    RETURN_IF_FAILED(ReadFlagArray(arrays[3], &read.flags2));
    *menu = std::move(read);
    *hasMenu = true;
    return S_OK;
  });
}
