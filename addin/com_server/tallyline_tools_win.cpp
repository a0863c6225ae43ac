// The tool protocol's working methods: automation arguments in, the tool object's answer out.
// Booleans go to the host as 1 and 0, never -1; an output the tool object leaves alone stays as
// the host set it. Each method holds a reference to the object while it runs: a host may hold
// the add-in only through its event subscription, and the add-in's own UnsubscribeEvents then
// drops the last reference in the middle of the method.
#include "addin/com_server/tallyline_win.h"
#include "framework/com_try.h"
#include "host/host_com_adapters_win.h"
#include "host/host_served.h"

namespace {

void Put(VARIANT_BOOL* out, const std::optional<bool>& value) {
  if (out != nullptr && value) *out = *value ? 1 : 0;
}

}  // namespace

HostRef<HostTool> CTallyline::AdaptTool(IDispatch* thisTool) {
  if (thisTool == nullptr) return nullptr;  // the tool object answers E_POINTER where it needs one
  HostRef<HostTool> tool;
  const HRESULT hr = AdaptHostTool(thisTool, Self(), &tool);
  // Stands for a ThisTool that does not answer for IHostTool: each use gives that failure.
  if (FAILED(hr)) return std::make_unique<HostAnswering<HostTool>>(hr);
  return tool;
}

STDMETHODIMP CTallyline::Initialize(IDispatch* ThisTool, VARIANT_BOOL* pVal) {
  const KeepAlive keepAlive(this);
  RETURN_HR_IF(E_POINTER, pVal == nullptr);
  return ComTry([&] {
    bool result = false;
    const HRESULT hr = tool_.Initialize(AdaptTool(ThisTool).get(), &result);
    if (result) *pVal = 1;
    return hr;
  });
}

STDMETHODIMP CTallyline::Terminate(IDispatch*) {
  const KeepAlive keepAlive(this);
  ComTry([&] { return tool_.Terminate(); });
  return S_OK;
}

STDMETHODIMP CTallyline::Run(IDispatch* ThisTool, VARIANT_BOOL* pVal) {
  const KeepAlive keepAlive(this);
  RETURN_HR_IF(E_POINTER, pVal == nullptr);
  return ComTry([&] {
    bool result = false;
    const HRESULT hr = tool_.Run(AdaptTool(ThisTool).get(), &result);
    if (result) *pVal = 1;
    return hr;
  });
}

STDMETHODIMP CTallyline::UpdateToolStatus(IDispatch* ThisTool, VARIANT_BOOL* Enabled, VARIANT_BOOL* Checked,
                                          VARIANT_BOOL* pVal) {
  const KeepAlive keepAlive(this);
  RETURN_HR_IF(E_POINTER, Enabled == nullptr || Checked == nullptr || pVal == nullptr);
  return ComTry([&] {
    ToolStatus status;
    const HRESULT hr = tool_.UpdateToolStatus(AdaptTool(ThisTool).get(), &status);
    Put(Enabled, status.enabled);
    Put(Checked, status.checked);
    Put(pVal, status.result);
    return hr;
  });
}

STDMETHODIMP CTallyline::DoLMCommand(LONG CmdIndex) {
  const KeepAlive keepAlive(this);
  return ComTry([&] { return tool_.DoLMCommand(CmdIndex); });
}

STDMETHODIMP CTallyline::BeforeExit(IDispatch*, VARIANT_BOOL*) {
  const KeepAlive keepAlive(this);
  return ComTry([&] { return tool_.PlacementEndingEvent(); });
}
STDMETHODIMP CTallyline::DrawingNew(IDispatch*) {
  const KeepAlive keepAlive(this);
  return ComTry([&] { return tool_.PlacementEndingEvent(); });
}
STDMETHODIMP CTallyline::DrawingOpen(IDispatch*) {
  const KeepAlive keepAlive(this);
  return ComTry([&] { return tool_.PlacementEndingEvent(); });
}
STDMETHODIMP CTallyline::DrawingActivate(IDispatch*) {
  const KeepAlive keepAlive(this);
  return ComTry([&] { return tool_.PlacementEndingEvent(); });
}
STDMETHODIMP CTallyline::DrawingDeactivate(IDispatch*) {
  const KeepAlive keepAlive(this);
  return ComTry([&] { return tool_.PlacementEndingEvent(); });
}
STDMETHODIMP CTallyline::DrawingBeforeClose(IDispatch*, VARIANT_BOOL*) {
  const KeepAlive keepAlive(this);
  return ComTry([&] { return tool_.PlacementEndingEvent(); });
}
STDMETHODIMP CTallyline::DrawingBeforeSave(IDispatch*, VARIANT_BOOL*, VARIANT_BOOL*) {
  const KeepAlive keepAlive(this);
  return ComTry([&] { return tool_.PlacementEndingEvent(); });
}

STDMETHODIMP CTallyline::MouseDown(IDispatch*, IDispatch*, IDispatch*, short, LONG, LONG, LONG, VARIANT_BOOL* Cancel) {
  const KeepAlive keepAlive(this);
  RETURN_HR_IF(E_POINTER, Cancel == nullptr);
  *Cancel = 0;
  return ComTry([&] { return tool_.MouseDown(); });
}

STDMETHODIMP CTallyline::SelectionChange(IDispatch* WhichDrawing, IDispatch*, IDispatch*, IDispatch*) {
  const KeepAlive keepAlive(this);
  return ComTry([&] {
    // The selection is read from the drawing; the Sel argument is not needed.
    HostRef<HostDrawing> drawing;
    if (WhichDrawing != nullptr) {
      const HRESULT hr = AdaptHostDrawing(WhichDrawing, &drawing);
      // Stands for a WhichDrawing that does not answer for IHostDrawing.
      if (FAILED(hr)) drawing = std::make_unique<HostAnswering<HostDrawing>>(hr);
    }
    return tool_.SelectionChange(drawing.get());
  });
}

STDMETHODIMP CTallyline::RunTool(IDispatch*) {
  const KeepAlive keepAlive(this);
  return ComTry([&] { return tool_.RunTool(); });
}
