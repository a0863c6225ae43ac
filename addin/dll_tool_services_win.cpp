// The dialogs behind the tool object's services. The Renumber tool is not part of this build
// yet: it declines, and the tool object goes on without it.
#include "addin/dll_tool_services_win.h"

#include "addin/show_options.h"

HRESULT DllToolServices::ShowPickList(ToolMembers& members) {
  return ::ShowPickList(members, dialogs_, codePage_);
}
HRESULT DllToolServices::ShowOptions(ToolMembers& members) {
  return ::ShowOptions(members, dialogs_, codePage_);
}
HRESULT DllToolServices::RenumberSelection(ToolMembers&, HostApp&) {
  return E_NOTIMPL;
}
