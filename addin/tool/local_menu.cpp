// The local menu that a running placement offers on the host's right click: its entries
// (SetupLocalMenu) and what each does (DoLMCommand).
#include <algorithm>

#include "addin/tool/tool_object.h"
#include "addin/tool/tool_table.h"

HRESULT ToolObject::SetupLocalMenu() {
  // Entry 0 belongs to the running tool; entry 1 opens the options for every tool. The Number
  // tool's prompt says "Increment" for the entry that decrements, as users have always seen it.
  HostLocalMenu menu;
  switch (placement_.ActiveTool) {
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
  if (!host_.AddinServices || LetGo()) return S_OK;
  HostAddinServices& addinServices = *host_.AddinServices;  // alive for this call even if let go
  addinServices.ShowPrompt(u"", 0);
  if (LetGo()) return S_OK;
  addinServices.SetLocalMenu(0, nullptr, 0);
  if (LetGo()) return S_OK;
  addinServices.SetLocalMenu(2, &menu, -1);
  if (LetGo()) addinServices.SetLocalMenu(0, nullptr, 0);
  return S_OK;
}

// The results of the dialogs and of the steps after them are not the host's business: the
// command gives S_OK. A Terminate during the command is: the command stops there (no leader
// text is written for a host that let go) and fails, unless it came inside the last step.
HRESULT ToolObject::DoLMCommand(int32_t cmdIndex) {
  EntryScope entry(*this);
  const int32_t tool = placement_.ActiveTool;
  const bool placing = tool == NumberTool || tool == PicklistTool || tool == ObjectTool;
  if (!placing || (cmdIndex != 0 && cmdIndex != 1)) return S_OK;
  // Entry 1 is the options for every tool; entry 0 decrements the number, reselects the pick
  // text, or (below) asks for another base object.
  if (cmdIndex == 1) {
    OpenDialog([&] { services_.ShowOptions(*options_, placement_.RunningNumber); });
  } else if (tool == NumberTool) {
    // One step back, as far as 0 (whose label is the range text), as a single step does.
    if (placement_.RunningNumber > 0) {
      placement_.RunningNumber = std::max(placement_.RunningNumber - NumberStepOption(), 0);
    }
  } else if (tool == PicklistTool) {
    OpenDialog([&] { services_.ShowPickList(*options_, placement_.CurrentPickText); });
  }
  RETURN_HR_IF(E_FAIL, LetGo());
  const HRESULT last = tool == ObjectTool ? ArmObjectSelection() : UpdateLeaderText(nullptr);
  return LetGo() && FAILED(last) ? E_FAIL : S_OK;
}
