// CAboutDlg, the about box that the options dialog opens: the tools' pictures, the product's
// name and version and its notice of rights. It exchanges no data.
#pragma once

#include "framework/dialog.h"
#include "resources/resource_ids.h"

constexpr int kAboutDialog = IDD_ABOUT;

class CAboutDlg : public DialogModel {
 public:
  int TemplateId() const override { return kAboutDialog; }
  void OnInit(DialogControls&) override {}
  void OnCommand(DialogControls& controls, int controlId, int notifyCode) override;
};

// Shows the about box until the user closes it.
void ShowAbout(DialogRunner& runner);
