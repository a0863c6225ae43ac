// The options dialog's behaviour, played by a scripted user over the edge cases of its preview,
// its bad input, its nested dialogs and OK and Cancel. ShowOptions, which maps the tool object's
// members to the dialog's values, is proved with the real dialog under Wine.
#include <gtest/gtest.h>

#include <functional>
#include <sstream>

#include "options/options_dialog.h"
#include "pick_list/pick_list_dialog.h"
#include "testing/scripted_dialog_runner.h"
#include "testing/windows1252_code_page.h"

namespace {

const std::u16string kStoredList = u"<TLT><NAME>b</NAME></TLT>\r\n<TLT><NAME>a</NAME></TLT>\r\n";
const std::u16string kEditedList =
    u"<TLT><NAME>a</NAME></TLT>\r\n<TLT><NAME>b</NAME></TLT>\r\n<TLT><NAME>c</NAME></TLT>\r\n";

// "OK" or "Cancel", then start, format, source, convert-point, auto-pick, auto-add, the list,
// continue, and the step and the parts list where they are not the defaults.
std::string Outcome(bool confirmed, const OptionsValues& v) {
  std::ostringstream out;
  out << (confirmed ? "OK " : "Cancel ") << v.StartValue << ' ' << v.FormatIndex << ' ' << v.ObjectSourceIndex << ' '
      << v.ConvertPointState << ' ' << v.AutoPickState << ' ' << int{v.AddAutomatically} << ' '
      << (v.PickListText == kStoredList   ? "stored"
          : v.PickListText == kEditedList ? "edited"
                                          : "other")
      << ' ' << v.ContinueState;
  if (v.Step != 1) out << " step " << v.Step;
  if (!v.PartsList.empty()) out << " parts " << v.PartsList;
  return out.str();
}

using Step = std::function<void(ScriptedDialogRunner&)>;
Step Type(const std::string& start) {
  return [start](ScriptedDialogRunner& r) { r.Type(kOptionsStart, start); };
}
Step TypeIn(int editId, const std::string& text) {
  return [=](ScriptedDialogRunner& r) { r.Type(editId, text); };
}
Step Pick(int listId, int index) {
  return [=](ScriptedDialogRunner& r) { r.Select(listId, index); };
}
Step Click(int id) {
  return [id](ScriptedDialogRunner& r) { r.Click(id); };
}
Step Uncheck(int id) {
  return [id](ScriptedDialogRunner& r) { r.Check(id, kUnchecked); };
}
Step CheckBox(int id) {
  return [id](ScriptedDialogRunner& r) { r.Check(id, kChecked); };
}
Step Shows(int checkBoxId, int state) {
  return [=](ScriptedDialogRunner& r) {
    r.Then([=](ScriptedDialog& d) { EXPECT_EQ(state, d.GetCheck(checkBoxId)) << checkBoxId; });
  };
}
Step Preview(const std::string& label) {
  return [label](ScriptedDialogRunner& r) {
    r.Then([label](ScriptedDialog& d) { EXPECT_EQ(label, d.GetText(kOptionsPreview)); });
  };
}
// "&List ...": the pick dialog adds "c", turns auto-add off and confirms.
const Step kEditList = [](ScriptedDialogRunner& r) {
  r.Click(kOptionsList);
  r.Type(kPickEdit, "c");
  r.Click(kPickAdd);
  r.Check(kPickAutoAdd, kUnchecked);
  r.Click(kIdOk);
};
const Step kOpened = [](ScriptedDialogRunner& r) {
  r.Then([](ScriptedDialog& d) {
    EXPECT_EQ((std::vector<std::string>{"Arabic - 1, 2, 3, 4 ...    Range 1 - 999 (1 - 999)",
                                        "Letters - A, B, C, D ...  Range A - ZZ (1 - 702)",
                                        "Roman - i, ii, iii, iv ...    Range i - cmxcix (1 - 999)"}),
              d.ListItems(kOptionsFormat));
    EXPECT_EQ((std::vector<std::string>{"Object Text ('best guess' of Info/Name/Type)", "Object Layer Name",
                                        "DEMO: Path/Polyline Length (Simple graphics only)"}),
              d.ListItems(kOptionsObjectSource));
    EXPECT_EQ("28", d.GetText(kOptionsStart));
    EXPECT_EQ(2, d.ListGetSel(kOptionsObjectSource));
    EXPECT_EQ(kIndeterminate, d.GetCheck(kOptionsAutoPick));
    EXPECT_EQ(0, d.Focus()) << "the first focus is the system's";
  });
};
const Step kOk = Click(kIdOk);
const Step kRange999 = Preview("E!Range 1 - 999");

void DeclareStyleFields(ScriptedDialogRunner& runner) {
  for (int id : {kOptionsPrefix, kOptionsSuffix, kOptionsStep, kOptionsDigits}) runner.DeclareEdit(id);
  runner.DeclareListBox(kOptionsLetterSet, false);
}

TEST(OptionsDialog, EditsAsTheUserDoes) {
  const char* const kZeroStart = "OK 0 0 0 1 1 1 stored 0, 2 beeps, focus 223";  // beeped at the field and at OK
  const struct Case {
    const char* name;
    std::vector<Step> steps;
    const char* outcome;
    OptionsValues stored = {1, 0, 0, kChecked, kChecked, kStoredList, 1};
  } cases[] = {
      {"opens with its values",
       {kOpened, Preview("AB"), kOk},
       "OK 28 1 2 0 2 0 stored 0, 0 beeps, focus 1",
       {28, 1, 2, kUnchecked, kIndeterminate, kStoredList, 0}},
      {"28 as 28, AB, xxviii",
       {Type("28"), Preview("28"), Pick(kOptionsFormat, 1), Preview("AB"), Pick(kOptionsFormat, 2), Preview("xxviii"),
        kOk},
       "OK 28 2 0 1 1 1 stored 0, 0 beeps, focus 1"},
      {"emptied", {Type(""), kRange999, kOk}, kZeroStart},
      {"OK on a bad field keeps the choices of the last good preview",
       {Type("5"), Pick(kOptionsFormat, 1), Type("5x"), Preview("E!Range 1 - 702"), Uncheck(kOptionsConvertPoint),
        Pick(kOptionsFormat, 2), Preview("E!Range 1 - 702"), kOk},
       "OK 0 1 0 1 1 1 stored 0, 3 beeps, focus 223"},
      {"1000 with Arabic", {Type("1000"), kRange999, kOk}, "OK 1000 0 0 1 1 1 stored 0, 0 beeps, focus 1"},
      {"703 with letters",
       {Type("703"), Preview("E!Range 1 - 702"), kOk},
       "OK 703 1 0 1 1 1 stored 0, 0 beeps, focus 1",
       {1, 1, 0, kChecked, kChecked, kStoredList, 1}},
      {"leading blanks", {Type("   12"), Preview("12"), kOk}, "OK 12 0 0 1 1 1 stored 0, 0 beeps, focus 1"},
      {"negative", {Type("-5"), kRange999, kOk}, "OK -5 0 0 1 1 1 stored 0, 0 beeps, focus 1"},
      {"lowest", {Type("-2147483648"), kOk}, "OK -2147483648 0 0 1 1 1 stored 0, 0 beeps, focus 1"},
      {"highest", {Type("2147483647"), kOk}, "OK 2147483647 0 0 1 1 1 stored 0, 0 beeps, focus 1"},
      {"minus alone", {Type("-"), kRange999, kOk}, kZeroStart},
      {"plus", {Type("+5"), kOk}, kZeroStart},
      {"trailing letter", {Type("12a"), kOk}, kZeroStart},
      {"trailing blank", {Type("12 "), kOk}, kZeroStart},
      {"overflow", {Type("2147483648"), kOk}, kZeroStart},
      {"11 digits", {Type("99999999999"), kOk}, kZeroStart},
      {"200 digits", {Type(std::string(200, '7')), kRange999, kOk}, kZeroStart},
      {"a paste of 64,000 characters keeps the 11 a number can take",
       {Type("00000000012" + std::string(63989, '9')), Preview("12"), kOk},
       "OK 12 0 0 1 1 1 stored 0, 0 beeps, focus 1"},
      {"Browse puts the chosen parts list in its field",
       {[](ScriptedDialogRunner& r) { r.AnswerNextFileDialog("\\\\server\\parts.csv"); }, Click(kOptionsPartsBrowse),
        kOk},
       "OK 1 0 0 1 1 1 stored 0 parts \\\\server\\parts.csv, 0 beeps, focus 1"},
      {"Browse cancelled keeps the field",
       {Click(kOptionsPartsBrowse), kOk},
       "OK 1 0 0 1 1 1 stored 0 parts old.csv, 0 beeps, focus 1",
       {1, 0, 0, kChecked, kChecked, kStoredList, 1, "", "", 1, 0, 0, kUnchecked, "old.csv"}},
      {"a step of 999, the top of its range",
       {TypeIn(kOptionsStep, "999"), kOk},
       "OK 1 0 0 1 1 1 stored 0 step 999, 0 beeps, focus 1"},
      {"a check box alone", {Uncheck(kOptionsAutoPick), kOk}, "OK 1 0 0 1 0 1 stored 0, 0 beeps, focus 1"},
      {"the object list alone",
       {Pick(kOptionsObjectSource, 2), Preview("1"), kOk},
       "OK 1 0 2 1 1 1 stored 0, 0 beeps, focus 1"},
      {"stored indices outside 0 to 2 open unselected, preview nothing and store -1",
       {Preview(""), Type("4"), Preview(""), kOk},
       "OK 4 -1 -1 1 1 1 stored 0, 0 beeps, focus 1",
       {1, 3, -7, kChecked, kChecked, kStoredList, 1}},
      {"check states outside 0 to 2 show and store unchecked",
       {Shows(kOptionsContinue, kUnchecked), kOk},
       "OK 1 0 0 0 0 1 stored 0, 0 beeps, focus 1",
       {1, 0, 0, 7, -1, kStoredList, 1, "", "", 1, 0, 0, 3}},
      {"continue opens unchecked and OK stores it checked",
       {Shows(kOptionsContinue, kUnchecked), CheckBox(kOptionsContinue), kOk},
       "OK 1 0 0 1 1 1 stored 1, 0 beeps, focus 1"},
      {"continue opens checked and OK stores it unchecked",
       {Shows(kOptionsContinue, kChecked), Uncheck(kOptionsContinue), kOk},
       "OK 1 0 0 1 1 1 stored 0, 0 beeps, focus 1",
       {1, 0, 0, kChecked, kChecked, kStoredList, 1, "", "", 1, 0, 0, kChecked}},
      {"OK on a bad start field still takes continue",
       {Type("x"), CheckBox(kOptionsContinue), kOk},
       "OK 0 0 0 1 1 1 stored 1, 2 beeps, focus 223"},
      {"Cancel drops everything, the edited list too",
       {Type("9"), Pick(kOptionsFormat, 2), kEditList, CheckBox(kOptionsContinue), Click(kIdCancel)},
       "Cancel 1 0 0 1 1 1 stored 0, 0 beeps, focus 2"},
      {"OK keeps the edited list and its check box", {kEditList, kOk}, "OK 1 0 0 1 1 0 edited 0, 0 beeps, focus 1"},
      {"the about box changes nothing",
       {Click(kOptionsAbout), Click(kIdCancel), Preview("1"), kOk},
       "OK 1 0 0 1 1 1 stored 0, 0 beeps, focus 1"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Windows1252CodePage codePage;
    ScriptedDialogRunner runner;
    runner.DeclareEdit(kOptionsStart);
    runner.DeclareEdit(kOptionsPreview);
    runner.DeclareListBox(kOptionsFormat, false);
    runner.DeclareListBox(kOptionsObjectSource, false);
    runner.DeclareListBox(kPickListBox, true);
    runner.DeclareEdit(kPickEdit);
    DeclareStyleFields(runner);
    for (const Step& step : c.steps) step(runner);
    OptionsValues values = c.stored;
    const bool confirmed = EditOptions(&values, runner, codePage);
    EXPECT_EQ(c.outcome, Outcome(confirmed, values) + ", " + std::to_string(runner.Beeps()) + " beeps, focus " +
                             std::to_string(runner.LastDialog()->Focus()));
    EXPECT_FALSE(runner.ScriptRanOut());
    EXPECT_TRUE(runner.Problems().empty()) << runner.Problems().front();
  }
}

}  // namespace
