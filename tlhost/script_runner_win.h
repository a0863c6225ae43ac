// Runs a host script in the reference host's window: each step becomes the window messages or
// menu commands a user's input produces, or a check of what the host shows. Answers for modal
// dialogs wait in a queue; every few milliseconds (in the dialog's own modal loop too) the
// runner looks for a dialog of this thread and plays the answers queued for it.
#pragma once

#include <deque>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "tlhost/host_script.h"
#include "tlhost/host_window_win.h"

class ScriptRunner {
 public:
  // Files the script saves go into `outFolder` (made with its parents when missing) unless they
  // name a full path.
  ScriptRunner(SimHost& host, std::wstring outFolder, HostWindow::Log log);
  void Attach(HostWindow& window) { window_ = &window; }
  // What the window calls on every tick.
  void OnTick();

  // Runs the steps until the first failure; then Failure() names the file, the line and what
  // differed. The host shuts down at the end either way.
  bool Run(const std::vector<ScriptStep>& steps);
  const std::string& Failure() const { return failure_; }

 private:
  void Step(const ScriptStep& step);
  void Expect(const ScriptStep& step);
  void ExpectFile(const ScriptStep& step, const std::wstring& path);
  void Save(const ScriptStep& step);
  void Machine(const ScriptStep& step);
  void RunOtherHosts(const ScriptStep& step);
  void Fail(const ScriptStep& step, const std::string& what);
  bool NeedAddin(const ScriptStep& step, bool loaded);
  int ToolIndex(const std::string& name) const;
  void SendClick(const ScriptStep& step, UINT down, UINT up, bool twice);
  void AnswerDialog(HWND dialog);
  bool PlayAnswer(HWND dialog, const ScriptStep& answer);
  void Pump();
  std::wstring OutPath(const std::string& name) const;

  SimHost& host_;
  HostWindow* window_ = nullptr;
  std::wstring outFolder_;
  HostWindow::Log log_;
  std::deque<const ScriptStep*> answers_;       // `dialog` steps waiting for their dialog
  std::map<HWND, const ScriptStep*> answered_;  // dialogs whose answers were played
  const ScriptStep* current_ = nullptr;         // the step being run
  std::string failure_;
};
