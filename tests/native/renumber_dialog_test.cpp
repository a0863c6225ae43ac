// The Renumber dialog's behaviour, played by a scripted user: its opening state, the live
// preview, the Start At field's bad input, and what OK and Cancel hand back.
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
  template <size_t N>
  void ClickRadio(const int (&group)[N], int32_t position) {
    runner.Then([this, &group, position](ScriptedDialog& d) {
      for (size_t i = 0; i < N; ++i) d.SetCheck(group[i], static_cast<int32_t>(i) == position ? kChecked : kUnchecked);
      d.SetFocus(group[position]);
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
  std::vector<std::string> Labels() const {
    std::vector<std::string> labels;
    for (const RenumberItem& item : dialog->Items) labels.push_back(item.newLabel);
    return labels;
  }

  ScriptedDialogRunner runner;
  std::unique_ptr<CRenumberDlg> dialog;
};

int CheckedObjects(ScriptedDialog& d) {
  for (int i = 0; i < 3; ++i)
    if (d.GetCheck(kRenumberObjectButtons[i]) == kChecked) return i;
  return -1;
}

int CheckedFormat(ScriptedDialog& d) {
  for (int i = 0; i < 3; ++i)
    if (d.GetCheck(kRenumberFormatButtons[i]) == kChecked) return i;
  return -1;
}

TEST_F(RenumberDialogTest, OpensWithTheStoredChoicesAndAPreview) {
  const struct {
    std::vector<std::string> texts;
    int32_t objects, fixOrder, reset;
    int checkedObjects;
    bool fixChecked, fixEnabled;
    std::string startAt;
    int format;
    std::string preview;
  } cases[] = {
      {{"7", "5", "9"}, 1, 1, 0, 1, true, true, "5", Arabic, "Renumber 3 items.\r\nRange: 5 - 7"},
      {{"Note", "B"}, 0, 0, 0, 0, true, false, "2", Letters, "Renumber 2 items.\r\nRange: B - C"},
      {{"3", "B", "iv"}, 2, 0, 1, 2, false, true, "2", Arabic, "Renumber 1 items.\r\nRange: 2 - 2"},
      {{"Note"}, 1, 1, 1, 1, true, true, "1", Arabic, "Renumber 0 items.\r\nRange:  - "},
      // A stored choice that names no button: the numeric leaders.
      {{"4", "2"}, 7, 1, 0, 1, true, true, "2", Arabic, "Renumber 2 items.\r\nRange: 2 - 3"},
      {{"4", "2"}, -1, 5, 0, 1, false, true, "2", Arabic, "Renumber 2 items.\r\nRange: 2 - 4"},
  };
  for (const auto& c : cases) {
    Make(c.texts, c.objects, c.fixOrder, c.reset);
    runner.Then([&c](ScriptedDialog& d) {
      EXPECT_EQ(c.checkedObjects, CheckedObjects(d)) << c.texts.front();
      EXPECT_EQ(c.fixChecked ? kChecked : kUnchecked, d.GetCheck(kRenumberFixOrder)) << c.texts.front();
      EXPECT_EQ(c.fixEnabled, d.IsEnabled(kRenumberFixOrder)) << c.texts.front();
      EXPECT_EQ(c.startAt, d.GetText(kRenumberStartAt)) << c.texts.front();
      EXPECT_EQ(c.reset ? kChecked : kUnchecked, d.GetCheck(kRenumberReset)) << c.texts.front();
      EXPECT_EQ(c.format, CheckedFormat(d)) << c.texts.front();
      EXPECT_EQ(c.preview, d.GetText(kRenumberPreview)) << c.texts.front();
    });
    runner.Click(kIdCancel);
    EXPECT_EQ(kIdCancel, Run());
    EXPECT_FALSE(dialog->Accepted);
    EXPECT_EQ(kRenumberDialog, runner.LastDialog()->TemplateId());
  }
  EXPECT_EQ(0, runner.Beeps());
}

TEST_F(RenumberDialogTest, AllLeadersChecksAndDisablesFixOrder) {
  Make({"5", "Note", "9"}, NumericLeaders, 0);
  runner.Type(kRenumberStartAt, "1");
  ExpectPreview("Renumber 2 items.\r\nRange: 1 - 5");  // relative: 5 and 9 become 1 and 5
  ClickRadio(kRenumberObjectButtons, AllLeaders);
  runner.Then([](ScriptedDialog& d) {
    EXPECT_EQ(kChecked, d.GetCheck(kRenumberFixOrder));
    EXPECT_FALSE(d.IsEnabled(kRenumberFixOrder));
  });
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
  EXPECT_EQ((std::vector<std::string>{"1", "", "5"}), Labels());
  EXPECT_EQ(6, dialog->NextNumber);
}

TEST_F(RenumberDialogTest, StartAtFieldHoldsAWholeNumberOrBeeps) {
  const struct {
    std::string typed;
    bool beeps;
    std::string preview;
  } cases[] = {
      {"10", false, "Renumber 2 items.\r\nRange: 10 - 11"},
      {"  0998", false, "Renumber 2 items.\r\nRange: 998 - 999"},
      {"-5", false, "Renumber 2 items.\r\nRange: E!Range 1 - 999 - E!Range 1 - 999"},
      {"", true, "Renumber 2 items.\r\nRange: E!Range 1 - 999 - 1"},
      {"12a", true, "Renumber 2 items.\r\nRange: E!Range 1 - 999 - 1"},
      {"99999999999", true, "Renumber 2 items.\r\nRange: E!Range 1 - 999 - 1"},
      {std::string(200, '7'), true, "Renumber 2 items.\r\nRange: E!Range 1 - 999 - 1"},
  };
  for (const auto& c : cases) {
    const int beepsBefore = runner.Beeps();
    Make({"3", "4"});
    runner.Type(kRenumberStartAt, c.typed);
    runner.Then([&c](ScriptedDialog& d) {
      EXPECT_EQ(c.preview, d.GetText(kRenumberPreview)) << "'" << c.typed << "'";
      EXPECT_EQ(kRenumberStartAt, d.Focus());
    });
    runner.Click(kIdOk);
    EXPECT_EQ(kIdOk, Run());
    EXPECT_EQ(c.beeps ? 2 : 0, runner.Beeps() - beepsBefore) << "'" << c.typed << "': on the change and on OK";
    EXPECT_EQ(c.beeps ? kRenumberStartAt : kIdOk, runner.LastDialog()->Focus()) << "'" << c.typed << "'";
  }
}

TEST_F(RenumberDialogTest, BadStartAtKeepsResetAndFormatAsLastRead) {
  Make({"3", "4"});
  ClickRadio(kRenumberFormatButtons, Letters);
  ExpectPreview("Renumber 2 items.\r\nRange: C - D");
  runner.Type(kRenumberStartAt, "");
  ClickRadio(kRenumberFormatButtons, Roman);  // read no further than the bad field
  ExpectPreview("Renumber 2 items.\r\nRange: E!Range 1 - 702 - A");
  runner.Check(kRenumberReset, kChecked);  // no preview: no beep
  runner.Then([this](ScriptedDialog&) { EXPECT_EQ(2, runner.Beeps()); });
  runner.Click(kIdOk);
  EXPECT_EQ(kIdOk, Run());
  EXPECT_EQ(3, runner.Beeps());
  EXPECT_TRUE(dialog->Accepted);
  EXPECT_EQ(0, dialog->StartAt);
  EXPECT_EQ(Letters, dialog->Format);
  EXPECT_EQ(0, dialog->ResetRunning);
  EXPECT_EQ((std::vector<std::string>{"E!Range 1 - 702", "A"}), Labels());
}

TEST_F(RenumberDialogTest, OkReadsEveryChoiceAndCancelKeepsNone) {
  Make({"2", "2", "5", "B"}, AllLeaders, 1, 0);
  runner.Type(kRenumberStartAt, "20");
  ClickRadio(kRenumberObjectButtons, SameFormatLeaders);
  runner.Check(kRenumberFixOrder, kUnchecked);
  ClickRadio(kRenumberFormatButtons, Roman);  // no leader is Roman
  ExpectPreview("Renumber 0 items.\r\nRange:  - ");
  ClickRadio(kRenumberFormatButtons, Arabic);
  runner.Check(kRenumberReset, kChecked);
  runner.Click(kIdOk);
  EXPECT_EQ(kIdOk, Run());
  EXPECT_TRUE(dialog->Accepted);
  EXPECT_EQ(SameFormatLeaders, dialog->Objects);
  EXPECT_EQ(0, dialog->FixOrder);
  EXPECT_EQ(20, dialog->StartAt);
  EXPECT_EQ(1, dialog->ResetRunning);
  EXPECT_EQ(Arabic, dialog->Format);
  EXPECT_EQ((std::vector<std::string>{"20", "20", "23", ""}), Labels());
  EXPECT_EQ(24, dialog->NextNumber);
  EXPECT_EQ(0, runner.Beeps());

  Make({"2", "5"});
  runner.Type(kRenumberStartAt, "7");
  runner.Click(kIdCancel);
  EXPECT_EQ(kIdCancel, Run());
  EXPECT_FALSE(dialog->Accepted);
}

}  // namespace
