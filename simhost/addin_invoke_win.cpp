#include "simhost/addin_invoke_win.h"

InvokeResult::InvokeResult() {
  VariantInit(&value);
  exception = {};
}

InvokeResult::~InvokeResult() {
  VariantClear(&value);
  SysFreeString(exception.bstrSource);
  SysFreeString(exception.bstrDescription);
  SysFreeString(exception.bstrHelpFile);
}

HRESULT InvokeResult::MethodCode() const {
  return hr == DISP_E_EXCEPTION ? exception.scode : hr;
}

HRESULT Invoke(IDispatch* target, DISPID id, WORD flags, const std::vector<VARIANT>& args, InvokeResult* result) {
  std::vector<VARIANT> reversed(args.rbegin(), args.rend());
  DISPPARAMS params = {reversed.empty() ? nullptr : reversed.data(), nullptr, static_cast<UINT>(reversed.size()), 0};
  result->hr = target->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, flags, &params, &result->value, &result->exception,
                              &result->argError);
  return result->MethodCode();
}

namespace {
VARIANT Typed(VARTYPE type) {
  VARIANT v;
  VariantInit(&v);
  V_VT(&v) = type;
  return v;
}
}  // namespace

VARIANT BoolArg(bool value) {
  VARIANT v = Typed(VT_BOOL);
  V_BOOL(&v) = value ? VARIANT_TRUE : VARIANT_FALSE;
  return v;
}

VARIANT ShortArg(short value) {
  VARIANT v = Typed(VT_I2);
  V_I2(&v) = value;
  return v;
}

VARIANT DispatchArg(IDispatch* object) {
  VARIANT v = Typed(VT_DISPATCH);
  V_DISPATCH(&v) = object;
  return v;
}

VARIANT BoolRef(VARIANT_BOOL* target) {
  VARIANT v = Typed(VT_BOOL | VT_BYREF);
  V_BOOLREF(&v) = target;
  return v;
}

VARIANT RefArg(VARIANT* target) {
  VARIANT v = Typed(VT_VARIANT | VT_BYREF);
  V_VARIANTREF(&v) = target;
  return v;
}
