// The dialog driver against the system's own modal dialogs: it must find a dialog by caption
// from its second thread and press its buttons while the first thread sits in the modal loop.
#include <gtest/gtest.h>

#include "tlhost/dialog_driver_win.h"

namespace {

TEST(DialogDriver, AnswersAMessageBox) {
  DialogDriver driver(L"Tallyline driver check", [](DialogUser& user) {
    EXPECT_TRUE(user.IsEnabled(IDNO));
    user.Click(IDNO);
  });
  const int answer = MessageBoxW(nullptr, L"Answer no", L"Tallyline driver check", MB_YESNO);
  EXPECT_TRUE(driver.Finish());
  EXPECT_EQ(IDNO, answer);
}

TEST(DialogDriver, GivesUpWhenNoDialogComes) {
  DialogDriver driver(
      L"No such dialog", [](DialogUser&) { ADD_FAILURE() << "no dialog was open"; }, 200);
  EXPECT_FALSE(driver.Finish());
}

}  // namespace
