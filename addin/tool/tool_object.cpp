// The tool object's lifecycle (Initialize, Terminate) and the Run dispatch by tool index.
#include "addin/tool/tool_object.h"

#include "addin/tool/tool_table.h"
#include "host/host_names.h"
#include "options/stored_options.h"

ToolObject::ToolObject(ToolServices& services, const CodePage& codePage)
    : services_(services), codePage_(codePage), options_(std::make_unique<StoredOptions>()) {}

ToolObject::~ToolObject() = default;

bool ToolObject::ConvertsPointLeaders() const {
  return options_->TLDefConvertPoint;
}
bool ToolObject::PicksAfterEachLeader() const {
  return options_->TLPickAutoPick;
}
int32_t ToolObject::NumberStepOption() const {
  return NumberStep(*options_);
}
LabelStyle ToolObject::NumberStyle() const {
  return NumberLabelStyle(*options_);
}
bool ToolObject::ContinuesAfterDrawing() const {
  return options_->TLDefContinue;
}

ToolObject::EntryScope::~EntryScope() {
  tool_.innermost_ = outer_;
  if (--tool_.callDepth_ == 0) tool_.retired_.clear();
}

void ToolObject::DialogEnded() {
  if (--dialogDepth_ > 0 || !saveDeferred_) return;
  saveDeferred_ = false;
  SaveStores();
}

void ToolObject::SaveStores() {
  services_.SaveSettings(*options_);
  services_.SavePickList(*options_);
}

HRESULT ToolObject::Initialize(HostTool* thisTool, bool* result) {
  EntryScope entry(*this);
  RETURN_HR_IF(E_POINTER, result == nullptr);
  // The host calls Initialize once per tool; only the first call connects.
  if (host_.App) {
    *result = true;
    return S_OK;
  }
  if (!storesLoaded_) {
    storesLoaded_ = true;
    services_.LoadSettings(*options_);  // before the picklist, which lives in the stored data folder
    services_.LoadPickList(*options_);
  }
  RETURN_HR_IF_NULL(E_POINTER, thisTool);
  RETURN_IF_FAILED(ConnectToHost(*thisTool));
  RETURN_HR_IF(E_FAIL, LetGo());  // let go of again before it was done
  *result = true;
  return S_OK;
}

// The four host references kept for the object's lifetime, and the command ids. The first
// failure ends the connection; what was obtained before it stays.
HRESULT ToolObject::ConnectToHost(HostTool& thisTool) {
  HostRef<HostApp> app;
  RETURN_IF_FAILED(thisTool.ReadApplication(&app));
  RETURN_HR_IF_NULL(E_POINTER, app);
  host_.App = std::move(app);
  RETURN_IF_FAILED(host_.App->QueryAddinServices(&host_.AddinServices));
  RETURN_HR_IF_NULL(E_POINTER, host_.AddinServices);
  RETURN_IF_FAILED(host_.App->QueryCommands(&host_.Commands));
  RETURN_HR_IF_NULL(E_POINTER, host_.Commands);
  // From here on each host call may let a nested Terminate clear the references: checked again.
  RETURN_IF_FAILED(host_.Commands->LookUpCommand(kSelectCommandName, &host_.SelectCommandId));
  RETURN_HR_IF_NULL(E_POINTER, host_.Commands);
  RETURN_IF_FAILED(host_.Commands->LookUpCommand(kLeaderCommandName, &host_.LeaderCommandId));
  RETURN_HR_IF_NULL(E_POINTER, host_.App);
  HostRef<HostToolList> tools;
  RETURN_IF_FAILED(host_.App->ReadToolList(&tools));
  RETURN_HR_IF_NULL(E_POINTER, tools);
  RETURN_IF_FAILED(tools->PickItem(static_cast<uint32_t>(host_.LeaderCommandId), &host_.LeaderTool));
  RETURN_HR_IF_NULL(E_POINTER, host_.LeaderTool);
  // The version only gates the buttons; without it every tool reads as disabled.
  std::u16string version;
  RETURN_HR_IF_NULL(E_POINTER, host_.App);
  if (SUCCEEDED(host_.App->ReadVersionText(0, &version))) host_.HostVersion = codePage_.ToAnsi(version);
  return S_OK;
}

HRESULT ToolObject::Terminate() {
  EntryScope entry(*this);
  ++terminations_;
  // The host would otherwise keep delivering events to an object that has let go of the host.
  EndPlacementForTermination();
  if (host_.App) {
    // What the user confirms in an open dialog is kept: the save waits for the dialog's end.
    if (dialogDepth_ > 0) {
      saveDeferred_ = true;
    } else {
      SaveStores();
    }
  }
  HostConnection released{std::move(host_.App), std::move(host_.AddinServices), std::move(host_.Commands),
                          std::move(host_.LeaderTool)};
  // Inside another method's host call, the references live until that method has returned.
  if (callDepth_ > 1) retired_.push_back(std::move(released));
  return S_OK;
}

// Ends a running placement on the way out: every step is tried whatever the others give.
void ToolObject::EndPlacementForTermination() {
  const bool active = placement_.EventCookie != -1 || placement_.ActiveTool != -1 || placement_.PlacementState != Idle;
  if (!active) return;
  // Ended before the host hears of it: a call that arrives inside the steps below finds no
  // placement to act on, and the subscription is not ended twice.
  const int32_t cookie = placement_.EventCookie;
  ResetPlacement();
  if (host_.AddinServices) host_.AddinServices->ShowPrompt(u"", 0);
  if (cookie != -1 && host_.App) host_.App->UnsubscribeEvents(cookie);
  if (host_.AddinServices) host_.AddinServices->SetLocalMenu(0, nullptr, 0);
}

void ToolObject::ResetPlacement() {
  placement_.EventCookie = -1;
  placement_.ActiveTool = -1;
  placement_.PlacementState = Idle;
  placement_.EndOnRunTool = true;
}

HRESULT ToolObject::Run(HostTool* thisTool, bool* result) {
  EntryScope entry(*this);
  RETURN_HR_IF(E_POINTER, result == nullptr);
  RETURN_HR_IF_NULL(E_POINTER, thisTool);
  int32_t tool = -1;
  RETURN_IF_FAILED(Step(thisTool->ReadToolIndex(&tool)));  // let go of before anything started
  bool done = false;
  HRESULT hr = S_OK;
  switch (tool) {
    case NumberTool:
    case PicklistTool:
    case ObjectTool:
      hr = RunPlacingTool(tool, &done);
      break;
    case RenumberTool: {
      RETURN_HR_IF_NULL(E_POINTER, host_.App);
      HostApp& app = *host_.App;
      // The operation stops by itself once the host lets go, and tells a run that a Terminate
      // stopped (E_FAIL) from one that had done everything before it came.
      const auto stillHeld = [this] { return !LetGo(); };
      OpenDialog([&] { hr = services_.RenumberSelection(*options_, placement_.RunningNumber, app, stillHeld); });
      RETURN_IF_FAILED(hr);
      *result = true;
      return S_OK;
    }
    case OptionsTool:
      OpenDialog([&] { services_.ShowOptions(*options_, placement_.RunningNumber); });  // no host call before it
      done = true;
      break;
    default:
      done = true;
      break;
  }
  // Terminated meanwhile: the host has let go of the add-in, so nothing may go on running.
  if (LetGo()) {
    if (placement_.EventCookie != -1 && host_.App) host_.App->UnsubscribeEvents(placement_.EventCookie);
    ResetPlacement();
    return E_FAIL;
  }
  if (done) *result = true;
  return hr;
}

// Starts a placement of tool 0, 1 or 2, or ends the one that runs (the buttons toggle).
HRESULT ToolObject::RunPlacingTool(int32_t tool, bool* result) {
  HostRef<HostDrawing> drawing;
  RETURN_IF_FAILED(CountActiveDrawing(&drawing));
  HostRef<HostSelection> selection;
  RETURN_IF_FAILED(Step(drawing->ReadSelection(&selection)));
  RETURN_HR_IF_NULL(E_POINTER, selection);
  RETURN_IF_FAILED(Step(selection->ClearSelection()));
  HostRef<HostView> view;
  RETURN_IF_FAILED(Step(drawing->ReadActiveView(&view)));
  RETURN_HR_IF_NULL(E_POINTER, view);
  RETURN_IF_FAILED(Step(view->RefreshView()));

  if (placement_.EventCookie != -1) {  // a placement of any tool runs: end it and start nothing
    placement_.PlacementState = Idle;
    const HRESULT hr = EndPlacement();
    RETURN_IF_FAILED(hr);
    *result = true;
    return hr;
  }

  HRESULT hr = S_OK;
  if (tool == ObjectTool) {
    RETURN_IF_FAILED(SubscribeHostEvents());
    placement_.ActiveTool = ObjectTool;
    SetupLocalMenu();
    hr = ArmObjectSelection();
    RETURN_IF_FAILED(hr);
  } else {
    // A stored format the labels do not know gives no text at all: nothing is started then.
    if (tool == NumberTool) RETURN_IF_FAILED(CheckNumberFormat());
    if (tool == NumberTool && ContinuesAfterDrawing()) RETURN_IF_FAILED(ContinueAfterDrawing(*drawing));
    RETURN_IF_FAILED(StartLeaderCommand(tool));
    // Cancel keeps the previous pick text.
    if (tool == PicklistTool) OpenDialog([&] { services_.ShowPickList(*options_, placement_.CurrentPickText); });
    RETURN_HR_IF(E_FAIL, LetGo());
    bool labelFailed = false;
    const HRESULT labelStatus = UpdateLeaderText(nullptr, &labelFailed);
    // A number out of its format's range is no host failure: its range text is written and the
    // placement starts.
    if (FAILED(labelStatus) && !labelFailed) return labelStatus;
    hr = SubscribeHostEvents();
    RETURN_IF_FAILED(hr);
    placement_.PlacementState = Placing;
  }
  *result = true;
  return hr;
}
