// Until the settings store, the picklist and the dialogs are in, the add-in runs on the
// members' initial values, keeps nothing between sessions and declines the dialogs.
#include "addin/dll_tool_services_win.h"

void DllToolServices::LoadSettings(ToolMembers&) {}
void DllToolServices::SaveSettings(const ToolMembers&) {}
void DllToolServices::LoadPickList(ToolMembers&) {}
void DllToolServices::SavePickList(const ToolMembers&) {}
HRESULT DllToolServices::ShowPickList(ToolMembers&) { return E_NOTIMPL; }
HRESULT DllToolServices::ShowOptions(ToolMembers&) { return E_NOTIMPL; }
HRESULT DllToolServices::RenumberSelection(ToolMembers&, HostApp&) { return E_NOTIMPL; }
