// The host's side of each add-in method it calls. The host makes the six tool-info arrays (one
// element each, as a host does before it knows the count); the add-in sizes them.
#include "tlhost/addin_client_win.h"

#include <olectl.h>

#include "framework/com_owners_win.h"
#include "host/host_com_values_win.h"
#include "simhost/addin_invoke_win.h"
#include "simhost/sim_com_win.h"
#include "tlhost/utf8_text.h"

using Microsoft::WRL::ComPtr;

namespace {

// A VARIANT that clears itself.
struct OwnedVariant {
  VARIANT value;
  OwnedVariant() { VariantInit(&value); }
  ~OwnedVariant() { VariantClear(&value); }
  OwnedVariant(const OwnedVariant&) = delete;
  OwnedVariant& operator=(const OwnedVariant&) = delete;
};

HRESULT MakeVector(VARTYPE type, OwnedVariant* out) {
  SAFEARRAY* array = SafeArrayCreateVector(type, 0, 1);
  RETURN_HR_IF_NULL(E_OUTOFMEMORY, array);
  V_VT(&out->value) = VT_ARRAY | type;
  V_ARRAY(&out->value) = array;
  return S_OK;
}

std::wstring TextAt(const VARIANT& array, std::vector<LONG> indices) {
  if ((V_VT(&array) & VT_ARRAY) == 0 || V_ARRAY(&array) == nullptr) return std::wstring();
  BSTR text = nullptr;
  if (FAILED(SafeArrayGetElement(V_ARRAY(&array), indices.data(), &text))) return std::wstring();
  std::wstring out = text == nullptr ? std::wstring() : std::wstring(text, SysStringLen(text));
  SysFreeString(text);
  return out;
}

bool FlagAt(const VARIANT& array, LONG index) {
  if ((V_VT(&array) & VT_ARRAY) == 0 || V_ARRAY(&array) == nullptr) return false;
  VARIANT_BOOL flag = 0;
  return SUCCEEDED(SafeArrayGetElement(V_ARRAY(&array), &index, &flag)) && flag != 0;
}

std::wstring TextOf(const VARIANT& value) {
  if (V_VT(&value) != VT_BSTR || V_BSTR(&value) == nullptr) return std::wstring();
  return std::wstring(V_BSTR(&value), SysStringLen(V_BSTR(&value)));
}

// What an answer holds, for the host's complaint: "-1 (VT_BOOL)", "nothing (VT_EMPTY)".
std::string AnswerText(const VARIANT& value) {
  if (V_VT(&value) == VT_BOOL) return std::to_string(V_BOOL(&value)) + " (VT_BOOL)";
  if (V_VT(&value) == VT_EMPTY) return "nothing (VT_EMPTY)";
  return "a value of type " + std::to_string(V_VT(&value));
}

}  // namespace

// A strict host takes exactly 1 (VARIANT_BOOL) as the answer of Initialize and of Run; -1 or any
// other value it refuses, naming the call and what came back.
bool AddinClient::AnswersOne(const char* method, size_t tool, const VARIANT& value) {
  if (V_VT(&value) == VT_BOOL && V_BOOL(&value) == 1) return true;
  if (wrongAnswer_.empty()) {
    const std::wstring& path = tools_[tool].commandName;
    wrongAnswer_ = std::string(method) + " of tool " + std::to_string(tool) + " (" +
                   WideToUtf8(path.substr(path.rfind(L'|') + 1)) + ") answered " + AnswerText(value) +
                   "; a host takes 1";
  }
  return false;
}

HRESULT AddinClient::Load(const wchar_t* progId) {
  Unload();
  wrongAnswer_.clear();
  CLSID clsid = {};
  RETURN_IF_FAILED(CLSIDFromProgID(progId, &clsid));
  RETURN_IF_FAILED(CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IDispatch, &addin_));
  InvokeResult classId, description;
  RETURN_IF_FAILED(Invoke(addin_.Get(), kDispClassId, DISPATCH_PROPERTYGET, {}, &classId));
  RETURN_IF_FAILED(Invoke(addin_.Get(), kDispDescription, DISPATCH_PROPERTYGET, {}, &description));
  classId_ = TextOf(classId.value);
  description_ = TextOf(description.value);
  RETURN_IF_FAILED(ReadToolInfo());
  RETURN_IF_FAILED(ReadPicture(kDispGetPicture, true, &buttons_));
  // A host without the local-menu strip still shows the menu's texts.
  ReadPicture(kDispGetLMPicture, false, &localMenuPicture_);
  return S_OK;
}

HRESULT AddinClient::ReadToolInfo() {
  OwnedVariant names, captions, prompts, tips, enabled, updates;
  RETURN_IF_FAILED(MakeVector(VT_BSTR, &names));
  RETURN_IF_FAILED(MakeVector(VT_BSTR, &captions));
  RETURN_IF_FAILED(MakeVector(VT_BSTR, &prompts));
  RETURN_IF_FAILED(MakeVector(VT_BSTR, &tips));
  RETURN_IF_FAILED(MakeVector(VT_BOOL, &enabled));
  RETURN_IF_FAILED(MakeVector(VT_BOOL, &updates));
  InvokeResult count;
  RETURN_IF_FAILED(Invoke(addin_.Get(), kDispGetToolInfo, DISPATCH_METHOD,
                          {RefArg(&names.value), RefArg(&captions.value), RefArg(&prompts.value), RefArg(&tips.value),
                           RefArg(&enabled.value), RefArg(&updates.value)},
                          &count));
  RETURN_HR_IF(E_UNEXPECTED, V_VT(&count.value) != VT_I4 || V_I4(&count.value) < 0);
  const LONG tools = V_I4(&count.value);
  tools_.clear();
  for (LONG i = 0; i < tools; ++i) {
    AddinToolInfo tool;
    tool.commandName = TextAt(names.value, {i});
    tool.caption = TextAt(captions.value, {i, 0});
    tool.group = TextAt(captions.value, {i, 1});
    tool.prompt = TextAt(prompts.value, {i});
    tool.tooltip = TextAt(tips.value, {i});
    tool.enabled = FlagAt(enabled.value, i);
    tool.wantsUpdates = FlagAt(updates.value, i);
    tools_.push_back(tool);
  }
  return S_OK;
}

HRESULT AddinClient::ReadPicture(DISPID id, bool large, HBITMAP* bitmap) {
  std::vector<VARIANT> args;
  if (id == kDispGetPicture) args = {BoolArg(large), BoolArg(false)};
  InvokeResult call;
  RETURN_IF_FAILED(Invoke(addin_.Get(), id, DISPATCH_METHOD, args, &call));
  RETURN_HR_IF(E_UNEXPECTED, V_VT(&call.value) != VT_DISPATCH || V_DISPATCH(&call.value) == nullptr);
  ComPtr<IPicture> picture;
  RETURN_IF_FAILED(V_DISPATCH(&call.value)->QueryInterface(IID_IPicture, &picture));
  OLE_HANDLE handle = 0;
  RETURN_IF_FAILED(picture->get_Handle(&handle));
  // The picture owns its bitmap and goes with the call: the host keeps a copy of its own.
  *bitmap = static_cast<HBITMAP>(
      CopyImage(reinterpret_cast<HANDLE>(static_cast<UINT_PTR>(handle)), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
  return *bitmap != nullptr ? S_OK : E_OUTOFMEMORY;
}

HRESULT AddinClient::InitializeTools() {
  RETURN_HR_IF(E_UNEXPECTED, addin_ == nullptr);
  toolObjects_.clear();
  for (size_t i = 0; i < tools_.size(); ++i) {
    ComPtr<IDispatch> tool;
    RETURN_IF_FAILED(MakeComTool(host_, static_cast<int32_t>(i), &tool));
    toolObjects_.push_back(tool);
  }
  initialized_ = true;
  for (size_t i = 0; i < toolObjects_.size(); ++i) {
    InvokeResult call;
    RETURN_IF_FAILED(
        Invoke(addin_.Get(), kDispInitialize, DISPATCH_METHOD, {DispatchArg(toolObjects_[i].Get())}, &call));
    RETURN_HR_IF(E_UNEXPECTED, !AnswersOne("Initialize", i, call.value));
  }
  return S_OK;
}

void AddinClient::Unload() {
  if (addin_ != nullptr && initialized_) {
    for (const ComPtr<IDispatch>& tool : toolObjects_) {
      InvokeResult call;
      Invoke(addin_.Get(), kDispTerminate, DISPATCH_METHOD, {DispatchArg(tool.Get())}, &call);
    }
  }
  initialized_ = false;
  addin_.Reset();
  toolObjects_.clear();
  tools_.clear();
  for (HBITMAP* bitmap : {&buttons_, &localMenuPicture_}) {
    if (*bitmap != nullptr) DeleteObject(*bitmap);
    *bitmap = nullptr;
  }
}

HRESULT AddinClient::Run(int tool) {
  RETURN_HR_IF(E_INVALIDARG, tool < 0 || static_cast<size_t>(tool) >= toolObjects_.size());
  InvokeResult call;
  RETURN_IF_FAILED(Invoke(addin_.Get(), kDispRun, DISPATCH_METHOD, {DispatchArg(toolObjects_[tool].Get())}, &call));
  return AnswersOne("Run", static_cast<size_t>(tool), call.value) ? S_OK : E_UNEXPECTED;
}

HRESULT AddinClient::UpdateToolStatus(int tool, ToolState* state) {
  RETURN_HR_IF(E_INVALIDARG, tool < 0 || static_cast<size_t>(tool) >= toolObjects_.size());
  // The host's own view of the button goes in; the add-in may leave either flag alone.
  VARIANT_BOOL enabled = state->enabled ? 1 : 0, checked = state->checked ? 1 : 0;
  InvokeResult call;
  const HRESULT hr = Invoke(addin_.Get(), kDispUpdateToolStatus, DISPATCH_METHOD,
                            {DispatchArg(toolObjects_[tool].Get()), BoolRef(&enabled), BoolRef(&checked)}, &call);
  state->enabled = enabled != 0;
  state->checked = checked != 0;
  return hr;
}

HRESULT AddinClient::DoLMCommand(int index) {
  RETURN_HR_IF(E_UNEXPECTED, addin_ == nullptr);
  InvokeResult call;
  return Invoke(addin_.Get(), kDispDoLMCommand, DISPATCH_METHOD, {LongVariant(index)}, &call);
}
