// Leader placement: starting the host's leader and select commands, the event subscription,
// the events that drive and end a placement, and the progress check of each status poll. The
// add-in never draws a leader; it keeps the host's leader tool loaded with the next text.
#include <algorithm>

#include "addin/placement_constants.h"
#include "addin/tool_object.h"
#include "addin/tool_table.h"

// The active drawing, its graphics counted into LastGraphicCount.
HRESULT ToolObject::CountActiveDrawing(HostRef<HostDrawing>* drawing) {
  RETURN_HR_IF_NULL(E_POINTER, m_.App);
  RETURN_IF_FAILED(Step(m_.App->ReadActiveDrawing(drawing)));
  RETURN_HR_IF_NULL(E_POINTER, *drawing);
  HostRef<HostGraphicList> graphics;
  RETURN_IF_FAILED(Step((*drawing)->ReadGraphicList(&graphics)));
  RETURN_HR_IF_NULL(E_POINTER, graphics);
  return Step(graphics->CountItems(&m_.LastGraphicCount));
}

HRESULT ToolObject::StartLeaderCommand(int32_t tool) {
  HostRef<HostDrawing> drawing;
  RETURN_IF_FAILED(CountActiveDrawing(&drawing));
  m_.StartGraphicCount = m_.LastGraphicCount;
  convertedTexts_.clear();
  m_.ActiveTool = tool;
  SetupLocalMenu();
  RETURN_HR_IF(E_FAIL, LetGo());
  RETURN_HR_IF_NULL(E_POINTER, m_.Commands);
  return Step(m_.Commands->StartCommand(m_.LeaderCommandId));
}

HRESULT ToolObject::SubscribeHostEvents() {
  if (m_.EventCookie != -1) {
    EndPlacement();
    return E_FAIL;
  }
  RETURN_HR_IF(E_FAIL, LetGo());
  RETURN_HR_IF_NULL(E_POINTER, m_.App);
  HostApp& app = *m_.App;  // kept alive for this call even if a nested Terminate lets it go
  int32_t cookie = -1;
  const HRESULT hr = app.SubscribeEvents(kPlacementEventMask, &cookie);
  RETURN_IF_FAILED(hr);
  // Terminated meanwhile, or a nested Run subscribed: this subscription would never be ended.
  if (LetGo() || m_.EventCookie != -1) {
    app.UnsubscribeEvents(cookie);
    return E_FAIL;
  }
  m_.EventCookie = cookie;
  return hr;
}

HRESULT ToolObject::ArmObjectSelection() {
  // The select command raises RunTool inside StartCommand; that one must not end the placement.
  m_.EndOnRunTool = false;
  RETURN_HR_IF(E_FAIL, LetGo());
  RETURN_HR_IF_NULL(E_POINTER, m_.Commands);
  RETURN_IF_FAILED(Step(m_.Commands->StartCommand(m_.SelectCommandId)));
  RETURN_HR_IF_NULL(E_POINTER, m_.AddinServices);
  HostAddinServices& addinServices = *m_.AddinServices;  // alive for this call even if let go
  const HRESULT hr = addinServices.ShowPrompt(kObjectPrompt, 0);
  RETURN_IF_FAILED(hr);
  m_.EndOnRunTool = true;
  if (LetGo()) {  // the host let go meanwhile: its prompt is taken back
    addinServices.ShowPrompt(u"", 0);
    return E_FAIL;
  }
  m_.PlacementState = AwaitingObject;
  return hr;
}

HRESULT ToolObject::EndPlacement() {
  // A command start that failed left this false; a new placement must not inherit it.
  m_.EndOnRunTool = true;
  RETURN_HR_IF_NULL(E_POINTER, m_.AddinServices);
  // Alive for this call even if a nested Terminate lets it go: the menu is still taken back.
  HostAddinServices& addinServices = *m_.AddinServices;
  HRESULT hr = addinServices.ShowPrompt(u"", 0);
  RETURN_IF_FAILED(hr);
  if (m_.EventCookie != -1) {
    RETURN_HR_IF_NULL(E_POINTER, m_.App);
    // Ended before the host hears of it: a call that arrives inside the unsubscription finds no
    // placement to act on. A failed unsubscription leaves the placement as it was.
    const int32_t cookie = m_.EventCookie, tool = m_.ActiveTool, state = m_.PlacementState;
    ResetPlacement();
    hr = m_.App->UnsubscribeEvents(cookie);
    if (FAILED(hr)) {
      if (m_.EventCookie == -1 && m_.ActiveTool == -1 && m_.PlacementState == Idle) {
        m_.EventCookie = cookie;
        m_.ActiveTool = tool;
        m_.PlacementState = state;
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
  if (m_.PlacementState == Placing) UpdateLeaderText(nullptr);
  return S_OK;
}

HRESULT ToolObject::SelectionChange(HostDrawing* whichDrawing) {
  EntryScope entry(*this);
  if (m_.PlacementState != AwaitingObject) return S_OK;
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

  RETURN_HR_IF_NULL(E_POINTER, m_.AddinServices);
  RETURN_IF_FAILED(Step(m_.AddinServices->ShowPrompt(u"", 0)));
  m_.EndOnRunTool = false;
  RETURN_HR_IF_NULL(E_POINTER, m_.Commands);
  RETURN_IF_FAILED(Step(m_.Commands->StartCommand(m_.LeaderCommandId)));
  m_.EndOnRunTool = true;

  HostRef<HostGraphicList> graphics;
  RETURN_IF_FAILED(Step(whichDrawing->ReadGraphicList(&graphics)));
  RETURN_HR_IF_NULL(E_POINTER, graphics);
  RETURN_IF_FAILED(Step(graphics->CountItems(&m_.LastGraphicCount)));
  m_.StartGraphicCount = m_.LastGraphicCount;
  convertedTexts_.clear();
  UpdateLeaderText(baseObject.get());
  m_.PlacementState = Placing;
  return S_OK;
}

HRESULT ToolObject::RunTool() {
  EntryScope entry(*this);
  // The user picked another host tool; the add-in's own command starts do not count.
  return m_.EndOnRunTool ? EndPlacement() : S_OK;
}

HRESULT ToolObject::PlacementEndingEvent() {
  EntryScope entry(*this);
  return EndPlacement();
}

HRESULT ToolObject::CheckPlacementProgress(int32_t tool, HostDrawing& drawing) {
  const bool numberOrPick = tool == NumberTool || tool == PicklistTool;
  if (numberOrPick && m_.ActiveTool != tool) return S_OK;
  if (tool == ObjectTool && (m_.ActiveTool != ObjectTool || m_.PlacementState != Placing)) return S_OK;
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
    if (count != m_.LastGraphicCount + 1) return counted;
    if (m_.TLDefConvertPoint) ConvertPointLeader(*graphics, &appended);
    RETURN_HR_IF(E_FAIL, LetGo());
    m_.LastGraphicCount = count + appended;
    m_.ActiveTool = ObjectTool;
    return ArmObjectSelection();
  }

  if (m_.PlacementState != Placing || count == m_.LastGraphicCount) return counted;
  // The user undid point-leader conversions and nothing else: no leader went away.
  const int32_t removedTexts = count < m_.LastGraphicCount ? CountRemovedTexts(*graphics) : 0;
  RETURN_HR_IF(E_FAIL, LetGo());
  if (count + removedTexts == m_.LastGraphicCount) {
    m_.LastGraphicCount = count;
    return counted;
  }
  if (count >= m_.StartGraphicCount) {
    // Only a new graphic can be a leader just placed. After a removal the newest graphic is an
    // older leader: converting it again would undo the user's undo of its conversion.
    if (m_.TLDefConvertPoint && count > m_.LastGraphicCount) ConvertPointLeader(*graphics, &appended);
    RETURN_HR_IF(E_FAIL, LetGo());
    if (tool == NumberTool) {
      // Several leaders between two polls advance by their count of steps; removed ones take
      // their steps back.
      const int64_t leaders = int64_t{count} - m_.LastGraphicCount + removedTexts;
      const int64_t next = static_cast<int64_t>(m_.RunningNumber) + leaders * NumberStep(m_);
      m_.RunningNumber = next < 1 ? 1 : (next > INT32_MAX ? INT32_MAX : static_cast<int32_t>(next));
      m_.LastGraphicCount = count + appended;
    } else {
      m_.LastGraphicCount = count + appended;
      if (m_.TLPickAutoPick) OpenDialog([&] { services_.ShowPickList(m_); });
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
