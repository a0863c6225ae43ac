// Calling the add-in as a host does: IDispatch::Invoke by dispatch id with hand-built arguments,
// and the method's own status code unwrapped from DISP_E_EXCEPTION. The simulated host's event
// delivery, the reference sessions and the Wine tests all call the add-in through this.
#pragma once

#include <oaidl.h>
#include <windows.h>

#include <vector>

#include "resources/addin_dispids.h"

// One Invoke call's outcome; owns the result value and the exception's texts.
struct InvokeResult {
  HRESULT hr = E_FAIL;
  VARIANT value;
  EXCEPINFO exception;
  UINT argError = 0;
  InvokeResult();
  ~InvokeResult();
  InvokeResult(const InvokeResult&) = delete;
  InvokeResult& operator=(const InvokeResult&) = delete;
  // The method's own code: the exception's scode when Invoke reports DISP_E_EXCEPTION.
  HRESULT MethodCode() const;
};

// One Invoke call; arguments are given in their declared order (reversed for DISPPARAMS) and
// stay the caller's. Gives the method's own code.
HRESULT Invoke(IDispatch* target, DISPID id, WORD flags, const std::vector<VARIANT>& args, InvokeResult* result);

// Arguments as a host builds them (a long is LongVariant of the value conversions); objects
// and targets are borrowed.
VARIANT BoolArg(bool value);
VARIANT ShortArg(short value);
VARIANT DispatchArg(IDispatch* object);
VARIANT RefArg(VARIANT* target);        // VT_VARIANT | VT_BYREF
VARIANT BoolRef(VARIANT_BOOL* target);  // VT_BOOL | VT_BYREF
