// The Renumber dialog's behaviour, played by a scripted user: its opening state, the live
// preview, the Start At field's bad input, and what OK hands back.
#include "renumber/renumber_dialog.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "testing/scripted_dialog_runner.h"

namespace {

class RenumberDialogTest : public testing::Test {
 protected:
  void Make(const std::vector<std::string>& texts, int32_t objects = NumericLeaders, int32_t fixOrder = 1,
            int32_t reset = 0) {
    runner.DeclareEdit(kRenumberStartAt);
    runner.DeclareEdit(kRenumberPreview);
    dialog = std::make_unique<CRenumberDlg>(runner, texts.size());
    for (size_t i = 0; i < texts.size(); ++i) {
      dialog->Items[i].isLeader = true;
      ReadLeaderLabel(texts[i], &dialog->Items[i]);
    }
    dialog->Objects = objects;
    dialog->FixOrder = fixOrder;
    dialog->ResetRunning = reset;
  }
  // A click on a radio button: the system's auto radio button unchecks the rest of its group.
  void ClickRadio(const int (&group)[3], int32_t position) {
    runner.Then([this, &group, position](ScriptedDialog& d) {
      for (int i = 0; i < 3; ++i) d.SetCheck(group[i], i == position ? kChecked : kUnchecked);
      dialog->OnCommand(d, group[position], kButtonClicked);
    });
  }
  void ExpectPreview(const std::string& text) {
    runner.Then([text](ScriptedDialog& d) { EXPECT_EQ(text, d.GetText(kRenumberPreview)); });
  }
  int Run() {
    const int result = runner.RunModal(*dialog);
    EXPECT_TRUE(runner.Problems().empty()) << runner.Problems().front();
    EXPECT_EQ(0u, runner.PendingSteps());
    return result;
  }

  ScriptedDialogRunner runner;
  std::unique_ptr<CRenumberDlg> dialog;
};

int Checked(ScriptedDialog& d, const int (&group)[3]) {
  for (int i = 0; i < 3; ++i)
    if (d.GetCheck(group[i]) == kChecked) return i;
  return -1;
}

TEST_F(RenumberDialogTest, OpensWithTheStoredChoicesAndAPreview) {
  const struct {
    std::vector<std::string> texts;
    int32_t objects, fixOrder, reset;
    int checkedObjects, fixCheck;
    bool fixEnabled;
    const char* startAt;
    int format;
    const char* preview;
  } cases[] = {
      {{"7", "5", "9"}, 1, 1, 0, 1, kChecked, true, "5", Arabic, "Renumber 3 items.\r\nRange: 5 - 7"},
      {{"Note", "B"}, 0, 0, 0, 0, kChecked, false, "2", Letters, "Renumber 2 items.\r\nRange: B - C"},
      {{"3", "B", "iv"}, 2, 0, 1, 2, kUnchecked, true, "2", Arabic, "Renumber 1 items.\r\nRange: 2 - 2"},
      {{"Note"}, 1, 1, 1, 1, kChecked, true, "1", Arabic, "Renumber 0 items.\r\nRange:  - "},
      // A stored choice that names no button counts as the numeric leaders; a check state
      // outside 0 to 2 shows unchecked.
      {{"4", "2"}, 7, 1, 0, 1, kChecked, true, "2", Arabic, "Renumber 2 items.\r\nRange: 2 - 3"},
      {{"4", "2"}, -1, 5, 0, 1, kUnchecked, true, "2", Arabic, "Renumber 2 items.\r\nRange: 2 - 4"},
  };
  for (const auto& c : cases) {
    Make(c.texts, c.objects, c.fixOrder, c.reset);
    runner.Then([&c](ScriptedDialog& d) {
      const std::string what = c.texts.front() + ", stored " + std::to_string(c.objects);
      EXPECT_EQ(c.checkedObjects, Checked(d, kRenumberObjectButtons)) << what;
      EXPECT_EQ(c.fixCheck, d.GetCheck(kRenumberFixOrder)) << what;
      EXPECT_EQ(c.fixEnabled, d.IsEnabled(kRenumberFixOrder)) << what;
      EXPECT_EQ(c.startAt, d.GetText(kRenumberStartAt)) << what;
      EXPECT_EQ(c.reset ? kChecked : kUnchecked, d.GetCheck(kRenumberReset)) << what;
      EXPECT_EQ(c.format, Checked(d, kRenumberFormatButtons)) << what;
      EXPECT_EQ(c.preview, d.GetText(kRenumberPreview)) << what;
    });
    runner.Click(kIdCancel);
    EXPECT_EQ(kIdCancel, Run());
    EXPECT_FALSE(dialog->Accepted);
  }
  EXPECT_EQ(0, runner.Beeps());
}

TEST_F(RenumberDialogTest, AllLeadersChecksAndDisablesFixOrder) {
  Make({"5", "Note", "9"}, SameFormatLeaders, 0);
  // A paste of 64,000 characters: the field keeps the 11 a number can take, here 1.
  runner.Type(kRenumberStartAt, "00000000001" + std::string(63989, '9'));
  ExpectPreview("Renumber 2 items.\r\nRange: 1 - 5");  // 5 and 9 keep their distance
  ClickRadio(kRenumberObjectButtons, AllLeaders);
  runner.Then([](ScriptedDialog& d) { EXPECT_FALSE(d.IsEnabled(kRenumberFixOrder)); });
  ExpectPreview("Renumber 3 items.\r\nRange: 1 - 3");
  ClickRadio(kRenumberObjectButtons, NumericLeaders);
  runner.Then([](ScriptedDialog& d) {
    EXPECT_EQ(kChecked, d.GetCheck(kRenumberFixOrder)) << "still checked";
    EXPECT_TRUE(d.IsEnabled(kRenumberFixOrder));
  });
  ExpectPreview("Renumber 2 items.\r\nRange: 1 - 2");
  runner.Check(kRenumberFixOrder, kUnchecked);
  ExpectPreview("Renumber 2 items.\r\nRange: 1 - 5");
  runner.Click(kIdOk);
  EXPECT_EQ(kIdOk, Run());
  EXPECT_TRUE(dialog->Accepted);
  EXPECT_EQ(NumericLeaders, dialog->Objects);
  EXPECT_EQ(0, dialog->FixOrder);
  EXPECT_EQ("5", dialog->Items[2].newLabel);
  EXPECT_EQ(6, dialog->NextNumber);
}

// A Start At that holds no whole number ("", "12a", "99999999999") beeps, takes the focus and
// counts as 0; the reading stops there.
TEST_F(RenumberDialogTest, BadStartAtBeepsCountsAsZeroAndKeepsResetAndFormat) {
  Make({"3", "4"});
  ClickRadio(kRenumberFormatButtons, Letters);
  runner.Type(kRenumberStartAt, "12a");
  runner.Then([](ScriptedDialog& d) { EXPECT_EQ(kRenumberStartAt, d.Focus()); });
  runner.Type(kRenumberStartAt, "");
  ClickRadio(kRenumberFormatButtons, Roman);  // read no further than the bad field
  ExpectPreview("Renumber 2 items.\r\nRange: E!Range 1 - 702 - A");
  runner.Check(kRenumberReset, kChecked);  // changes no preview: no beep
  runner.Then([this](ScriptedDialog&) { EXPECT_EQ(3, runner.Beeps()); });
  runner.Click(kIdOk);
  EXPECT_EQ(kIdOk, Run());
  EXPECT_EQ(4, runner.Beeps());
  EXPECT_EQ(kRenumberStartAt, runner.LastDialog()->Focus());
  EXPECT_TRUE(dialog->Accepted);
  EXPECT_EQ(0, dialog->StartAt);
  EXPECT_EQ(Letters, dialog->Format);
  EXPECT_EQ(0, dialog->ResetRunning);
}

// The order applies with Fix Order only, the tolerance with rows and columns only; the tips are
// read once, when an order first needs them; the report tells the labels as they are, in the
// chosen format. A tolerance that is no number beeps and leaves the last one in force.
TEST_F(RenumberDialogTest, OrderToleranceAndReport) {
  Make({"2", "2", "5", "Note"});
  runner.DeclareEdit(kRenumberTolerance);
  runner.DeclareEdit(kRenumberReport);
  runner.DeclareEdit(kRenumberSequence);
  int reads = 0;
  dialog->ReadTips = [&reads](std::vector<LeaderTip>* tips) {
    ++reads;
    *tips = {{true, 30, 10}, {true, 10, 10.4}, {true, 20, 9.8}, {true, 5, 50}};
  };
  const auto expect = [this](const char* preview, const char* sequence, bool ordersEnabled, bool toleranceEnabled,
                             const char* report) {
    runner.Then([=](ScriptedDialog& d) {
      EXPECT_EQ(preview, d.GetText(kRenumberPreview));
      EXPECT_EQ(sequence, d.GetText(kRenumberSequence));
      for (int id : kRenumberOrderButtons) EXPECT_EQ(ordersEnabled, d.IsEnabled(id)) << id;
      EXPECT_EQ(toleranceEnabled, d.IsEnabled(kRenumberTolerance)) << preview;
      EXPECT_EQ(report, d.GetText(kRenumberReport)) << preview;
    });
  };
  const auto order = [this](int32_t position) {
    runner.Then([this, position](ScriptedDialog& d) {
      for (int i = 0; i < 4; ++i) d.SetCheck(kRenumberOrderButtons[i], i == position ? kChecked : kUnchecked);
      dialog->OnCommand(d, kRenumberOrderButtons[position], kButtonClicked);
    });
  };
  runner.Type(kRenumberStartAt, "1");
  expect("Renumber 3 items.\r\nRange: 1 - 3", "2, 2, 5", true, false, "Twice or more: 2. Missing: 3-4.");
  runner.Then([&reads](ScriptedDialog&) { EXPECT_EQ(0, reads); });
  const auto labels = [this](const char* expected) {
    runner.Then([this, expected](ScriptedDialog&) {
      EXPECT_EQ(expected,
                dialog->Items[0].newLabel + "|" + dialog->Items[1].newLabel + "|" + dialog->Items[2].newLabel);
    });
  };
  labels("1|2|3");
  order(OrderByRows);  // one row within 2.5, below the leader that takes no part: left to right
  labels("3|1|2");
  expect("Renumber 3 items.\r\nRange: 1 - 3", "2, 5, 2", true, true, "Twice or more: 2. Missing: 3-4.");
  runner.Type(kRenumberTolerance, "0.1");  // three rows now, the top one first
  labels("2|1|3");
  runner.Type(kRenumberTolerance, "x");
  runner.Then([this](ScriptedDialog& d) {
    EXPECT_EQ(1, runner.Beeps());
    EXPECT_EQ(kRenumberTolerance, d.Focus());
  });
  labels("2|1|3");
  ClickRadio(kRenumberFormatButtons, Letters);
  expect("Renumber 3 items.\r\nRange: A - C", "2, 2, 5", true, true, "No number twice, none missing.");
  runner.Check(kRenumberFixOrder, kUnchecked);  // the distances are kept: no order applies
  expect("Renumber 3 items.\r\nRange: A - D", "2, 2, 5", false, false, "No number twice, none missing.");
  runner.Click(kIdOk);
  EXPECT_EQ(kIdOk, Run());
  EXPECT_EQ(1, reads);
  EXPECT_EQ(OrderByRows, dialog->Order);
  EXPECT_EQ("0.1", dialog->Tolerance);
  EXPECT_EQ(2, runner.Beeps()) << "once more for the format, none once no order applies";
}

}  // namespace
