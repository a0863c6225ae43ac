// The native stand-in of the dialog port: it simulates a dialog's controls as the system's
// controls behave and plays a user's actions, scripted by the test before RunModal, on whatever
// dialog is open at the time (a dialog may open another).
//
//   runner.DeclareEdit(kNameEdit);
//   runner.DeclareListBox(kEntries, /*sorted=*/true);
//   runner.Type(kNameEdit, "B12");
//   runner.Then([](ScriptedDialog& dialog) { EXPECT_TRUE(dialog.IsEnabled(kAdd)); });
//   runner.Click(kIdOk);
//   EXPECT_EQ(runner.RunModal(model), kIdOk);
//
// When the script runs out while a dialog is open, the user presses Escape: the model gets
// kIdCancel, and if it does not end the dialog, the dialog ends with kIdCancel anyway. Either
// way ScriptRanOut() tells that the script was too short.
//
// Acting on a disabled control, or on a control of the wrong kind, is not passed to the model
// but recorded in Problems(), as is a model that leaves drawing of a control turned off after
// handling an event; a test that expects none checks that the list is empty.
#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "framework/dialog.h"

class ScriptedDialogRunner;

// The simulated controls of one dialog while it runs, and as they were when it ended.
class ScriptedDialog : public DialogControls {
 public:
  ScriptedDialog(ScriptedDialogRunner& runner, DialogModel& model);

  std::string GetText(int id) override;
  void SetText(int id, const std::string& text) override;
  void Enable(int id, bool enable) override;
  bool IsEnabled(int id) override;
  int GetCheck(int id) override;
  void SetCheck(int id, int state) override;
  void SetFocus(int id) override;
  void LimitText(int id, size_t characters) override;
  // What the user's typing or pasting leaves of `text` in the edit `id`.
  std::string Limited(int id, const std::string& text);
  void ListReset(int id) override;
  int ListAdd(int id, const std::string& text) override;
  int ListInsert(int id, int index, const std::string& text) override;
  void ListAddAll(int id, const std::vector<std::string_view>& texts) override;
  int ListDelete(int id, int index) override;
  int ListCount(int id) override;
  std::string ListGetText(int id, int index) override;
  std::vector<std::string> ListGetAll(int id) override;
  int ListGetSel(int id) override;
  void ListSetSel(int id, int index) override;
  int ListFindExact(int id, int startAfter, const std::string& text) override;
  void SetRedraw(int id, bool redraw) override;
  void SetTitle(const std::string& text) override { title_ = text; }
  void EndDialog(int result) override;

  // Inspection for the tests.
  int TemplateId() const { return templateId_; }
  int Focus() const { return focus_; }                 // 0 when no control has had the focus
  const std::string& Title() const { return title_; }  // empty while the template's caption shows
  std::vector<std::string> ListItems(int id) const;
  bool Ended() const { return ended_; }
  int Result() const { return result_; }

 private:
  friend class ScriptedDialogRunner;

  struct Control {
    std::string text;
    bool enabled = true;
    int check = kUnchecked;
    std::vector<std::string> items;
    int selection = kListError;
    bool redraw = true;
    size_t limit = SIZE_MAX;  // the user's typing is cut to it, counted in bytes
  };

  Control& At(int id) { return controls_[id]; }
  // The list box `id`, or null (and a problem recorded) when `id` is no declared list box.
  Control* List(int id, const char* operation);
  void Notify(int id, int notifyCode);
  void Init();
  // Whether the user can act on control `id`; records a problem when not.
  bool CanAct(int id, const char* action);
  void CheckRedraw();
  void Close() { model_ = nullptr; }

  ScriptedDialogRunner& runner_;
  DialogModel* model_;
  int templateId_;
  std::map<int, Control> controls_;
  int focus_ = 0;
  std::string title_;
  bool ended_ = false;
  int result_ = 0;
};

class ScriptedDialogRunner : public DialogRunner {
 public:
  struct Message {
    std::string text;
    std::string caption;
    unsigned flags;
  };

  // The kinds of control that behave differently, for every dialog the runner shows.
  void DeclareEdit(int id);
  void DeclareListBox(int id, bool sorted);

  // The script: the user's actions in the order given.
  // Replaces the text, as a paste over the whole field does: cut to the edit's limit, one
  // kEditChanged.
  void Type(int editId, const std::string& text);
  void Select(int listId, int index);       // a click: kListSelectionChanged
  void DoubleClick(int listId, int index);  // kListSelectionChanged, kListDoubleClicked
  void Click(int buttonId);                 // kButtonClicked, kIdOk and kIdCancel too
  void Check(int checkBoxId, int state);    // the box shows `state`, then kButtonClicked
  void Then(std::function<void(ScriptedDialog&)> step);

  // The answer of the next message box; without one a message box gives its first button.
  void AnswerNextMessage(int answer);
  // The next RunModal cannot show its dialog and gives -1.
  void FailNextShow();

  int RunModal(DialogModel& model) override;
  void Beep() override { ++beeps_; }
  int ShowMessage(const std::string& text, const std::string& caption, unsigned flags) override;
  // The answer of the next file dialog (a path, or empty for Cancel); without one it is cancelled.
  void AnswerNextFileDialog(std::string path) { fileAnswers_.push_back(std::move(path)); }
  std::string ChooseFile(FileDialogKind kind, const std::string& suggested,
                         const std::vector<FileTypeFilter>& filters) override;
  char ListSeparator() override { return listSeparator_; }
  void SetListSeparator(char separator) { listSeparator_ = separator; }

  // What happened.
  int Beeps() const { return beeps_; }
  const std::vector<Message>& Messages() const { return messages_; }
  const std::vector<int>& ShownTemplates() const { return shownTemplates_; }
  bool ScriptRanOut() const { return scriptRanOut_; }
  size_t PendingSteps() const { return steps_.size(); }
  const std::vector<std::string>& Problems() const { return problems_; }
  // The dialog that ended last, as it was then; null before any has ended. Its model is gone:
  // changing its controls notifies nobody.
  ScriptedDialog* LastDialog() { return lastDialog_.get(); }

 private:
  friend class ScriptedDialog;

  bool IsEdit(int id) const { return edits_.count(id) != 0; }
  bool IsListBox(int id) const { return listBoxes_.count(id) != 0; }
  bool IsSorted(int id) const;
  // Plays a click on entry `index` of a list box; false when the click could not be made.
  bool ClickEntry(ScriptedDialog& dialog, int listId, int index);
  void AddProblem(const std::string& problem) { problems_.push_back(problem); }

  std::set<int> edits_;
  std::map<int, bool> listBoxes_;  // id -> sorted
  std::deque<std::function<void(ScriptedDialog&)>> steps_;
  std::deque<int> messageAnswers_;
  std::deque<std::string> fileAnswers_;
  char listSeparator_ = ',';
  bool failNextShow_ = false;
  int beeps_ = 0;
  std::vector<Message> messages_;
  std::vector<int> shownTemplates_;
  bool scriptRanOut_ = false;
  std::vector<std::string> problems_;
  std::unique_ptr<ScriptedDialog> lastDialog_;
};
