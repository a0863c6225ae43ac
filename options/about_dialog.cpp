// The about box ends on its "Close" button (the Cancel id), Escape, the close box and Enter,
// which sends OK when no button has the focus.
#include "options/about_dialog.h"

void CAboutDlg::OnCommand(DialogControls& controls, int controlId, int) {
  if (controlId == kIdOk || controlId == kIdCancel) controls.EndDialog(controlId);
}

void ShowAbout(DialogRunner& runner) {
  CAboutDlg about;
  runner.RunModal(about);
}
