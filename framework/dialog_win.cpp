// The modal dialog base: a static dialog procedure that hands WM_INITDIALOG and WM_COMMAND to
// the model, and the model's controls implemented with messages to the dialog's children. No
// exception may unwind through user32, so the procedure catches them all and ends the dialog
// with -1, the result of a dialog that could not run.
#include "framework/dialog_win.h"

#include <windows.h>

#include <algorithm>
#include <commdlg.h>
#include <optional>

#include "framework/list_box_fill_win.h"
#include "framework/module_win.h"
#include "framework/utf8.h"
#include "framework/wide_text_win.h"

static_assert(kButtonClicked == BN_CLICKED && kEditChanged == EN_CHANGE && kListSelectionChanged == LBN_SELCHANGE &&
                  kListDoubleClicked == LBN_DBLCLK,
              "notification codes carry the Windows values");
static_assert(kIdOk == IDOK && kIdCancel == IDCANCEL && kIdYes == IDYES && kIdNo == IDNO,
              "command ids carry the Windows values");
static_assert(kMbOkCancel == MB_OKCANCEL && kMbYesNo == MB_YESNO && kMbIconError == MB_ICONERROR &&
                  kMbIconQuestion == MB_ICONQUESTION && kMbIconExclamation == MB_ICONEXCLAMATION &&
                  kMbIconInformation == MB_ICONINFORMATION,
              "message box flags carry the Windows values");
static_assert(kUnchecked == BST_UNCHECKED && kChecked == BST_CHECKED && kIndeterminate == BST_INDETERMINATE &&
                  kListError == LB_ERR,
              "check states and list results carry the Windows values");

namespace {

class WindowControls : public DialogControls {
 public:
  WindowControls(HWND dialog, const CodePage& codePage, DialogTexts texts)
      : dialog_(dialog), codePage_(codePage), utf8_(texts == DialogTexts::Utf8) {}

  std::string GetText(int id) override {
    const HWND control = GetDlgItem(dialog_, id);
    std::u16string text(static_cast<size_t>(GetWindowTextLengthW(control)) + 1, u'\0');
    const int length = GetWindowTextW(control, reinterpret_cast<wchar_t*>(&text[0]), static_cast<int>(text.size()));
    text.resize(length > 0 ? static_cast<size_t>(length) : 0);
    return Narrow(text);
  }
  void SetText(int id, const std::string& text) override { SetDlgItemTextW(dialog_, id, WideText(Utf16(text))); }
  void SetTitle(const std::string& text) override { SetWindowTextW(dialog_, WideText(Utf16(text))); }
  void Enable(int id, bool enable) override { EnableWindow(GetDlgItem(dialog_, id), enable); }
  bool IsEnabled(int id) override { return IsWindowEnabled(GetDlgItem(dialog_, id)) != FALSE; }
  int GetCheck(int id) override { return static_cast<int>(IsDlgButtonChecked(dialog_, id)); }
  void SetCheck(int id, int state) override { CheckDlgButton(dialog_, id, static_cast<UINT>(state)); }
  void SetFocus(int id) override {
    // WM_NEXTDLGCTL also moves the default button along, which SetFocus would not. It selects an
    // edit's whole text as well, so an edit that has the focus already (the user types into it)
    // keeps it as it is.
    const HWND control = GetDlgItem(dialog_, id);
    if (GetFocus() != control) SendMessageW(dialog_, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(control), TRUE);
    focusSet_ = true;
  }

  void LimitText(int id, size_t characters) override { Send(id, EM_LIMITTEXT, characters, 0); }

  void ListReset(int id) override { Send(id, LB_RESETCONTENT, 0, 0); }
  int ListAdd(int id, const std::string& text) override { return Index(Send(id, LB_ADDSTRING, 0, Text(Utf16(text)))); }
  int ListInsert(int id, int index, const std::string& text) override {
    return Index(Send(id, LB_INSERTSTRING, static_cast<WPARAM>(index), Text(Utf16(text))));
  }
  void ListAddAll(int id, const std::vector<std::string_view>& texts) override {
    std::vector<std::u16string> wide;
    wide.reserve(texts.size());
    for (std::string_view text : texts) wide.push_back(Utf16(text));
    AddListBoxStrings(GetDlgItem(dialog_, id), wide);
  }
  int ListDelete(int id, int index) override { return Index(Send(id, LB_DELETESTRING, static_cast<WPARAM>(index), 0)); }
  int ListCount(int id) override { return Index(Send(id, LB_GETCOUNT, 0, 0)); }
  std::string ListGetText(int id, int index) override {
    const LRESULT length = Send(id, LB_GETTEXTLEN, static_cast<WPARAM>(index), 0);
    if (length < 0) return std::string();
    std::u16string text(static_cast<size_t>(length) + 1, u'\0');
    const LRESULT got = Send(id, LB_GETTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&text[0]));
    text.resize(got > 0 ? static_cast<size_t>(got) : 0);
    return Narrow(text);
  }
  std::vector<std::string> ListGetAll(int id) override {
    // One look-up of the control for all entries: each look-up costs Wine a server call.
    const HWND list = GetDlgItem(dialog_, id);
    const LRESULT count = SendMessageW(list, LB_GETCOUNT, 0, 0);
    std::vector<std::string> texts;
    texts.reserve(count > 0 ? static_cast<size_t>(count) : 0);
    std::u16string text;
    for (LRESULT i = 0; i < count; ++i) {
      const LRESULT length = SendMessageW(list, LB_GETTEXTLEN, static_cast<WPARAM>(i), 0);
      text.assign(length > 0 ? static_cast<size_t>(length) + 1 : 1, u'\0');
      const LRESULT got = SendMessageW(list, LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&text[0]));
      texts.push_back(Narrow(std::u16string_view(text.data(), got > 0 ? static_cast<size_t>(got) : 0)));
    }
    return texts;
  }
  int ListGetSel(int id) override { return Index(Send(id, LB_GETCURSEL, 0, 0)); }
  void ListSetSel(int id, int index) override { Send(id, LB_SETCURSEL, static_cast<WPARAM>(index), 0); }
  int ListFindExact(int id, int startAfter, const std::string& text) override {
    return Index(Send(id, LB_FINDSTRINGEXACT, static_cast<WPARAM>(startAfter), Text(Utf16(text))));
  }
  void SetRedraw(int id, bool redraw) override {
    Send(id, WM_SETREDRAW, redraw ? TRUE : FALSE, 0);
    if (redraw) InvalidateRect(GetDlgItem(dialog_, id), nullptr, TRUE);
  }

  void EndDialog(int result) override { ::EndDialog(dialog_, result); }

  // Whether the model chose the focus; the dialog then must not set its own.
  bool FocusSet() const { return focusSet_; }

 private:
  std::u16string Utf16(std::string_view text) const { return utf8_ ? Utf8ToUtf16(text) : codePage_.ToUtf16(text); }
  std::string Narrow(std::u16string_view text) const { return utf8_ ? Utf16ToUtf8(text) : codePage_.ToAnsi(text); }
  LRESULT Send(int id, UINT message, WPARAM wParam, LPARAM lParam) {
    return SendDlgItemMessageW(dialog_, id, message, wParam, lParam);
  }
  static LPARAM Text(const std::u16string& text) { return reinterpret_cast<LPARAM>(text.c_str()); }
  // LB_ERRSPACE and LB_ERR both come out as kListError.
  static int Index(LRESULT result) { return result < 0 ? kListError : static_cast<int>(result); }

  HWND dialog_;
  const CodePage& codePage_;
  bool utf8_;  // the model's texts are UTF-8, not ANSI
  bool focusSet_ = false;
};

// What the dialog procedure needs, for as long as DialogBoxParam runs.
struct Session {
  DialogModel& model;
  const CodePage& codePage;
  std::optional<WindowControls> controls;
};

INT_PTR CALLBACK DialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  try {
    if (message == WM_INITDIALOG) {
      auto* session = reinterpret_cast<Session*>(lParam);
      SetWindowLongPtrW(dialog, DWLP_USER, lParam);
      session->controls.emplace(dialog, session->codePage, session->model.Texts());
      session->model.OnInit(*session->controls);
      return session->controls->FocusSet() ? FALSE : TRUE;
    }
    // Messages that come before WM_INITDIALOG (WM_SETFONT ...) find no session yet.
    auto* session = reinterpret_cast<Session*>(GetWindowLongPtrW(dialog, DWLP_USER));
    if (session == nullptr || !session->controls || message != WM_COMMAND) return FALSE;
    session->model.OnCommand(*session->controls, LOWORD(wParam), HIWORD(wParam));
    return TRUE;
  } catch (...) {
    EndDialog(dialog, -1);
    return TRUE;
  }
}

}  // namespace

int WindowsDialogRunner::RunModal(DialogModel& model) {
  Session session{model, codePage_, std::nullopt};
  const INT_PTR result = DialogBoxParamW(ModuleInstance(), MAKEINTRESOURCEW(model.TemplateId()), GetActiveWindow(),
                                         DialogProc, reinterpret_cast<LPARAM>(&session));
  return static_cast<int>(result);
}

// The system's simple beep, which sounds even without a sound card.
void WindowsDialogRunner::Beep() {
  MessageBeep(0xFFFFFFFF);
}

// The add-in's messages stand on their own: no window owns them.
int WindowsDialogRunner::ShowMessage(const std::string& text, const std::string& caption, unsigned flags) {
  try {
    return MessageBoxW(nullptr, WideText(codePage_.ToUtf16(text)), WideText(codePage_.ToUtf16(caption)), flags);
  } catch (...) {
    return 0;  // what MessageBox gives when it cannot show
  }
}

std::string WindowsDialogRunner::ChooseFile(FileDialogKind kind, const std::string& suggested,
                                            const std::vector<FileTypeFilter>& filters) {
  try {
    // The filter is pairs of texts, each ended by a NUL, and one more NUL at the end.
    std::wstring filter;
    for (const FileTypeFilter& type : filters) {
      filter += reinterpret_cast<const wchar_t*>(Utf8ToUtf16(type.name).c_str());
      filter += L'\0';
      filter += reinterpret_cast<const wchar_t*>(Utf8ToUtf16(type.patterns).c_str());
      filter += L'\0';
    }
    filter += L'\0';
    std::wstring file(32768, L'\0');
    const std::u16string start = Utf8ToUtf16(suggested);
    std::copy(start.begin(), start.begin() + static_cast<std::ptrdiff_t>(std::min(start.size(), file.size() - 1)),
              file.begin());
    OPENFILENAMEW dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = GetActiveWindow();
    dialog.lpstrFilter = filter.c_str();
    dialog.lpstrFile = &file[0];
    dialog.nMaxFile = static_cast<DWORD>(file.size());
    dialog.Flags = OFN_EXPLORER | OFN_HIDEREADONLY | OFN_NOCHANGEDIR |
                   (kind == FileDialogKind::Open ? OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST : OFN_OVERWRITEPROMPT);
    dialog.lpstrDefExt = kind == FileDialogKind::Save ? L"csv" : nullptr;
    const BOOL chosen = kind == FileDialogKind::Open ? GetOpenFileNameW(&dialog) : GetSaveFileNameW(&dialog);
    if (!chosen) return {};
    file.resize(file.find(L'\0'));
    return Utf16ToUtf8(std::u16string(file.begin(), file.end()));
  } catch (...) {
    return {};  // out of memory: as if cancelled
  }
}

char WindowsDialogRunner::ListSeparator() {
  char separator[8] = {};
  // A separator of one ASCII character is taken; anything else gives the comma.
  if (GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SLIST, separator, sizeof separator) == 2 &&
      static_cast<unsigned char>(separator[0]) < 0x80 && separator[0] > ' ') {
    return separator[0];
  }
  return ',';
}
