// The tool object's lifecycle (Initialize, Terminate) and the Run dispatch by tool index.
#include "addin/tool_object.h"

#include "addin/tool_table.h"

ToolObject::ToolObject(ToolServices& services, const CodePage& codePage) : services_(services), codePage_(codePage) {}

HRESULT ToolObject::Initialize(HostTool* thisTool, bool* result) {
  RETURN_HR_IF(E_POINTER, result == nullptr);
  // The host calls Initialize once per tool; only the first call connects.
  if (m_.HostApp) {
    *result = true;
    return S_OK;
  }
  if (!storesLoaded_) {
    storesLoaded_ = true;
    services_.LoadSettings(m_);  // before the picklist, which lives in the stored data folder
    services_.LoadPickList(m_);
  }
  RETURN_HR_IF_NULL(E_POINTER, thisTool);
  RETURN_IF_FAILED(ConnectToHost(*thisTool));
  *result = true;
  return S_OK;
}

// The four host references kept for the object's lifetime, and the command ids. The first
// failure ends the connection; what was obtained before it stays.
HRESULT ToolObject::ConnectToHost(HostTool& thisTool) {
  HostRef<HostApp> app;
  RETURN_IF_FAILED(thisTool.ReadApplication(&app));
  RETURN_HR_IF_NULL(E_POINTER, app);
  m_.HostApp = std::move(app);
  RETURN_IF_FAILED(m_.HostApp->QueryAddinServices(&m_.AddinServices));
  RETURN_HR_IF_NULL(E_POINTER, m_.AddinServices);
  RETURN_IF_FAILED(m_.HostApp->QueryCommands(&m_.HostCommands));
  RETURN_HR_IF_NULL(E_POINTER, m_.HostCommands);
  RETURN_IF_FAILED(m_.HostCommands->LookUpCommand(codePage_.ToWide("Edit|Select"), &m_.SelectCommandId));
  RETURN_IF_FAILED(m_.HostCommands->LookUpCommand(codePage_.ToWide("Insert|Dimension|Leader"), &m_.LeaderCommandId));
  HostRef<HostToolList> tools;
  RETURN_IF_FAILED(m_.HostApp->ReadToolList(&tools));
  RETURN_HR_IF_NULL(E_POINTER, tools);
  RETURN_IF_FAILED(tools->PickItem(static_cast<uint32_t>(m_.LeaderCommandId), &m_.LeaderTool));
  RETURN_HR_IF_NULL(E_POINTER, m_.LeaderTool);
  // The version only gates the buttons; without it every tool reads as disabled.
  std::u16string version;
  if (SUCCEEDED(m_.HostApp->ReadVersionText(0, &version))) m_.HostVersion = codePage_.ToAnsi(version);
  return S_OK;
}

HRESULT ToolObject::Terminate() {
  // The host would otherwise keep delivering events to an object that has let go of the host.
  EndPlacementForTermination();
  if (m_.HostApp) {
    services_.SaveSettings(m_);
    services_.SavePickList(m_);
    m_.HostApp.reset();
  }
  m_.AddinServices.reset();
  m_.HostCommands.reset();
  m_.LeaderTool.reset();
  return S_OK;
}

// Ends a running placement on the way out: every step is tried whatever the others give.
void ToolObject::EndPlacementForTermination() {
  const bool active = m_.EventCookie != -1 || m_.ActiveTool != -1 || m_.PlacementState != Idle;
  if (!active) return;
  if (m_.AddinServices) m_.AddinServices->ShowPrompt(u"", 0);
  if (m_.EventCookie != -1 && m_.HostApp) m_.HostApp->UnsubscribeEvents(m_.EventCookie);
  if (m_.AddinServices) m_.AddinServices->SetLocalMenu(0, nullptr, 0);
  ResetPlacement();
}

void ToolObject::ResetPlacement() {
  m_.EventCookie = -1;
  m_.ActiveTool = -1;
  m_.PlacementState = Idle;
  m_.EndOnRunTool = true;
}

HRESULT ToolObject::Run(HostTool* thisTool, bool* result) {
  RETURN_HR_IF(E_POINTER, result == nullptr);
  RETURN_HR_IF_NULL(E_POINTER, thisTool);
  int32_t tool = -1;
  RETURN_IF_FAILED(thisTool->ReadToolIndex(&tool));
  switch (tool) {
    case NumberTool:
    case PicklistTool:
    case ObjectTool:
      return RunPlacingTool(tool, result);
    case RenumberTool: {
      RETURN_HR_IF_NULL(E_POINTER, m_.HostApp);
      RETURN_IF_FAILED(services_.RenumberSelection(m_, *m_.HostApp));
      break;
    }
    case OptionsTool:
      services_.ShowOptions(m_);
      break;
    default:
      break;
  }
  *result = true;
  return S_OK;
}

// Starts a placement of tool 0, 1 or 2, or ends the one that runs (the buttons toggle).
HRESULT ToolObject::RunPlacingTool(int32_t tool, bool* result) {
  HostRef<HostDrawing> drawing;
  RETURN_IF_FAILED(CountActiveDrawing(&drawing));
  HostRef<HostSelection> selection;
  RETURN_IF_FAILED(drawing->ReadSelection(&selection));
  RETURN_HR_IF_NULL(E_POINTER, selection);
  RETURN_IF_FAILED(selection->ClearSelection());
  HostRef<HostView> view;
  RETURN_IF_FAILED(drawing->ReadActiveView(&view));
  RETURN_HR_IF_NULL(E_POINTER, view);
  RETURN_IF_FAILED(view->RefreshView());

  if (m_.EventCookie != -1) {  // a placement of any tool runs: end it and start nothing
    m_.PlacementState = Idle;
    RETURN_IF_FAILED(EndPlacement());
    *result = true;
    return S_OK;
  }

  HRESULT labelStatus = S_OK;
  if (tool == ObjectTool) {
    RETURN_IF_FAILED(SubscribeHostEvents());
    m_.ActiveTool = ObjectTool;
    SetupLocalMenu();
    RETURN_IF_FAILED(ArmObjectSelection());
  } else {
    RETURN_IF_FAILED(StartLeaderCommand(tool));
    if (tool == PicklistTool) services_.ShowPickList(m_);  // Cancel keeps the previous pick text
    bool labelFailed = false;
    labelStatus = UpdateLeaderText(nullptr, &labelFailed);
    // A label that cannot be written is no host failure: the placement still starts.
    if (FAILED(labelStatus) && !labelFailed) return labelStatus;
    RETURN_IF_FAILED(SubscribeHostEvents());
    m_.PlacementState = Placing;
  }
  *result = true;
  return labelStatus;
}
