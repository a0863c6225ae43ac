// The messages are those a user's input produces: a click is BM_CLICK (the button then sends
// WM_COMMAND/BN_CLICKED to its dialog); a list selection by mouse is LB_SETCURSEL followed by the
// list box's own LBN_SELCHANGE notification, which SetCurSel alone does not send.
#include "tlhost/dialog_driver_win.h"

#include "tlhost/png_file_win.h"

#include <vector>

namespace {

HWND FindDialog(const std::wstring& caption) {
  // Dialogs are of the system's dialog class "#32770".
  return FindWindowW(L"#32770", caption.c_str());
}

}  // namespace

std::wstring DialogUser::Text(int id) const {
  HWND control = GetDlgItem(dialog_, id);
  const int length = GetWindowTextLengthW(control);
  std::wstring text(static_cast<size_t>(length) + 1, L'\0');
  GetWindowTextW(control, &text[0], length + 1);
  text.resize(static_cast<size_t>(length));
  return text;
}

void DialogUser::Type(int id, const std::wstring& text) {
  SetDlgItemTextW(dialog_, id, text.c_str());
}

bool DialogUser::IsEnabled(int id) const {
  return IsWindowEnabled(GetDlgItem(dialog_, id)) != FALSE;
}

int DialogUser::Check(int id) const {
  return static_cast<int>(IsDlgButtonChecked(dialog_, id));
}

void DialogUser::Click(int id) {
  SendMessageW(GetDlgItem(dialog_, id), BM_CLICK, 0, 0);
}

int DialogUser::ListCount(int id) const {
  return static_cast<int>(SendDlgItemMessageW(dialog_, id, LB_GETCOUNT, 0, 0));
}

std::wstring DialogUser::ListText(int id, int index) const {
  const LRESULT length = SendDlgItemMessageW(dialog_, id, LB_GETTEXTLEN, static_cast<WPARAM>(index), 0);
  if (length == LB_ERR) return std::wstring();
  std::wstring text(static_cast<size_t>(length) + 1, L'\0');
  SendDlgItemMessageW(dialog_, id, LB_GETTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&text[0]));
  text.resize(static_cast<size_t>(length));
  return text;
}

int DialogUser::ListSelection(int id) const {
  return static_cast<int>(SendDlgItemMessageW(dialog_, id, LB_GETCURSEL, 0, 0));
}

int DialogUser::Focus() const {
  GUITHREADINFO info = {};
  info.cbSize = sizeof info;
  if (!GetGUIThreadInfo(GetWindowThreadProcessId(dialog_, nullptr), &info) || info.hwndFocus == nullptr) return 0;
  return GetDlgCtrlID(info.hwndFocus);
}

void DialogUser::Notify(int id, int code) {
  SendMessageW(dialog_, WM_COMMAND, MAKEWPARAM(id, code), reinterpret_cast<LPARAM>(GetDlgItem(dialog_, id)));
}

void DialogUser::SelectListEntry(int id, int index) {
  SendDlgItemMessageW(dialog_, id, LB_SETCURSEL, static_cast<WPARAM>(index), 0);
  Notify(id, LBN_SELCHANGE);
}

void DialogUser::DoubleClickListEntry(int id, int index) {
  SelectListEntry(id, index);
  Notify(id, LBN_DBLCLK);
}

bool DialogUser::SaveScreenshot(const std::wstring& path) const {
  RECT bounds = {};
  if (!GetWindowRect(dialog_, &bounds)) return false;
  return SaveScreenshot(path, RECT{0, 0, bounds.right - bounds.left, bounds.bottom - bounds.top});
}

bool DialogUser::SaveScreenshot(const std::wstring& path, const RECT& part) const {
  RECT bounds = {};
  if (!GetWindowRect(dialog_, &bounds) || part.right <= part.left || part.bottom <= part.top) return false;
  OffsetRect(&bounds, part.left, part.top);
  const int width = part.right - part.left, height = part.bottom - part.top;
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
  HGDIOBJ old = SelectObject(memory, bitmap);
  // The dialog as it stands on the screen, once it has painted itself and its controls (painted
  // now, by a message sent to its thread when that is another). Wine copies the painting of the
  // process's windows to the screen whenever a thread waits for messages: a wait that ends at
  // once does it, from any thread, without sleeping.
  RedrawWindow(dialog_, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
  MsgWaitForMultipleObjects(0, nullptr, FALSE, 0, QS_ALLINPUT);
  const bool drawn = BitBlt(memory, 0, 0, width, height, screen, bounds.left, bounds.top, SRCCOPY) != FALSE;
  SelectObject(memory, old);
  const bool written = drawn && SUCCEEDED(SaveBitmapAsPng(bitmap, path.c_str()));
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  return written;
}

DialogDriver::DialogDriver(std::wstring caption, std::function<void(DialogUser&)> actions, DWORD timeoutMs)
    : thread_([this, caption, actions, timeoutMs] {
        const DWORD start = GetTickCount();
        HWND dialog = nullptr;
        while ((dialog = FindDialog(caption)) == nullptr || !IsWindowVisible(dialog)) {
          if (GetTickCount() - start > timeoutMs) return;
          Sleep(20);
        }
        found_ = true;
        DialogUser user(dialog);
        actions(user);
      }) {}

DialogDriver::~DialogDriver() {
  Finish();
}

bool DialogDriver::Finish() {
  if (!joined_ && thread_.joinable()) thread_.join();
  joined_ = true;
  return found_;
}
