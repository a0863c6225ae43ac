// The dialogs behind the tool object's services. The options dialog and the Renumber tool are
// not part of this build yet: they decline, and the tool object goes on without them.
#include "addin/dll_tool_services_win.h"

HRESULT DllToolServices::ShowPickList(ToolMembers& members) {
  return ::ShowPickList(members, dialogs_, codePage_);
}
HRESULT DllToolServices::ShowOptions(ToolMembers&) {
  return E_NOTIMPL;
}
HRESULT DllToolServices::RenumberSelection(ToolMembers&, HostApp&) {
  return E_NOTIMPL;
}
