// The host's polls of the tool buttons (also the heartbeat of a running placement) and the
// local menu that a placement offers.
#include "addin/tool_object.h"
#include "addin/tool_table.h"
#include "framework/decimal_text.h"
#include "host/host_names.h"

namespace {

constexpr double kFirstSupportedVersion = 8.2;
constexpr double kFirstRenumberVersion = 9.0;

}  // namespace

double ToolObject::HostVersionNumber() const {
  return ReadLeadingDecimal(m_.HostVersion.substr(0, 3));
}

HRESULT ToolObject::UpdateToolStatus(HostTool* thisTool, ToolStatus* status) {
  EntryScope entry(*this);
  RETURN_HR_IF(E_POINTER, status == nullptr);
  const double version = HostVersionNumber();
  if (version < kFirstSupportedVersion) {  // also when the version could not be read
    status->enabled = false;
    status->checked = false;
    return S_OK;
  }
  RETURN_HR_IF_NULL(E_POINTER, thisTool);
  int32_t tool = -1;
  RETURN_IF_FAILED(thisTool->ReadToolIndex(&tool));
  RETURN_HR_IF_NULL(E_POINTER, m_.App);
  HostRef<HostDrawing> drawing;  // there may be none
  const HRESULT hr = m_.App->ReadActiveDrawing(&drawing);
  RETURN_IF_FAILED(hr);

  switch (tool) {
    case NumberTool:
    case PicklistTool:
      status->enabled = drawing != nullptr;
      status->checked = m_.ActiveTool == tool;
      status->result = true;
      if (drawing && m_.ActiveTool == tool) return CheckPlacementProgress(tool, *drawing);
      return hr;
    case ObjectTool: {
      status->checked = m_.ActiveTool == ObjectTool;
      status->result = true;
      status->enabled = false;
      if (!drawing) return hr;
      HostRef<HostGraphicList> graphics;
      RETURN_IF_FAILED(drawing->ReadGraphicList(&graphics));
      RETURN_HR_IF_NULL(E_POINTER, graphics);
      int32_t count = 0;
      const HRESULT counted = graphics->CountItems(&count);
      RETURN_IF_FAILED(counted);
      status->enabled = count != 0;
      // The progress check calls the host only while an object's leader is being placed.
      if (m_.ActiveTool != ObjectTool || m_.PlacementState != Placing) return counted;
      return CheckPlacementProgress(ObjectTool, *drawing);
    }
    case RenumberTool: {
      status->enabled = false;
      status->checked = false;
      if (version < kFirstRenumberVersion || !drawing) return hr;
      HostRef<HostSelection> selection;
      RETURN_IF_FAILED(drawing->ReadSelection(&selection));
      RETURN_HR_IF_NULL(E_POINTER, selection);
      int32_t count = 0;
      RETURN_IF_FAILED(selection->CountItems(&count));
      for (int32_t i = 0; i < count; ++i) {  // enabled when the selection holds a leader
        HostRef<HostGraphic> graphic;
        RETURN_IF_FAILED(selection->PickItem(i, &graphic));
        RETURN_HR_IF_NULL(E_POINTER, graphic);
        std::u16string type;
        RETURN_IF_FAILED(graphic->ReadTypeName(&type));
        if (type == kLeaderTypeName) {
          status->enabled = true;
          break;
        }
      }
      return hr;
    }
    case OptionsTool:
      status->enabled = true;
      status->checked = false;
      return hr;
    default:
      return hr;
  }
}

HRESULT ToolObject::SetupLocalMenu() {
  // Entry 0 belongs to the running tool; entry 1 opens the options for every tool. The Number
  // tool's prompt says "Increment" for the entry that decrements, as users have always seen it.
  HostLocalMenu menu;
  switch (m_.ActiveTool) {
    case NumberTool:
      menu.captions = {u"(TL) Decrement Num", u"Tallyline Options"};
      menu.prompts = {u"Increment current Number for Tallyline", u"Set running Tallyline Options"};
      break;
    case PicklistTool:
      menu.captions = {u"(TL) Reselect Picklist", u"Tallyline Options"};
      menu.prompts = {u"Reselect text from Picklist for Tallyline", u"Set running Tallyline Options"};
      break;
    case ObjectTool:
      menu.captions = {u"(TL) Reselect Object", u"Tallyline Options"};
      menu.prompts = {u"Reselect Object base for Tallyline", u"Set running Tallyline Options"};
      break;
    default:
      menu.captions = {u"", u"Tallyline Options"};
      menu.prompts = {u"", u"Set running Tallyline Options"};
      break;
  }
  menu.flags1 = {true, true};
  menu.flags2 = {false, false};
  // The host's answers do not stop the placement. A Terminate inside one of these calls lets
  // the host go: then nothing more is set, and a menu the host set after it is taken back.
  if (!m_.AddinServices) return S_OK;
  HostAddinServices& services = *m_.AddinServices;  // alive for this call even if let go
  const uint32_t terminations = terminations_;
  services.ShowPrompt(u"", 0);
  if (terminations_ != terminations) return S_OK;
  services.SetLocalMenu(0, nullptr, 0);
  if (terminations_ != terminations) return S_OK;
  services.SetLocalMenu(2, &menu, -1);
  if (terminations_ != terminations) services.SetLocalMenu(0, nullptr, 0);
  return S_OK;
}

HRESULT ToolObject::DoLMCommand(int32_t cmdIndex) {
  EntryScope entry(*this);
  if (cmdIndex != 0 && cmdIndex != 1) return S_OK;
  switch (m_.ActiveTool) {
    case NumberTool:
      if (cmdIndex == 0) {
        if (m_.RunningNumber > 0) --m_.RunningNumber;
      } else {
        OpenDialog([&] { services_.ShowOptions(m_); });
      }
      UpdateLeaderText(nullptr);
      break;
    case PicklistTool:
      if (cmdIndex == 0) {
        OpenDialog([&] { services_.ShowPickList(m_); });
      } else {
        OpenDialog([&] { services_.ShowOptions(m_); });
      }
      UpdateLeaderText(nullptr);
      break;
    case ObjectTool:
      if (cmdIndex == 1) OpenDialog([&] { services_.ShowOptions(m_); });
      ArmObjectSelection();
      break;
    default:
      break;
  }
  return S_OK;
}
