// The dialogs behind the tool object's services.
#include "addin/com_server/dll_tool_services_win.h"

#include "addin/tool/renumber_glue.h"
#include "addin/tool/options_glue.h"

HRESULT DllToolServices::ShowPickList(StoredOptions& options, std::u16string& pickText) {
  return ::ShowPickList(pickList_, options, pickText, dialogs_, codePage_);
}
// The options dialog edits the picklist too ("List ..."): a change it confirms is saved.
HRESULT DllToolServices::ShowOptions(StoredOptions& options, int32_t& runningNumber) {
  return EditSharedPickList(pickList_, options, dialogs_,
                            [&](bool) { return ::ShowOptions(options, runningNumber, dialogs_, codePage_); });
}
HRESULT DllToolServices::RenumberSelection(StoredOptions& options, int32_t& runningNumber, HostApp& app,
                                           const std::function<bool()>& hostStillHeld) {
  return RunRenumberTool(options, runningNumber, app, dialogs_, codePage_, hostStillHeld, &files_);
}
