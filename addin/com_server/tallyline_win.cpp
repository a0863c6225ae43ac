// The COM face of the tool object: reference counting (aggregatable), the interface set, dispatch
// from the type library embedded in the module, and the identity and tool-table methods.
#include "addin/com_server/tallyline_win.h"

#include <new>

#include "addin/com_server/module_strings_win.h"
#include "addin/com_server/picture_win.h"
#include "addin/com_server/tool_info_win.h"
#include "framework/com_try.h"
#include "framework/failure_trace_win.h"
#include "framework/module_win.h"
#include "framework/type_info_win.h"
#include "options/stored_options.h"
#include "resources/addin_dispids.h"
#include "resources/resource_ids.h"

using Microsoft::WRL::ComPtr;

namespace {

// The method a dispatch id calls, as the failure trace names it.
const char* MethodName(DISPID id) {
  static const struct {
    DISPID id;
    const char* name;
  } kMethods[] = {
      {kDispClassId, "ClassID"},
      {kDispDescription, "Description"},
      {kDispGetToolInfo, "GetToolInfo"},
      {kDispCopyBitmap, "CopyBitmap"},
      {kDispGetPicture, "GetPicture"},
      {kDispRun, "Run"},
      {kDispUpdateToolStatus, "UpdateToolStatus"},
      {kDispInitialize, "Initialize"},
      {kDispTerminate, "Terminate"},
      {kDispGetLMPicture, "GetLMPicture"},
      {kDispDoLMCommand, "DoLMCommand"},
      {kDispBeforeExit, "BeforeExit"},
      {kDispDrawingNew, "DrawingNew"},
      {kDispDrawingOpen, "DrawingOpen"},
      {kDispDrawingActivate, "DrawingActivate"},
      {kDispDrawingDeactivate, "DrawingDeactivate"},
      {kDispDrawingBeforeClose, "DrawingBeforeClose"},
      {kDispDrawingBeforeSave, "DrawingBeforeSave"},
      {kDispMouseDown, "MouseDown"},
      {kDispSelectionChange, "SelectionChange"},
      {kDispRunTool, "RunTool"},
  };
  for (const auto& method : kMethods) {
    if (method.id == id) return method.name;
  }
  return "Invoke";
}

}  // namespace

HRESULT CTallyline::Create(IUnknown* outer, REFIID riid, void** ppv) {
  RETURN_HR_IF(E_POINTER, ppv == nullptr);
  *ppv = nullptr;
  // An aggregating outer object must ask for the inner unknown, which it then owns.
  RETURN_HR_IF(CLASS_E_NOAGGREGATION, outer != nullptr && !IsEqualIID(riid, IID_IUnknown));
  return ComTry([&] {
    // The administrator's switch is read once for each object a host makes.
    StartFailureTraceFromRegistry(std::string(kFamilyKeyPath) + "\\" + kOptionsKeyName);
    CTallyline* object = new (std::nothrow) CTallyline(outer);
    RETURN_HR_IF_NULL(E_OUTOFMEMORY, object);
    HRESULT hr = object->LoadTypeInfo();
    if (SUCCEEDED(hr)) hr = object->inner_.QueryInterface(riid, ppv);
    object->inner_.Release();  // the creation reference; *ppv holds the object when it worked
    return hr;
  });
}

CTallyline::CTallyline(IUnknown* outer) : inner_(this), controllingUnknown_(outer ? outer : &inner_) {
  LockModule();
}

CTallyline::~CTallyline() {
  UnlockModule();
}

HRESULT CTallyline::LoadTypeInfo() {
  const std::wstring path = ModuleFilePath();
  RETURN_HR_IF(E_FAIL, path.empty());
  RETURN_IF_FAILED(LoadTypeLibEx(path.c_str(), REGKIND_NONE, &typeLib_));
  return LoadVtableTypeInfo(typeLib_.Get(), IID_ITallyline, &typeInfo_);
}

// ---- IUnknown ----

STDMETHODIMP CTallyline::Inner::QueryInterface(REFIID riid, void** ppv) {
  RETURN_HR_IF(E_POINTER, ppv == nullptr);
  *ppv = nullptr;
  if (IsEqualIID(riid, IID_IUnknown)) {
    *ppv = static_cast<IUnknown*>(this);
  } else if (IsEqualIID(riid, IID_ITallyline) || IsEqualIID(riid, IID_IDispatch)) {
    *ppv = static_cast<ITallyline*>(owner_);
  } else if (IsEqualIID(riid, IID_IProvideClassInfo)) {
    *ppv = static_cast<IProvideClassInfo*>(owner_);
  } else if (IsEqualIID(riid, IID_ISupportErrorInfo)) {
    *ppv = static_cast<ISupportErrorInfo*>(owner_);
  } else {
    return E_NOINTERFACE;
  }
  static_cast<IUnknown*>(*ppv)->AddRef();
  return S_OK;
}

STDMETHODIMP_(ULONG) CTallyline::Inner::AddRef() {
  return ++owner_->refs_;
}

STDMETHODIMP_(ULONG) CTallyline::Inner::Release() {
  const ULONG refs = --owner_->refs_;
  if (refs == 0) delete owner_;
  return refs;
}

STDMETHODIMP CTallyline::QueryInterface(REFIID riid, void** ppv) {
  return controllingUnknown_->QueryInterface(riid, ppv);
}
STDMETHODIMP_(ULONG) CTallyline::AddRef() {
  return controllingUnknown_->AddRef();
}
STDMETHODIMP_(ULONG) CTallyline::Release() {
  return controllingUnknown_->Release();
}

// ---- IDispatch ----

STDMETHODIMP CTallyline::GetTypeInfoCount(UINT* count) {
  RETURN_HR_IF(E_POINTER, count == nullptr);
  *count = 1;
  return S_OK;
}

STDMETHODIMP CTallyline::GetTypeInfo(UINT index, LCID, ITypeInfo** typeInfo) {
  RETURN_HR_IF(E_POINTER, typeInfo == nullptr);
  *typeInfo = nullptr;
  RETURN_HR_IF(DISP_E_BADINDEX, index != 0);
  return typeLib_->GetTypeInfoOfGuid(IID_ITallyline, typeInfo);
}

STDMETHODIMP CTallyline::GetIDsOfNames(REFIID riid, LPOLESTR* names, UINT count, LCID, DISPID* ids) {
  RETURN_HR_IF(DISP_E_UNKNOWNINTERFACE, !IsEqualIID(riid, IID_NULL));
  RETURN_HR_IF(E_INVALIDARG, names == nullptr || ids == nullptr);
  return DispGetIDsOfNames(typeInfo_.Get(), names, count, ids);
}

STDMETHODIMP CTallyline::Invoke(DISPID id, REFIID riid, LCID, WORD flags, DISPPARAMS* params, VARIANT* result,
                                EXCEPINFO* excepInfo, UINT* argError) {
  const TracedEntry entry(MethodName(id));
  const HRESULT hr = Dispatch(id, riid, flags, params, result, excepInfo, argError);
  // A method's own failure reaches the host as DISP_E_EXCEPTION, its code in the exception.
  entry.TraceReturn(hr == DISP_E_EXCEPTION && excepInfo != nullptr ? excepInfo->scode : hr);
  return hr;
}

HRESULT CTallyline::Dispatch(DISPID id, REFIID riid, WORD flags, DISPPARAMS* params, VARIANT* result,
                             EXCEPINFO* excepInfo, UINT* argError) {
  RETURN_HR_IF(DISP_E_UNKNOWNINTERFACE, !IsEqualIID(riid, IID_NULL));
  RETURN_HR_IF(E_INVALIDARG, params == nullptr);
  // The system's dispatch would read the missing arrays.
  RETURN_HR_IF(DISP_E_BADPARAMCOUNT, params->cArgs > 0 && params->rgvarg == nullptr);
  RETURN_HR_IF(DISP_E_BADPARAMCOUNT, params->cNamedArgs > 0 && params->rgdispidNamedArgs == nullptr);
  return ComTry([&] {
    return DispInvoke(static_cast<ITallyline*>(this), typeInfo_.Get(), id, flags, params, result, excepInfo, argError);
  });
}

// ---- identity and tool table ----

STDMETHODIMP CTallyline::get_ClassID(BSTR* pVal) {
  RETURN_HR_IF(E_POINTER, pVal == nullptr);
  *pVal = nullptr;
  wchar_t text[40] = {};
  RETURN_HR_IF(E_FAIL, StringFromGUID2(CLSID_CTallyline, text, ARRAYSIZE(text)) == 0);
  *pVal = SysAllocString(text);
  return *pVal != nullptr ? S_OK : E_OUTOFMEMORY;
}

STDMETHODIMP CTallyline::get_Description(BSTR* pVal) {
  RETURN_HR_IF(E_POINTER, pVal == nullptr);
  *pVal = nullptr;
  BSTR text = nullptr;
  const HRESULT hr = LoadModuleString(IDS_DESCRIPTION, &text);
  RETURN_IF_FAILED(hr);
  if (hr == S_FALSE) {  // the entry is missing
    SysFreeString(text);
    return E_FAIL;
  }
  *pVal = text;
  return S_OK;
}

STDMETHODIMP CTallyline::GetToolInfo(VARIANT* CommandNames, VARIANT* MenuCaptions, VARIANT* StatusPrompts,
                                     VARIANT* ToolTips, VARIANT* Enabled, VARIANT* WantsUpdates, LONG* pVal) {
  return ComTry([&] {
    return FillToolInfo({CommandNames, MenuCaptions, StatusPrompts, ToolTips, Enabled, WantsUpdates}, pVal);
  });
}

STDMETHODIMP CTallyline::CopyBitmap(VARIANT_BOOL, VARIANT_BOOL, VARIANT_BOOL* pVal) {
  // The host asks for pictures through GetPicture; this older route is declined.
  RETURN_HR_IF(E_POINTER, pVal == nullptr);
  *pVal = 1;
  return E_NOTIMPL;
}

STDMETHODIMP CTallyline::GetPicture(VARIANT_BOOL LargeButtons, VARIANT_BOOL, IDispatch** pVal) {
  return CreatePictureFromResource(LargeButtons != 0 ? IDB_TOOLS_LARGE : IDB_TOOLS_SMALL, pVal);
}

STDMETHODIMP CTallyline::GetLMPicture(IDispatch** pVal) {
  return CreatePictureFromResource(IDB_LOCAL_MENU, pVal);
}

// ---- IProvideClassInfo, ISupportErrorInfo ----

STDMETHODIMP CTallyline::GetClassInfo(ITypeInfo** typeInfo) {
  RETURN_HR_IF(E_POINTER, typeInfo == nullptr);
  *typeInfo = nullptr;
  return typeLib_->GetTypeInfoOfGuid(CLSID_CTallyline, typeInfo);
}

STDMETHODIMP CTallyline::InterfaceSupportsErrorInfo(REFIID riid) {
  return IsEqualIID(riid, IID_ITallyline) ? S_OK : S_FALSE;
}
