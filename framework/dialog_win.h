// The dialog port over Win32 dialogs: each model runs as a modal dialog from the module's own
// dialog templates, owned by the window that is active when it opens.
#pragma once

#include "framework/code_page.h"
#include "framework/dialog.h"

class WindowsDialogRunner : public DialogRunner {
 public:
  // Texts pass between the core's 8-bit strings and the controls through `codePage`, which must
  // outlive the runner.
  explicit WindowsDialogRunner(const CodePage& codePage) : codePage_(codePage) {}

  int RunModal(DialogModel& model) override;
  void Beep() override;
  int ShowMessage(const std::string& text, const std::string& caption, unsigned flags) override;
  std::string ChooseFile(FileDialogKind kind, const std::string& suggested,
                         const std::vector<FileTypeFilter>& filters) override;
  char ListSeparator() override;

 private:
  const CodePage& codePage_;
};
