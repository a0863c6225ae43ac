// Leader placement: starting the host's leader and select commands, the event subscription,
// the events that drive and end a placement, and the progress check of each status poll. The
// add-in never draws a leader; it keeps the host's leader tool loaded with the next text.
#include <algorithm>

#include "addin/tool/placement_constants.h"
#include "addin/tool/tool_object.h"
#include "addin/tool/tool_table.h"
#include "renumber/leader_reads.h"

// The active drawing, its graphics counted into LastGraphicCount.
HRESULT ToolObject::CountActiveDrawing(HostRef<HostDrawing>* drawing) {
  RETURN_HR_IF_NULL(E_POINTER, host_.App);
  RETURN_IF_FAILED(Step(host_.App->ReadActiveDrawing(drawing)));
  RETURN_HR_IF_NULL(E_POINTER, *drawing);
  HostRef<HostGraphicList> graphics;
  RETURN_IF_FAILED(Step((*drawing)->ReadGraphicList(&graphics)));
  RETURN_HR_IF_NULL(E_POINTER, graphics);
  return Step(graphics->CountItems(&placement_.LastGraphicCount));
}

HRESULT ToolObject::StartLeaderCommand(int32_t tool) {
  HostRef<HostDrawing> drawing;
  RETURN_IF_FAILED(CountActiveDrawing(&drawing));
  placement_.StartGraphicCount = placement_.LastGraphicCount;
  convertedTexts_.clear();
  placement_.ActiveTool = tool;
  SetupLocalMenu();
  RETURN_HR_IF(E_FAIL, LetGo());
  RETURN_HR_IF_NULL(E_POINTER, host_.Commands);
  return Step(host_.Commands->StartCommand(host_.LeaderCommandId));
}

HRESULT ToolObject::ContinueAfterDrawing(HostDrawing& drawing) {
  HighestLabel highest(NumberFormat(), NumberStyle(), NumberStepOption());
  RETURN_IF_FAILED(ReadHighestLabel(
      drawing, [this](HRESULT hr) { return Step(hr); }, &highest));
  placement_.RunningNumber = highest.Continue(placement_.RunningNumber);
  return S_OK;
}

HRESULT ToolObject::SubscribeHostEvents() {
  if (placement_.EventCookie != -1) {
    EndPlacement();
    return E_FAIL;
  }
  RETURN_HR_IF(E_FAIL, LetGo());
  RETURN_HR_IF_NULL(E_POINTER, host_.App);
  HostApp& app = *host_.App;  // kept alive for this call even if a nested Terminate lets it go
  int32_t cookie = -1;
  const HRESULT hr = app.SubscribeEvents(kPlacementEventMask, &cookie);
  RETURN_IF_FAILED(hr);
  // Terminated meanwhile, or a nested Run subscribed: this subscription would never be ended.
  if (LetGo() || placement_.EventCookie != -1) {
    app.UnsubscribeEvents(cookie);
    return E_FAIL;
  }
  placement_.EventCookie = cookie;
  return hr;
}

HRESULT ToolObject::ArmObjectSelection() {
  // The select command raises RunTool inside StartCommand; that one must not end the placement.
  placement_.EndOnRunTool = false;
  RETURN_HR_IF(E_FAIL, LetGo());
  RETURN_HR_IF_NULL(E_POINTER, host_.Commands);
  RETURN_IF_FAILED(Step(host_.Commands->StartCommand(host_.SelectCommandId)));
  RETURN_HR_IF_NULL(E_POINTER, host_.AddinServices);
  HostAddinServices& addinServices = *host_.AddinServices;  // alive for this call even if let go
  const HRESULT hr = addinServices.ShowPrompt(kObjectPrompt, 0);
  RETURN_IF_FAILED(hr);
  placement_.EndOnRunTool = true;
  if (LetGo()) {  // the host let go meanwhile: its prompt is taken back
    addinServices.ShowPrompt(u"", 0);
    return E_FAIL;
  }
  placement_.PlacementState = AwaitingObject;
  return hr;
}

HRESULT ToolObject::EndPlacement() {
  // A command start that failed left this false; a new placement must not inherit it.
  placement_.EndOnRunTool = true;
  RETURN_HR_IF_NULL(E_POINTER, host_.AddinServices);
  // Alive for this call even if a nested Terminate lets it go: the menu is still taken back.
  HostAddinServices& addinServices = *host_.AddinServices;
  HRESULT hr = addinServices.ShowPrompt(u"", 0);
  RETURN_IF_FAILED(hr);
  if (placement_.EventCookie != -1) {
    RETURN_HR_IF_NULL(E_POINTER, host_.App);
    // Ended before the host hears of it: a call that arrives inside the unsubscription finds no
    // placement to act on. A failed unsubscription leaves the placement as it was.
    const int32_t cookie = placement_.EventCookie, tool = placement_.ActiveTool, state = placement_.PlacementState;
    ResetPlacement();
    hr = host_.App->UnsubscribeEvents(cookie);
    if (FAILED(hr)) {
      if (placement_.EventCookie == -1 && placement_.ActiveTool == -1 && placement_.PlacementState == Idle) {
        placement_.EventCookie = cookie;
        placement_.ActiveTool = tool;
        placement_.PlacementState = state;
      }
      return hr;
    }
  } else {
    ResetPlacement();
  }
  RETURN_IF_FAILED(addinServices.SetLocalMenu(0, nullptr, 0));
  return hr;
}

HRESULT ToolObject::MouseDown() {
  EntryScope entry(*this);
  // Each click of a placement writes the current text again; the host may have changed it.
  if (placement_.PlacementState == Placing) UpdateLeaderText(nullptr);
  return S_OK;
}

HRESULT ToolObject::SelectionChange(HostDrawing* whichDrawing) {
  EntryScope entry(*this);
  if (placement_.PlacementState != AwaitingObject) return S_OK;
  RETURN_HR_IF_NULL(E_POINTER, whichDrawing);
  HostRef<HostSelection> selection;
  RETURN_IF_FAILED(Step(whichDrawing->ReadSelection(&selection)));
  RETURN_HR_IF_NULL(E_POINTER, selection);
  int32_t count = 0;
  RETURN_IF_FAILED(Step(selection->CountItems(&count)));
  RETURN_HR_IF(E_FAIL, count < 1);  // nothing selected: keep waiting
  HostRef<HostGraphic> baseObject;
  RETURN_IF_FAILED(Step(selection->PickItem(0, &baseObject)));
  RETURN_HR_IF_NULL(E_POINTER, baseObject);

  RETURN_HR_IF_NULL(E_POINTER, host_.AddinServices);
  RETURN_IF_FAILED(Step(host_.AddinServices->ShowPrompt(u"", 0)));
  placement_.EndOnRunTool = false;
  RETURN_HR_IF_NULL(E_POINTER, host_.Commands);
  RETURN_IF_FAILED(Step(host_.Commands->StartCommand(host_.LeaderCommandId)));
  placement_.EndOnRunTool = true;

  HostRef<HostGraphicList> graphics;
  RETURN_IF_FAILED(Step(whichDrawing->ReadGraphicList(&graphics)));
  RETURN_HR_IF_NULL(E_POINTER, graphics);
  RETURN_IF_FAILED(Step(graphics->CountItems(&placement_.LastGraphicCount)));
  placement_.StartGraphicCount = placement_.LastGraphicCount;
  convertedTexts_.clear();
  UpdateLeaderText(baseObject.get());
  placement_.PlacementState = Placing;
  return S_OK;
}

HRESULT ToolObject::RunTool() {
  EntryScope entry(*this);
  // The user picked another host tool; the add-in's own command starts do not count.
  return placement_.EndOnRunTool ? EndPlacement() : S_OK;
}

HRESULT ToolObject::PlacementEndingEvent() {
  EntryScope entry(*this);
  return EndPlacement();
}

HRESULT ToolObject::CheckPlacementProgress(int32_t tool, HostDrawing& drawing) {
  const bool numberOrPick = tool == NumberTool || tool == PicklistTool;
  if (numberOrPick && placement_.ActiveTool != tool) return S_OK;
  if (tool == ObjectTool && (placement_.ActiveTool != ObjectTool || placement_.PlacementState != Placing)) return S_OK;
  if (!numberOrPick && tool != ObjectTool) return S_OK;

  HostRef<HostGraphicList> graphics;
  RETURN_IF_FAILED(Step(drawing.ReadGraphicList(&graphics)));
  RETURN_HR_IF_NULL(E_POINTER, graphics);
  int32_t count = 0;
  const HRESULT counted = graphics->CountItems(&count);
  RETURN_IF_FAILED(Step(counted));

  // A point leader's text taken out as a graphic of its own raises the count once more; that
  // graphic is no new leader, so it counts as seen.
  int32_t appended = 0;
  if (tool == ObjectTool) {
    // One leader per chosen object, then the next object is asked for.
    if (count != placement_.LastGraphicCount + 1) return counted;
    if (ConvertsPointLeaders()) ConvertPointLeader(*graphics, &appended);
    RETURN_HR_IF(E_FAIL, LetGo());
    placement_.LastGraphicCount = count + appended;
    placement_.ActiveTool = ObjectTool;
    return ArmObjectSelection();
  }

  if (placement_.PlacementState != Placing || count == placement_.LastGraphicCount) return counted;
  // The user undid point-leader conversions and nothing else: no leader went away.
  const int32_t removedTexts = count < placement_.LastGraphicCount ? CountRemovedTexts(*graphics) : 0;
  RETURN_HR_IF(E_FAIL, LetGo());
  if (count + removedTexts == placement_.LastGraphicCount) {
    placement_.LastGraphicCount = count;
    return counted;
  }
  if (count >= placement_.StartGraphicCount) {
    // Only a new graphic can be a leader just placed. After a removal the newest graphic is an
    // older leader: converting it again would undo the user's undo of its conversion.
    if (ConvertsPointLeaders() && count > placement_.LastGraphicCount) ConvertPointLeader(*graphics, &appended);
    RETURN_HR_IF(E_FAIL, LetGo());
    if (tool == NumberTool) {
      // Several leaders between two polls advance by their count of steps; removed ones take
      // their steps back.
      const int64_t leaders = int64_t{count} - placement_.LastGraphicCount + removedTexts;
      const int64_t next = static_cast<int64_t>(placement_.RunningNumber) + leaders * NumberStepOption();
      placement_.RunningNumber = next < 1 ? 1 : (next > INT32_MAX ? INT32_MAX : static_cast<int32_t>(next));
      placement_.LastGraphicCount = count + appended;
    } else {
      placement_.LastGraphicCount = count + appended;
      if (PicksAfterEachLeader()) OpenDialog([&] { services_.ShowPickList(*options_, placement_.CurrentPickText); });
    }
  }
  return UpdateLeaderText(nullptr);
}

// How many texts taken out of point leaders have left the drawing since the last look (the user
// undid their conversion); they are forgotten once counted.
int32_t ToolObject::CountRemovedTexts(HostGraphicList& graphics) {
  // A nested call inside FindById may convert or forget texts: look at a copy, then forget.
  const std::vector<int32_t> texts = convertedTexts_;
  int32_t removed = 0;
  for (const int32_t id : texts) {
    if (LetGo()) break;
    HostRef<HostGraphic> text;
    if (SUCCEEDED(graphics.FindById(id, &text)) && !text) {
      ++removed;
      convertedTexts_.erase(std::remove(convertedTexts_.begin(), convertedTexts_.end(), id), convertedTexts_.end());
    }
  }
  return removed;
}
