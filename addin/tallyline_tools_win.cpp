// The tool protocol's working methods: starting tools, the status poll, the local menu, the host
// events. The host calls them only after Initialize has connected the object; until the
// placement machinery is in, each declines with E_NOTIMPL and leaves its outputs alone.
#include "addin/tallyline_win.h"

STDMETHODIMP CTallyline::Run(IDispatch*, VARIANT_BOOL* pVal) { return pVal ? E_NOTIMPL : E_POINTER; }
STDMETHODIMP CTallyline::UpdateToolStatus(IDispatch*, VARIANT_BOOL*, VARIANT_BOOL*, VARIANT_BOOL* pVal) {
  return pVal ? E_NOTIMPL : E_POINTER;
}
STDMETHODIMP CTallyline::Initialize(IDispatch*, VARIANT_BOOL* pVal) { return pVal ? E_NOTIMPL : E_POINTER; }
STDMETHODIMP CTallyline::Terminate(IDispatch*) { return S_OK; }
STDMETHODIMP CTallyline::DoLMCommand(LONG) { return E_NOTIMPL; }
STDMETHODIMP CTallyline::BeforeExit(IDispatch*, VARIANT_BOOL*) { return E_NOTIMPL; }
STDMETHODIMP CTallyline::DrawingNew(IDispatch*) { return E_NOTIMPL; }
STDMETHODIMP CTallyline::DrawingOpen(IDispatch*) { return E_NOTIMPL; }
STDMETHODIMP CTallyline::DrawingActivate(IDispatch*) { return E_NOTIMPL; }
STDMETHODIMP CTallyline::DrawingDeactivate(IDispatch*) { return E_NOTIMPL; }
STDMETHODIMP CTallyline::DrawingBeforeClose(IDispatch*, VARIANT_BOOL*) { return E_NOTIMPL; }
STDMETHODIMP CTallyline::DrawingBeforeSave(IDispatch*, VARIANT_BOOL*, VARIANT_BOOL*) { return E_NOTIMPL; }
STDMETHODIMP CTallyline::MouseDown(IDispatch*, IDispatch*, IDispatch*, short, LONG, LONG, LONG, VARIANT_BOOL*) {
  return E_NOTIMPL;
}
STDMETHODIMP CTallyline::SelectionChange(IDispatch*, IDispatch*, IDispatch*, IDispatch*) { return E_NOTIMPL; }
STDMETHODIMP CTallyline::RunTool(IDispatch*) { return E_NOTIMPL; }
