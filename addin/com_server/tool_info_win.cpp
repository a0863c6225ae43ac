// The host creates the arrays and the add-in sizes and fills them. A real host passes well-formed
// arrays, but nothing here trusts that: a VARIANT without an array of the element type this
// method writes, or an array of another shape, is refused before anything is changed, so no
// write can land outside an array.
#include "addin/com_server/tool_info_win.h"

#include <initializer_list>

#include "addin/com_server/module_strings_win.h"
#include "addin/tool/tool_table.h"
#include "framework/status.h"

namespace {

// The slot of the array a VARIANT holds, by value or by reference; null when it holds no array
// of the element type.
SAFEARRAY** HeldArraySlot(VARIANT* value, VARTYPE elementType) {
  const VARTYPE vt = V_VT(value);
  if ((vt & VT_ARRAY) == 0 || (vt & VT_TYPEMASK) != elementType) return nullptr;
  if ((vt & VT_BYREF) != 0) return V_ARRAYREF(value);
  return &V_ARRAY(value);
}

size_t ElementSize(VARTYPE elementType) {
  return elementType == VT_BSTR ? sizeof(BSTR) : sizeof(VARIANT_BOOL);
}

// A one-dimensional array of exactly the element type, which can be resized and written.
HRESULT CheckResizableArray(VARIANT* value, VARTYPE elementType, SAFEARRAY*** slot) {
  RETURN_HR_IF(E_POINTER, value == nullptr);
  SAFEARRAY** held = HeldArraySlot(value, elementType);
  RETURN_HR_IF(E_INVALIDARG, held == nullptr || *held == nullptr);
  RETURN_HR_IF(E_INVALIDARG, SafeArrayGetDim(*held) != 1);
  VARTYPE storedType = VT_EMPTY;
  RETURN_HR_IF(E_INVALIDARG, FAILED(SafeArrayGetVartype(*held, &storedType)) || storedType != elementType);
  RETURN_HR_IF(E_INVALIDARG, SafeArrayGetElemsize(*held) != ElementSize(elementType));
  *slot = held;
  return S_OK;
}

// The caption array is destroyed and replaced, so any shape of BSTR array will do.
HRESULT CheckReplaceableArray(VARIANT* value, SAFEARRAY*** slot) {
  RETURN_HR_IF(E_POINTER, value == nullptr);
  SAFEARRAY** held = HeldArraySlot(value, VT_BSTR);
  RETURN_HR_IF(E_INVALIDARG, held == nullptr);
  *slot = held;
  return S_OK;
}

// Data access to one array for the length of the fill.
class ArrayData {
 public:
  explicit ArrayData(SAFEARRAY* array) : array_(array) {
    if (FAILED(SafeArrayAccessData(array_, &data_))) data_ = nullptr;
  }
  ~ArrayData() {
    if (data_ != nullptr) SafeArrayUnaccessData(array_);
  }
  ArrayData(const ArrayData&) = delete;
  ArrayData& operator=(const ArrayData&) = delete;

  bool ok() const { return data_ != nullptr; }
  BSTR* texts() const { return static_cast<BSTR*>(data_); }
  VARIANT_BOOL* flags() const { return static_cast<VARIANT_BOOL*>(data_); }

 private:
  SAFEARRAY* array_;
  void* data_ = nullptr;
};

HRESULT PutText(BSTR* element, int32_t toolIndex, ToolText text) {
  BSTR value = nullptr;
  const HRESULT hr = LoadModuleString(static_cast<UINT>(ToolStringId(toolIndex, text)), &value);
  RETURN_IF_FAILED(hr);
  SysFreeString(*element);
  *element = value;
  return S_OK;
}

}  // namespace

HRESULT FillToolInfo(const ToolInfoArrays& arrays, LONG* count, ArrayCreator createArray) {
  RETURN_HR_IF(E_POINTER, count == nullptr);
  SAFEARRAY** commandNames = nullptr;
  SAFEARRAY** statusPrompts = nullptr;
  SAFEARRAY** toolTips = nullptr;
  SAFEARRAY** enabled = nullptr;
  SAFEARRAY** wantsUpdates = nullptr;
  SAFEARRAY** menuCaptions = nullptr;
  RETURN_IF_FAILED(CheckResizableArray(arrays.commandNames, VT_BSTR, &commandNames));
  RETURN_IF_FAILED(CheckReplaceableArray(arrays.menuCaptions, &menuCaptions));
  RETURN_IF_FAILED(CheckResizableArray(arrays.statusPrompts, VT_BSTR, &statusPrompts));
  RETURN_IF_FAILED(CheckResizableArray(arrays.toolTips, VT_BSTR, &toolTips));
  RETURN_IF_FAILED(CheckResizableArray(arrays.enabled, VT_BOOL, &enabled));
  RETURN_IF_FAILED(CheckResizableArray(arrays.wantsUpdates, VT_BOOL, &wantsUpdates));
  // The caption array is destroyed below; it must not be one that is also filled.
  for (SAFEARRAY** slot : {commandNames, statusPrompts, toolTips, enabled, wantsUpdates}) {
    RETURN_HR_IF(E_INVALIDARG, *menuCaptions != nullptr && *slot == *menuCaptions);
  }

  *count = kToolCount;

  SAFEARRAYBOUND toolBound = {kToolCount, 0};
  for (SAFEARRAY** slot : {commandNames, statusPrompts, toolTips, enabled, wantsUpdates}) {
    RETURN_HR_IF(E_FAIL, FAILED(SafeArrayRedim(*slot, &toolBound)));
  }

  // The old caption array is gone the moment it is destroyed: clear the slot at once, so that a
  // failed creation never leaves the host holding freed memory.
  if (*menuCaptions != nullptr) {
    RETURN_HR_IF(E_FAIL, FAILED(SafeArrayDestroy(*menuCaptions)));
    *menuCaptions = nullptr;
  }
  SAFEARRAYBOUND captionBounds[2] = {{kToolCount, 0}, {2, 0}};  // (tool, column)
  *menuCaptions = createArray(VT_BSTR, 2, captionBounds);
  RETURN_HR_IF_NULL(E_OUTOFMEMORY, *menuCaptions);

  ArrayData names(*commandNames), captions(*menuCaptions), prompts(*statusPrompts), tips(*toolTips),
      enabledFlags(*enabled), updateFlags(*wantsUpdates);
  if (!names.ok() || !captions.ok() || !prompts.ok() || !tips.ok() || !enabledFlags.ok() || !updateFlags.ok()) {
    return S_OK;  // nothing filled; the count stands
  }
  for (int32_t i = 0; i < kToolCount; ++i) {
    RETURN_IF_FAILED(PutText(&names.texts()[i], i, ToolText::CommandName));
    RETURN_IF_FAILED(PutText(&prompts.texts()[i], i, ToolText::StatusPrompt));
    RETURN_IF_FAILED(PutText(&tips.texts()[i], i, ToolText::ToolTip));
    // Element (i, j) of the caption array lies at linear position i + 5 j.
    RETURN_IF_FAILED(PutText(&captions.texts()[i], i, ToolText::MenuCaption));
    RETURN_IF_FAILED(PutText(&captions.texts()[i + kToolCount], i, ToolText::Group));
    enabledFlags.flags()[i] = 1;  // automation booleans to the host are 1, never -1
    updateFlags.flags()[i] = 1;
  }
  return S_OK;
}
