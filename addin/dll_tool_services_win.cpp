// The dialogs behind the tool object's services. The options dialog is not part of this build
// yet: it declines, and the tool object goes on without it.
#include "addin/dll_tool_services_win.h"

#include "addin/renumber_tool.h"
#include "picklist/pick_list_dialog.h"

HRESULT DllToolServices::ShowPickList(ToolMembers& members) {
  return ::ShowPickList(members, dialogs_, codePage_);
}
HRESULT DllToolServices::ShowOptions(ToolMembers&) {
  return E_NOTIMPL;
}
HRESULT DllToolServices::RenumberSelection(ToolMembers& members, HostApp& app) {
  return RunRenumberTool(members, app, dialogs_, codePage_);
}
