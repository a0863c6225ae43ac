// The dialogs behind the tool object's services.
#include "addin/com_server/dll_tool_services_win.h"

#include "addin/tool/renumber_glue.h"
#include "addin/tool/options_glue.h"

HRESULT DllToolServices::ShowPickList(ToolMembers& members) {
  return ::ShowPickList(members, dialogs_, codePage_);
}
HRESULT DllToolServices::ShowOptions(ToolMembers& members) {
  return ::ShowOptions(members, dialogs_, codePage_);
}
HRESULT DllToolServices::RenumberSelection(ToolMembers& members, HostApp& app,
                                           const std::function<bool()>& hostStillHeld) {
  return RunRenumberTool(members, app, dialogs_, codePage_, hostStillHeld);
}
