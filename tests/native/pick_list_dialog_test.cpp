// The pick dialog's behaviour, played by a scripted user: what the list shows, what Add and
// Remove leave selected, and what OK and Cancel hand back to the tool object.
#include <gtest/gtest.h>

#include "addin/tool/pick_list_glue.h"
#include "testing/scripted_dialog_runner.h"
#include "framework/utf8.h"
#include "testing/windows1252_code_page.h"
#include "pick_list/pick_list_dialog.h"

namespace {

std::u16string Records(std::initializer_list<std::u16string> items) {
  std::u16string text;
  for (const std::u16string& item : items) text += u"<TLT><NAME>" + item + u"</NAME></TLT>\r\n";
  return text;
}

std::string Repeat(const std::string& text, int count) {
  std::string repeated;
  for (int i = 0; i < count; ++i) repeated += text;
  return repeated;
}

class PickDialogTest : public testing::Test {
 protected:
  void SetUp() override {
    runner.DeclareListBox(kPickListBox, true);
    runner.DeclareEdit(kPickEdit);
    members.PickListText = Records({u"Valve", u"pump", u"Flange"});
    pickText = u"before";
  }
  // Runs ShowPickList with the script given so far and checks that the script was used up.
  void Show() {
    EXPECT_EQ(S_OK, ShowPickList(members, pickText, runner, codePage));
    EXPECT_TRUE(runner.Problems().empty()) << runner.Problems().front();
    EXPECT_EQ(0u, runner.PendingSteps());
  }
  ScriptedDialog& Dialog() { return *runner.LastDialog(); }

  Windows1252CodePage codePage;
  ScriptedDialogRunner runner;
  StoredOptions members;
  std::u16string pickText;
};

TEST_F(PickDialogTest, OpensSortedWithTheFirstItemCopied) {
  runner.Then([](ScriptedDialog& d) {
    EXPECT_EQ((std::vector<std::string>{"Flange", "pump", "Valve"}), d.ListItems(kPickListBox));
    EXPECT_EQ(0, d.ListGetSel(kPickListBox));
    EXPECT_EQ("Flange", d.GetText(kPickEdit));
    EXPECT_FALSE(d.IsEnabled(kPickAdd)) << "a copied item is no edit";
    EXPECT_EQ(kChecked, d.GetCheck(kPickAutoAdd));
  });
  runner.Click(kIdOk);
  Show();
  EXPECT_EQ(kPickListDialog, Dialog().TemplateId());
  EXPECT_EQ(u"Flange", pickText);
  EXPECT_EQ(Records({u"Flange", u"pump", u"Valve"}), members.PickListText) << "written back in list order";
}

TEST_F(PickDialogTest, EmptyListTypedTextBecomesPickAndFirstItem) {
  members.PickListText = u"stray text, no records";
  runner.Then([](ScriptedDialog& d) {
    EXPECT_EQ(0, d.ListCount(kPickListBox));
    EXPECT_EQ("", d.GetText(kPickEdit));
  });
  runner.Type(kPickEdit, "Gate valve");
  runner.Then([](ScriptedDialog& d) { EXPECT_TRUE(d.IsEnabled(kPickAdd)); });
  runner.Click(kIdOk);
  Show();
  EXPECT_EQ(u"Gate valve", pickText);
  EXPECT_EQ(Records({u"Gate valve"}), members.PickListText) << "stray text is dropped";
}

TEST_F(PickDialogTest, OkWithEmptyEditGivesEmptyPick) {
  members.PickListText.reset();
  runner.Click(kIdOk);
  Show();
  EXPECT_EQ(u"", pickText);
  EXPECT_EQ(u"", members.PickListText);
}

TEST_F(PickDialogTest, AutoAddTakesOnlyEditedText) {
  runner.Select(kPickListBox, 2);
  runner.Click(kIdOk);
  Show();
  EXPECT_EQ(u"Valve", pickText);
  EXPECT_EQ(Records({u"Flange", u"pump", u"Valve"}), members.PickListText) << "an unedited pick adds nothing";

  runner.Select(kPickListBox, 1);
  runner.Type(kPickEdit, "pump 2");
  runner.Click(kIdOk);
  Show();
  EXPECT_EQ(u"pump 2", pickText);
  EXPECT_EQ(Records({u"Flange", u"pump", u"pump 2", u"Valve"}), members.PickListText);
}

TEST_F(PickDialogTest, AutoAddOffKeepsTheListAndTheSetting) {
  runner.Check(kPickAutoAdd, kUnchecked);
  runner.Type(kPickEdit, "Elbow");
  runner.Click(kIdOk);
  Show();
  EXPECT_FALSE(members.TLPickAutoAdd);
  EXPECT_EQ(u"Elbow", pickText);
  EXPECT_EQ(Records({u"Flange", u"pump", u"Valve"}), members.PickListText);
}

TEST_F(PickDialogTest, AddingAnEqualTextGivesTwoItems) {
  runner.Type(kPickEdit, "pump");
  runner.Click(kPickAdd);
  runner.Then([](ScriptedDialog& d) {
    EXPECT_EQ((std::vector<std::string>{"Flange", "pump", "pump", "Valve"}), d.ListItems(kPickListBox));
    EXPECT_EQ("pump", d.ListGetText(kPickListBox, d.ListGetSel(kPickListBox)));
    EXPECT_EQ("pump", d.GetText(kPickEdit)) << "the edit box keeps its text";
    EXPECT_FALSE(d.IsEnabled(kPickAdd));
  });
  runner.Click(kIdOk);
  Show();
  EXPECT_EQ(Records({u"Flange", u"pump", u"pump", u"Valve"}), members.PickListText);
}

TEST_F(PickDialogTest, AddWithEmptyTextDoesNothing) {
  runner.Type(kPickEdit, "");
  runner.Click(kPickAdd);
  runner.Then([](ScriptedDialog& d) {
    EXPECT_EQ(3, d.ListCount(kPickListBox));
    EXPECT_FALSE(d.IsEnabled(kPickAdd));
  });
  runner.Click(kIdCancel);
  Show();
}

TEST_F(PickDialogTest, RemoveSelectsTheFollowingOrTheNewLast) {
  runner.Select(kPickListBox, 0);
  runner.Click(kPickRemove);
  runner.Then([](ScriptedDialog& d) {
    EXPECT_EQ(0, d.ListGetSel(kPickListBox));
    EXPECT_EQ("pump", d.GetText(kPickEdit)) << "the item that followed";
  });
  runner.Select(kPickListBox, 1);
  runner.Click(kPickRemove);
  runner.Then([](ScriptedDialog& d) {
    EXPECT_EQ(0, d.ListGetSel(kPickListBox)) << "the new last item";
    EXPECT_EQ("pump", d.GetText(kPickEdit));
  });
  runner.Click(kPickRemove);
  runner.Then([](ScriptedDialog& d) {
    EXPECT_EQ(0, d.ListCount(kPickListBox));
    EXPECT_EQ(kListError, d.ListGetSel(kPickListBox));
    EXPECT_EQ("pump", d.GetText(kPickEdit)) << "the removed item's text stays";
  });
  runner.Click(kPickRemove);  // nothing selected: nothing happens
  runner.Click(kIdOk);
  Show();
  EXPECT_EQ(u"", members.PickListText);
  EXPECT_EQ(u"pump", pickText);
}

TEST_F(PickDialogTest, DoubleClickConfirmsWithThatItem) {
  runner.DoubleClick(kPickListBox, 2);
  Show();
  EXPECT_TRUE(Dialog().Ended());
  EXPECT_EQ(kIdOk, Dialog().Result());
  EXPECT_EQ(u"Valve", pickText);
}

TEST_F(PickDialogTest, CancelChangesNothing) {
  const StoredOptions before = [&] {
    StoredOptions copy;
    copy.PickListText = members.PickListText;
    return copy;
  }();
  runner.Type(kPickEdit, "Tee");
  runner.Click(kPickAdd);
  runner.Select(kPickListBox, 0);
  runner.Click(kPickRemove);
  runner.Check(kPickAutoAdd, kUnchecked);
  runner.Click(kIdCancel);
  Show();
  EXPECT_EQ(before.PickListText, members.PickListText);
  EXPECT_TRUE(members.TLPickAutoAdd);
  EXPECT_EQ(u"before", pickText);
}

TEST_F(PickDialogTest, ADialogThatCannotBeShownChangesNothing) {
  runner.FailNextShow();
  EXPECT_EQ(S_OK, ShowPickList(members, pickText, runner, codePage));
  EXPECT_EQ(u"before", pickText);
}

TEST_F(PickDialogTest, CheckBoxValueOutOfRangeShowsUnchecked) {
  runner.Then([](ScriptedDialog& d) { EXPECT_EQ(kUnchecked, d.GetCheck(kPickAutoAdd)); });
  runner.Click(kIdCancel);
  CPickListDlg dialog(codePage, runner);
  dialog.Values.AddAutomatically = 7;
  runner.RunModal(dialog);
  EXPECT_FALSE(dialog.Confirmed);
}

TEST_F(PickDialogTest, LongTextsAreBoundedInTheListButPickedWhole) {
  const std::string longText(5000, 'x');
  members.PickListText = Records({std::u16string(6000, u'y').c_str()});
  runner.Then([](ScriptedDialog& d) {
    EXPECT_EQ(4095u, d.ListGetText(kPickListBox, 0).size()) << "an item from the file is cut to the buffer";
  });
  runner.Type(kPickEdit, longText);
  runner.Click(kPickAdd);
  runner.Then([](ScriptedDialog& d) { EXPECT_EQ(4095u, d.ListGetText(kPickListBox, 0).size()); });
  runner.Click(kIdOk);
  Show();
  EXPECT_EQ(std::u16string(5000, u'x'), pickText) << "the pick text is whole";
  EXPECT_EQ(Records({std::u16string(4095, u'x').c_str(), std::u16string(6000, u'y').c_str()}), members.PickListText)
      << "only the added item is cut; the list's own stays whole";

  runner.Select(kPickListBox, 1);
  runner.Click(kIdOk);
  Show();
  EXPECT_EQ(std::u16string(6000, u'y'), pickText) << "picked whole";
}

// Texts travel as UTF-8: what the user types stays as typed, the list goes over to UTF-8 (U+FEFF
// first) only for a character the ANSI code page lacks, and an item's length is counted in bytes
// of the encoding that stores it.
TEST_F(PickDialogTest, TypedTextsKeepEveryCharacterAndChooseTheEncoding) {
  struct Case {
    const char* name;
    std::u16string list;
    bool removeFirst;
    std::string typed;  // UTF-8, added on OK
    std::u16string listAfter;
  };
  const std::string diameter = "\xE2\x8C\x80", eAcute = "\xC3\xA9";
  const std::u16string mark = u"\uFEFF";
  const Case cases[] = {
      {"a character 1252 holds keeps the list ANSI", Records({u"Valve"}), false, "Caf" + eAcute,
       Records({u"Caf\u00e9", u"Valve"})},
      {"one it lacks turns it to UTF-8", Records({u"Valve"}), false,
       diameter + " 5 \xE2\x89\xA4 \xE5\x9B\xB3\xE9\x9D\xA2",
       mark + Records({u"Valve", u"\u2300 5 \u2264 \u56f3\u9762"})},
      {"a UTF-8 list stays UTF-8", mark + Records({u"\u2300 5"}), true, "Tee", mark + Records({u"Tee"})},
      {"a UTF-8 list counts UTF-8 bytes", mark, false, Repeat(eAcute, 3000),
       mark + Records({std::u16string(2047, u'\u00e9')})},
      {"an ANSI list counts ANSI bytes", u"", false, Repeat(eAcute, 5000), Records({std::u16string(4095, u'\u00e9')})},
      {"an item only UTF-8 holds counts UTF-8 bytes", u"", false, Repeat(diameter, 2000),
       mark + Records({std::u16string(1365, u'\u2300')})},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    members.PickListText = c.list;
    if (c.removeFirst) runner.Click(kPickRemove);
    runner.Type(kPickEdit, c.typed);
    runner.Click(kIdOk);
    Show();
    EXPECT_EQ(c.listAfter, members.PickListText);
    EXPECT_EQ(Utf8ToUtf16(c.typed), pickText) << "the pick text is whole";
  }
}

TEST_F(PickDialogTest, TextThatWouldSplitARecordIsRefusedWithABeep) {
  const std::string bad = "a</NAME></TLT>b";
  runner.Type(kPickEdit, bad);
  runner.Click(kPickAdd);
  runner.Then([](ScriptedDialog& d) { EXPECT_EQ(3, d.ListCount(kPickListBox)); });
  runner.Type(kPickEdit, bad + "!");
  runner.Click(kIdOk);  // auto-add refuses it too
  Show();
  EXPECT_EQ(2, runner.Beeps());
  EXPECT_EQ(Records({u"Flange", u"pump", u"Valve"}), members.PickListText);
  EXPECT_EQ(u"a</NAME></TLT>b!", pickText) << "it can still be the leader's text";
}

TEST_F(PickDialogTest, EditorFromTheOptionsDialogKeepsOnlyListAndCheckBox) {
  std::u16string working = Records({u"B", u"a"});
  uint8_t autoAdd = 0;
  runner.Then([](ScriptedDialog& d) { EXPECT_EQ("a", d.GetText(kPickEdit)); });
  runner.Type(kPickEdit, "\xE2\x8C\x80 c");
  runner.Check(kPickAutoAdd, kChecked);
  runner.Click(kIdOk);
  EXPECT_EQ(S_OK, EditPickList(&working, &autoAdd, runner, codePage));
  EXPECT_EQ(u"\uFEFF" + Records({u"a", u"B", u"\u2300 c"}), working) << "a character 1252 lacks: UTF-8";
  EXPECT_EQ(1, autoAdd);
  EXPECT_EQ(u"before", pickText);
}

TEST_F(PickDialogTest, ThousandsOfItemsGoInWithoutRedraw) {
  std::u16string many;
  for (int i = 0; i < 10000; ++i) many += u"<TLT><NAME>item " + std::u16string(1, u'a' + i % 26) + u"</NAME></TLT>\r\n";
  members.PickListText = many;
  runner.Then([](ScriptedDialog& d) { EXPECT_EQ(10000, d.ListCount(kPickListBox)); });
  runner.Click(kIdCancel);
  Show();  // the runner records a problem when a control is left without redraw
}

}  // namespace
