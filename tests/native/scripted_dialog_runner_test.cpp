// The scripted dialog runner: the controls keep the system controls' rules (edits notify on
// every text change, sorted list boxes, selection bookkeeping), the script reaches the model as
// the user's clicks would, and a script that is too short ends the dialog as Escape does.
#include <gtest/gtest.h>

#include <utility>

#include "testing/scripted_dialog_runner.h"

namespace {

constexpr int kTemplate = 300;
constexpr int kName = 1001;
constexpr int kEntries = 1002;
constexpr int kAdd = 1003;
constexpr int kRemove = 1004;
constexpr int kCaption = 1005;
constexpr int kUnsorted = 1006;
constexpr int kKeep = 1007;

struct Event {
  int id;
  int code;
  bool operator==(const Event& other) const { return id == other.id && code == other.code; }
};

std::ostream& operator<<(std::ostream& out, const Event& event) {
  return out << "{" << event.id << ", " << event.code << "}";
}

// A small dialog of the add-in's kind: a name, a sorted list of names, Add and Remove. It ends
// on OK and Cancel unless told to ignore Cancel, and logs every command it gets.
class ListModel : public DialogModel {
 public:
  std::vector<Event> events;
  bool ignoreCancel = false;
  std::function<void(DialogControls&, int, int)> extra;

  int TemplateId() const override { return kTemplate; }

  void OnInit(DialogControls& controls) override {
    for (const char* name : {"b2", "A1", "c3"}) controls.ListAdd(kEntries, name);
    controls.SetText(kName, "");
    controls.SetFocus(kName);
  }

  void OnCommand(DialogControls& controls, int id, int code) override {
    events.push_back({id, code});
    if (extra) extra(controls, id, code);
    const std::string name = controls.GetText(kName);
    if (id == kName && code == kEditChanged) {
      controls.Enable(kAdd, !name.empty() && controls.ListFindExact(kEntries, -1, name) == kListError);
    } else if (id == kAdd && code == kButtonClicked) {
      controls.ListSetSel(kEntries, controls.ListAdd(kEntries, name));
      controls.SetText(kName, "");
    } else if (id == kRemove && code == kButtonClicked) {
      controls.ListDelete(kEntries, controls.ListGetSel(kEntries));
    } else if (id == kEntries && code == kListDoubleClicked) {
      controls.SetText(kName, controls.ListGetText(kEntries, controls.ListGetSel(kEntries)));
      controls.EndDialog(kIdOk);
    } else if (id == kIdOk || (id == kIdCancel && !ignoreCancel)) {
      controls.EndDialog(id);
    }
  }
};

class ScriptedDialogRunnerTest : public testing::Test {
 protected:
  ScriptedDialogRunnerTest() {
    runner.DeclareEdit(kName);
    runner.DeclareListBox(kEntries, true);
    runner.DeclareListBox(kUnsorted, false);
  }

  ScriptedDialogRunner runner;
  ListModel model;
};

TEST_F(ScriptedDialogRunnerTest, EditsNotifyOnTypingAndOnSetText) {
  runner.Then([this](ScriptedDialog& dialog) {
    // The SetText of OnInit reached the model while OnInit ran, as on Windows.
    EXPECT_EQ(model.events, (std::vector<Event>{{kName, kEditChanged}}));
    EXPECT_FALSE(dialog.IsEnabled(kAdd));
    EXPECT_EQ(dialog.Focus(), kName);
    dialog.SetText(kCaption, "not an edit");
  });
  runner.Type(kName, "d4");
  runner.Then([](ScriptedDialog& dialog) { EXPECT_TRUE(dialog.IsEnabled(kAdd)); });
  runner.Type(kName, "B2");
  runner.Then([](ScriptedDialog& dialog) { EXPECT_FALSE(dialog.IsEnabled(kAdd)); });
  runner.Click(kIdOk);

  EXPECT_EQ(runner.RunModal(model), kIdOk);
  EXPECT_EQ(model.events,
            (std::vector<Event>{
                {kName, kEditChanged}, {kName, kEditChanged}, {kName, kEditChanged}, {kIdOk, kButtonClicked}}));
  EXPECT_EQ(runner.LastDialog()->GetText(kName), "B2");
  EXPECT_FALSE(runner.ScriptRanOut());
  EXPECT_TRUE(runner.Problems().empty());
}

TEST_F(ScriptedDialogRunnerTest, SortedListBoxesInsertWithoutRegardToCase) {
  runner.Then([](ScriptedDialog& dialog) {
    EXPECT_EQ(dialog.ListItems(kEntries), (std::vector<std::string>{"A1", "b2", "c3"}));
    struct Case {
      const char* text;
      int index;
    };
    const Case cases[] = {{"a0", 0}, {"B1", 2}, {"zz", 5}, {"", 0}, {"C3", 5}};
    for (const Case& c : cases) EXPECT_EQ(dialog.ListAdd(kEntries, c.text), c.index) << c.text;
    EXPECT_EQ(dialog.ListItems(kEntries), (std::vector<std::string>{"", "a0", "A1", "B1", "b2", "C3", "c3", "zz"}));
    // Insertion never sorts.
    EXPECT_EQ(dialog.ListInsert(kEntries, 1, "zzz"), 1);
    EXPECT_EQ(dialog.ListInsert(kEntries, -1, "0"), 9);
    EXPECT_EQ(dialog.ListInsert(kEntries, 11, "x"), kListError);
    EXPECT_EQ(dialog.ListCount(kEntries), 10);
  });
  runner.Click(kIdOk);
  EXPECT_EQ(runner.RunModal(model), kIdOk);
  EXPECT_TRUE(runner.Problems().empty());
}

TEST_F(ScriptedDialogRunnerTest, UnsortedListsKeepTheSelectionOnItsEntry) {
  runner.Then([](ScriptedDialog& dialog) {
    for (const char* text : {"z", "y", "x"}) dialog.ListAdd(kUnsorted, text);
    EXPECT_EQ(dialog.ListGetSel(kUnsorted), kListError);
    dialog.ListSetSel(kUnsorted, 1);
    dialog.ListInsert(kUnsorted, 0, "w");
    EXPECT_EQ(dialog.ListGetText(kUnsorted, dialog.ListGetSel(kUnsorted)), "y");
    EXPECT_EQ(dialog.ListDelete(kUnsorted, 0), 3);
    EXPECT_EQ(dialog.ListGetSel(kUnsorted), 1);
    EXPECT_EQ(dialog.ListDelete(kUnsorted, 1), 2);
    EXPECT_EQ(dialog.ListGetSel(kUnsorted), kListError);
    EXPECT_EQ(dialog.ListDelete(kUnsorted, 2), kListError);
    dialog.ListSetSel(kUnsorted, 1);
    dialog.ListSetSel(kUnsorted, 7);
    EXPECT_EQ(dialog.ListGetSel(kUnsorted), kListError);
    EXPECT_EQ(dialog.ListGetText(kUnsorted, 5), "");

    dialog.ListAdd(kUnsorted, "Z");
    EXPECT_EQ(dialog.ListItems(kUnsorted), (std::vector<std::string>{"z", "x", "Z"}));
    EXPECT_EQ(dialog.ListFindExact(kUnsorted, -1, "z"), 0);
    EXPECT_EQ(dialog.ListFindExact(kUnsorted, 0, "z"), 2);
    EXPECT_EQ(dialog.ListFindExact(kUnsorted, 2, "Z"), 0);  // goes round
    EXPECT_EQ(dialog.ListFindExact(kUnsorted, -1, "z "), kListError);
    dialog.ListReset(kUnsorted);
    EXPECT_EQ(dialog.ListCount(kUnsorted), 0);
    EXPECT_EQ(dialog.ListFindExact(kUnsorted, -1, "z"), kListError);
  });
  runner.Click(kIdOk);
  EXPECT_EQ(runner.RunModal(model), kIdOk);
  EXPECT_TRUE(runner.Problems().empty());
}

TEST_F(ScriptedDialogRunnerTest, ClicksReachTheModelAsTheUserMakesThem) {
  runner.Type(kName, "b1");
  runner.Click(kAdd);
  runner.Then([](ScriptedDialog& dialog) {
    EXPECT_EQ(dialog.ListItems(kEntries), (std::vector<std::string>{"A1", "b1", "b2", "c3"}));
    EXPECT_EQ(dialog.ListGetSel(kEntries), 1);
    EXPECT_EQ(dialog.Focus(), kAdd);
  });
  runner.Select(kEntries, 0);
  runner.Click(kRemove);
  runner.Check(kKeep, kChecked);
  runner.DoubleClick(kEntries, 1);

  EXPECT_EQ(runner.RunModal(model), kIdOk);
  EXPECT_EQ(runner.LastDialog()->GetText(kName), "b2");
  EXPECT_EQ(runner.LastDialog()->GetCheck(kKeep), kChecked);
  const std::vector<Event> expected = {
      {kName, kEditChanged},
      {kName, kEditChanged},
      {kAdd, kButtonClicked},
      {kName, kEditChanged},
      {kEntries, kListSelectionChanged},
      {kRemove, kButtonClicked},
      {kKeep, kButtonClicked},
      {kEntries, kListSelectionChanged},
      {kEntries, kListDoubleClicked},
      {kName, kEditChanged},
  };
  EXPECT_EQ(model.events, expected);
  EXPECT_EQ(runner.PendingSteps(), 0u);
  EXPECT_TRUE(runner.Problems().empty());
}

TEST_F(ScriptedDialogRunnerTest, ARanOutScriptPressesEscape) {
  runner.Type(kName, "x");
  EXPECT_EQ(runner.RunModal(model), kIdCancel);
  EXPECT_TRUE(runner.ScriptRanOut());
  EXPECT_EQ(model.events.back(), (Event{kIdCancel, kButtonClicked}));

  // A model that does not end on Cancel is closed all the same.
  ScriptedDialogRunner other;
  ListModel stubborn;
  stubborn.ignoreCancel = true;
  EXPECT_FALSE(other.ScriptRanOut());
  EXPECT_EQ(other.RunModal(stubborn), kIdCancel);
  EXPECT_TRUE(other.ScriptRanOut());
  EXPECT_EQ(stubborn.events, (std::vector<Event>{{kIdCancel, kButtonClicked}}));
}

TEST_F(ScriptedDialogRunnerTest, TheDialogEndsWhereTheModelEndsIt) {
  runner.Click(kIdCancel);
  runner.Click(kAdd);
  EXPECT_EQ(runner.RunModal(model), kIdCancel);
  EXPECT_FALSE(runner.ScriptRanOut());
  EXPECT_EQ(runner.PendingSteps(), 1u);

  // The second click of a double click never comes when the first one ended the dialog.
  ListModel endsOnSelect;
  endsOnSelect.extra = [](DialogControls& controls, int id, int code) {
    if (id == kEntries && code == kListSelectionChanged) controls.EndDialog(42);
  };
  ScriptedDialogRunner other;
  other.DeclareListBox(kEntries, true);
  other.DoubleClick(kEntries, 0);
  EXPECT_EQ(other.RunModal(endsOnSelect), 42);
  EXPECT_EQ(endsOnSelect.events, (std::vector<Event>{{kEntries, kListSelectionChanged}}));
}

TEST_F(ScriptedDialogRunnerTest, ActionsTheUserCannotTakeAreRecordedNotPlayed) {
  runner.Click(kAdd);          // disabled while the name is empty
  runner.Type(kCaption, "x");  // no edit
  runner.Select(kEntries, 3);  // past the end
  runner.Select(kCaption, 0);  // no list box
  runner.Click(kIdOk);
  EXPECT_EQ(runner.RunModal(model), kIdOk);
  EXPECT_EQ(runner.Problems().size(), 4u);
  EXPECT_EQ(model.events, (std::vector<Event>{{kName, kEditChanged}, {kIdOk, kButtonClicked}}));
}

TEST_F(ScriptedDialogRunnerTest, ListOperationsOnOtherControlsAndDrawingLeftOffAreProblems) {
  model.extra = [](DialogControls& controls, int id, int) {
    if (id == kAdd) {
      EXPECT_EQ(controls.ListAdd(kCaption, "x"), kListError);
      controls.SetRedraw(kEntries, false);
    }
  };
  runner.Type(kName, "n");
  runner.Click(kAdd);
  runner.Click(kIdOk);
  EXPECT_EQ(runner.RunModal(model), kIdOk);
  ASSERT_EQ(runner.Problems().size(), 3u);  // the ListAdd, then drawing off after two events
  EXPECT_NE(runner.Problems()[0].find("ListAdd"), std::string::npos);
  EXPECT_NE(runner.Problems()[1].find("left off"), std::string::npos);
}

// A model that opens a second dialog when its button is clicked.
class OuterModel : public DialogModel {
 public:
  OuterModel(DialogRunner& runner, DialogModel& inner) : runner_(runner), inner_(inner) {}
  int innerResult = 0;
  int TemplateId() const override { return 400; }
  void OnInit(DialogControls&) override {}
  void OnCommand(DialogControls& controls, int id, int) override {
    if (id == kAdd) innerResult = runner_.RunModal(inner_);
    if (id == kIdOk || id == kIdCancel) controls.EndDialog(id);
  }

 private:
  DialogRunner& runner_;
  DialogModel& inner_;
};

TEST_F(ScriptedDialogRunnerTest, TheScriptPlaysOnTheDialogThatIsOpen) {
  OuterModel outer(runner, model);
  runner.Click(kAdd);
  runner.Type(kName, "inner");
  runner.Then([](ScriptedDialog& dialog) { EXPECT_EQ(dialog.TemplateId(), kTemplate); });
  runner.Click(kIdOk);
  runner.Then([](ScriptedDialog& dialog) { EXPECT_EQ(dialog.TemplateId(), 400); });
  runner.Click(kIdCancel);
  EXPECT_EQ(runner.RunModal(outer), kIdCancel);
  EXPECT_EQ(outer.innerResult, kIdOk);
  EXPECT_EQ(runner.ShownTemplates(), (std::vector<int>{400, kTemplate}));
  EXPECT_EQ(runner.LastDialog()->TemplateId(), 400);
}

TEST_F(ScriptedDialogRunnerTest, DialogsThatCannotShowGiveMinusOne) {
  runner.FailNextShow();
  EXPECT_EQ(runner.RunModal(model), -1);
  EXPECT_TRUE(model.events.empty());
  EXPECT_EQ(runner.LastDialog(), nullptr);
  runner.Click(kIdOk);
  EXPECT_EQ(runner.RunModal(model), kIdOk);
}

TEST_F(ScriptedDialogRunnerTest, MessagesAndBeepsAreRecordedAndAnswered) {
  runner.AnswerNextMessage(kIdNo);
  EXPECT_EQ(runner.ShowMessage("Delete?", "Tallyline", kMbYesNo | kMbIconQuestion), kIdNo);
  EXPECT_EQ(runner.ShowMessage("Really?", "Tallyline", kMbYesNo), kIdYes);
  EXPECT_EQ(runner.ShowMessage("Done", "Tallyline", kMbOk), kIdOk);
  runner.Beep();
  runner.Beep();
  EXPECT_EQ(runner.Beeps(), 2);
  ASSERT_EQ(runner.Messages().size(), 3u);
  EXPECT_EQ(runner.Messages()[0].text, "Delete?");
  EXPECT_EQ(runner.Messages()[0].caption, "Tallyline");
  EXPECT_EQ(runner.Messages()[0].flags, kMbYesNo | kMbIconQuestion);
}

}  // namespace
