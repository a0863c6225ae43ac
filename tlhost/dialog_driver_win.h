// The simulated user of the reference host and the dialog tests: answers the next modal dialog
// from a second thread. It waits for the dialog by its caption, then reads and sets control
// texts and states, selects list entries and clicks buttons by id, by sending the window
// messages that a user's actions send.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <thread>

class DialogUser {
 public:
  explicit DialogUser(HWND dialog) : dialog_(dialog) {}
  HWND dialog() const { return dialog_; }

  std::wstring Text(int id) const;
  void Type(int id, const std::wstring& text);  // sets the text; the edit sends EN_CHANGE
  bool IsEnabled(int id) const;
  int Check(int id) const;
  void Click(int id);  // a button press: BM_CLICK
  int ListCount(int id) const;
  std::wstring ListText(int id, int index) const;
  int ListSelection(int id) const;
  // The id of the control that has the focus in the dialog's thread; 0 when none has.
  int Focus() const;
  void SelectListEntry(int id, int index);       // selects and sends LBN_SELCHANGE
  void DoubleClickListEntry(int id, int index);  // selects and sends LBN_SELCHANGE, LBN_DBLCLK
  // The dialog as a picture, written as a PNG file; `part`, in the window's own pixels from its
  // top left corner, keeps only that part of it.
  bool SaveScreenshot(const std::wstring& path) const;
  bool SaveScreenshot(const std::wstring& path, const RECT& part) const;

 private:
  void Notify(int id, int code);
  HWND dialog_;
};

// Starts waiting at construction; Finish() joins and tells whether the dialog was found and the
// actions ran. The actions run on the driver's thread while the dialog's own thread is inside
// its modal loop.
class DialogDriver {
 public:
  DialogDriver(std::wstring caption, std::function<void(DialogUser&)> actions, DWORD timeoutMs = 30000);
  ~DialogDriver();
  bool Finish();

 private:
  std::thread thread_;
  bool found_ = false;
  bool joined_ = false;
};
