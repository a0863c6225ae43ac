// The dialog port. A dialog is a model in plain C++ that holds the dialog's state and reacts to
// its events through DialogControls, and a view that shows it: the Win32 dialog over the
// resource template on Windows, a scripted user in the tests. Texts are 8-bit: ANSI like the rest
// of the core, or UTF-8 for a model that says so (its controls then hold any character); the
// Windows view converts them through the code page port or from UTF-8.
//
// The numbers below are the Windows values, so that a view can pass them through unchanged.
#pragma once

#include <string>
#include <string_view>
#include <vector>

// Notification codes of WM_COMMAND.
constexpr int kButtonClicked = 0;         // BN_CLICKED
constexpr int kEditChanged = 0x300;       // EN_CHANGE
constexpr int kListSelectionChanged = 1;  // LBN_SELCHANGE
constexpr int kListDoubleClicked = 2;     // LBN_DBLCLK

// Dialog results and the command ids of the OK and Cancel buttons, and message box answers.
constexpr int kIdOk = 1;      // IDOK
constexpr int kIdCancel = 2;  // IDCANCEL
constexpr int kIdYes = 6;     // IDYES
constexpr int kIdNo = 7;      // IDNO

// Message box flags.
constexpr unsigned kMbOk = 0x0;                // MB_OK
constexpr unsigned kMbOkCancel = 0x1;          // MB_OKCANCEL
constexpr unsigned kMbYesNo = 0x4;             // MB_YESNO
constexpr unsigned kMbIconError = 0x10;        // MB_ICONERROR
constexpr unsigned kMbIconQuestion = 0x20;     // MB_ICONQUESTION
constexpr unsigned kMbIconExclamation = 0x30;  // MB_ICONEXCLAMATION
constexpr unsigned kMbIconInformation = 0x40;  // MB_ICONINFORMATION

// Check box states.
constexpr int kUnchecked = 0;      // BST_UNCHECKED
constexpr int kChecked = 1;        // BST_CHECKED
constexpr int kIndeterminate = 2;  // BST_INDETERMINATE

// What list box operations give on a bad index or a failed search.
constexpr int kListError = -1;  // LB_ERR

// What a model may do to its dialog. Control ids are those of the dialog template.
class DialogControls {
 public:
  virtual ~DialogControls() = default;

  virtual std::string GetText(int id) = 0;
  // Setting the text of an edit control makes it send kEditChanged, as the system's edit does.
  virtual void SetText(int id, const std::string& text) = 0;
  virtual void Enable(int id, bool enable) = 0;
  virtual bool IsEnabled(int id) = 0;
  virtual int GetCheck(int id) = 0;
  virtual void SetCheck(int id, int state) = 0;
  virtual void SetFocus(int id) = 0;
  // The most characters the user may type or paste into an edit control; the model's own SetText
  // is not limited, as with the system's edit.
  virtual void LimitText(int id, size_t characters) = 0;

  // List boxes with a single selection. ListAdd puts the entry in its sorted place when the list
  // box sorts (comparing without case) and at the end otherwise; ListInsert puts it at `index`
  // (-1: at the end) and never sorts. Both give the entry's index, or kListError.
  virtual void ListReset(int id) = 0;
  virtual int ListAdd(int id, const std::string& text) = 0;
  virtual int ListInsert(int id, int index, const std::string& text) = 0;
  // Adds every text as ListAdd would, one after the other, in the order given; one call for a
  // whole list, which a sorted list box takes in its own order without sorting each entry in.
  virtual void ListAddAll(int id, const std::vector<std::string_view>& texts) = 0;
  // Gives the number of entries left, or kListError for a bad index.
  virtual int ListDelete(int id, int index) = 0;
  virtual int ListCount(int id) = 0;
  // The entry's text; empty for a bad index.
  virtual std::string ListGetText(int id, int index) = 0;
  // Every entry's text, first to last.
  virtual std::vector<std::string> ListGetAll(int id) = 0;
  // The selected entry, or kListError when none is. Selecting by program sends no
  // kListSelectionChanged; -1 or a bad index removes the selection.
  virtual int ListGetSel(int id) = 0;
  virtual void ListSetSel(int id, int index) = 0;
  // The first entry after `startAfter` (-1: from the top, going round) whose whole text equals
  // `text` without regard to case, or kListError.
  virtual int ListFindExact(int id, int startAfter, const std::string& text) = 0;
  // Turns drawing of the control off for a batch of changes and on again.
  virtual void SetRedraw(int id, bool redraw) = 0;

  // The dialog's own caption, in place of the template's.
  virtual void SetTitle(const std::string& text) = 0;

  // Ends the dialog with `result` once the event in hand has been handled.
  virtual void EndDialog(int result) = 0;
};

// The encoding of the texts that a model and its controls exchange.
enum class DialogTexts { Ansi, Utf8 };

class DialogModel {
 public:
  virtual ~DialogModel() = default;

  // The resource id of the dialog template.
  virtual int TemplateId() const = 0;
  virtual DialogTexts Texts() const { return DialogTexts::Ansi; }
  virtual void OnInit(DialogControls& controls) = 0;
  // Every command, OK and Cancel included (Enter, Escape and the close box send those too); the
  // dialog only ends when the model calls EndDialog.
  virtual void OnCommand(DialogControls& controls, int controlId, int notifyCode) = 0;
};

// OK and Cancel as each dialog of the add-in takes them: OK runs the dialog's `confirm`, which
// ends the dialog or keeps it open for a field to mend; Cancel ends it unconfirmed. False for any
// other command, which the dialog handles itself.
template <class Confirm>
bool EndOnOkOrCancel(DialogControls& controls, int controlId, bool* confirmed, Confirm&& confirm) {
  if (controlId == kIdOk) {
    confirm();
    return true;
  }
  if (controlId != kIdCancel) return false;
  *confirmed = false;
  controls.EndDialog(kIdCancel);
  return true;
}

// The system's common file dialogs, and a line of their file types: "CSV files (*.csv)" with
// its patterns "*.csv".
enum class FileDialogKind { Open, Save };
struct FileTypeFilter {
  std::string name;
  std::string patterns;
};

class DialogRunner {
 public:
  virtual ~DialogRunner() = default;

  // Shows the dialog until the model ends it; gives the model's result, or -1 when the dialog
  // cannot be shown.
  virtual int RunModal(DialogModel& model) = 0;
  virtual void Beep() = 0;
  // A message box with kMb flags, owned by no window; gives the button pressed (kIdOk, kIdYes ...).
  virtual int ShowMessage(const std::string& text, const std::string& caption, unsigned flags) = 0;
  // The common Open or Save dialog, owned by the active window, starting at the file name
  // `suggested`: the chosen path in UTF-8, or empty after Cancel. Save asks before it replaces a file.
  virtual std::string ChooseFile(FileDialogKind kind, const std::string& suggested,
                                 const std::vector<FileTypeFilter>& filters) = 0;
  // The user's list separator (a regional setting), with which a spreadsheet splits columns.
  virtual char ListSeparator() { return ','; }
};
