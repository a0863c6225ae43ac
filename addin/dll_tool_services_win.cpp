// The dialogs behind the tool object's services.
#include "addin/dll_tool_services_win.h"

#include "addin/renumber_glue.h"
#include "addin/options_glue.h"

HRESULT DllToolServices::ShowPickList(ToolMembers& members) {
  return ::ShowPickList(pickList_, members, dialogs_, codePage_);
}
// The options dialog edits the picklist too ("List ..."): a change it confirms is saved.
HRESULT DllToolServices::ShowOptions(ToolMembers& members) {
  return EditSharedPickList(pickList_, members, [&] { return ::ShowOptions(members, dialogs_, codePage_); });
}
HRESULT DllToolServices::RenumberSelection(ToolMembers& members, HostApp& app,
                                           const std::function<bool()>& hostStillHeld) {
  return RunRenumberTool(members, app, dialogs_, codePage_, hostStillHeld);
}
