// The options dialog's behaviour, played by a scripted user over the edge cases of its preview,
// its bad input, its nested dialogs and OK and Cancel; and ShowOptions between the tool object's
// members and the dialog.
#include <gtest/gtest.h>

#include <functional>
#include <sstream>

#include "addin/show_options.h"
#include "options/about_dialog.h"
#include "options/options_dialog.h"
#include "picklist/pick_list_dialog.h"
#include "testing/scripted_dialog_runner.h"
#include "testing/windows1252_code_page.h"

namespace {

const std::u16string kStoredList = u"<TLT><NAME>b</NAME></TLT>\r\n<TLT><NAME>a</NAME></TLT>\r\n";
const std::u16string kEditedList =
    u"<TLT><NAME>a</NAME></TLT>\r\n<TLT><NAME>b</NAME></TLT>\r\n"
    u"<TLT><NAME>c</NAME></TLT>\r\n";

std::string Describe(const OptionsValues& v) {
  std::ostringstream out;
  out << "start " << v.StartValue << ", format " << v.FormatIndex << ", source " << v.ObjectSourceIndex << ", convert "
      << v.ConvertPointState << ", pick " << v.AutoPickState << ", add " << int{v.AddAutomatically} << ", list "
      << (v.PickListText == kStoredList   ? "stored"
          : v.PickListText == kEditedList ? "edited"
                                          : "other");
  return out.str();
}

using Script = std::function<void(ScriptedDialogRunner&)>;
using Change = std::function<void(OptionsValues&)>;

void ExpectPreview(ScriptedDialogRunner& runner, const std::string& label) {
  runner.Then([label](ScriptedDialog& d) { EXPECT_EQ(label, d.GetText(kOptionsPreview)); });
}

void TypeStart(ScriptedDialogRunner& runner, const std::string& text, const std::string& preview) {
  runner.Type(kOptionsStart, text);
  ExpectPreview(runner, preview);
}

// In the pick dialog behind "&List ...": add "c", turn auto-add off and confirm.
void EditTheList(ScriptedDialogRunner& runner) {
  runner.Click(kOptionsList);
  runner.Type(kPickEdit, "c");
  runner.Click(kPickAdd);
  runner.Check(kPickAutoAdd, kUnchecked);
  runner.Click(kIdOk);
}

// A field that holds no number: the beep, the focus in the field, and the preview of 0.
Script BadStart(const std::string& text) {
  return [text](ScriptedDialogRunner& r) {
    TypeStart(r, text, "E!Range 1 - 999");
    r.Click(kIdOk);
  };
}
Script GoodStart(const std::string& text, const std::string& preview) {
  return [text, preview](ScriptedDialogRunner& r) {
    TypeStart(r, text, preview);
    r.Click(kIdOk);
  };
}
Change Start(int32_t value) {
  return [value](OptionsValues& v) { v.StartValue = value; };
}

TEST(OptionsDialog, EditsAsTheUserDoes) {
  const Change none = [](OptionsValues&) {};
  const struct Case {
    const char* name;
    Change stored;  // from the defaults: start 1, Arabic, best guess, both boxes checked
    Script script;
    bool confirmed;
    Change expected;  // from the stored values
    int beeps;
    int focus;  // where the focus was when the dialog ended
    std::vector<int> templates;
  } cases[] = {
      {"opens with the stored values and their preview",
       [](OptionsValues& v) { v = {28, 1, 2, kUnchecked, kIndeterminate, kStoredList, 0}; },
       [](ScriptedDialogRunner& r) {
         r.Then([](ScriptedDialog& d) {
           EXPECT_EQ((std::vector<std::string>{"Arabic - 1, 2, 3, 4 ...    Range 1 - 999 (1 - 999)",
                                               "Letters - A, B, C, D ...  Range A - ZZ (1 - 702)",
                                               "Roman - i, ii, iii, iv ...    Range i - cmxcix (1 - 999)"}),
                     d.ListItems(kOptionsFormat));
           EXPECT_EQ((std::vector<std::string>{"Object Text ('best guess' of Info/Name/Type)", "Object Layer Name",
                                               "DEMO: Path/Polyline Length (Simple graphics only)"}),
                     d.ListItems(kOptionsObjectSource));
           EXPECT_EQ("28", d.GetText(kOptionsStart));
           EXPECT_EQ("AB", d.GetText(kOptionsPreview));
           EXPECT_EQ(1, d.ListGetSel(kOptionsFormat));
           EXPECT_EQ(2, d.ListGetSel(kOptionsObjectSource));
           EXPECT_EQ(kUnchecked, d.GetCheck(kOptionsConvertPoint));
           EXPECT_EQ(kIndeterminate, d.GetCheck(kOptionsAutoPick));
           EXPECT_EQ(0, d.Focus()) << "the first focus is the system's";
         });
         r.Click(kIdOk);
       },
       true,
       none,
       0,
       kIdOk,
       {kOptionsDialog}},
      {"28 shows as 28, AB and xxviii as the format changes",
       none,
       [](ScriptedDialogRunner& r) {
         TypeStart(r, "28", "28");
         r.Select(kOptionsFormat, 1);
         ExpectPreview(r, "AB");
         r.Select(kOptionsFormat, 2);
         ExpectPreview(r, "xxviii");
         r.Click(kIdOk);
       },
       true,
       [](OptionsValues& v) { v.StartValue = 28, v.FormatIndex = 2; },
       0,
       kIdOk,
       {kOptionsDialog}},
      {"an emptied field beeps, previews 0 and stores 0",
       none,
       BadStart(""),
       true,
       Start(0),
       2,
       kOptionsStart,
       {kOptionsDialog}},
      {"OK on a bad field keeps the choices of the last good preview",
       none,
       [](ScriptedDialogRunner& r) {
         TypeStart(r, "5", "5");
         r.Select(kOptionsFormat, 1);  // captured with the start value
         TypeStart(r, "5x", "E!Range 1 - 702");
         r.Check(kOptionsConvertPoint, kUnchecked);
         r.Select(kOptionsFormat, 2);  // the field holds no number: the format is not taken
         ExpectPreview(r, "E!Range 1 - 702");
         r.Click(kIdOk);
       },
       true,
       [](OptionsValues& v) { v.StartValue = 0, v.FormatIndex = 1; },
       3,
       kOptionsStart,
       {kOptionsDialog}},
      {"1000 with Arabic is kept",
       none,
       GoodStart("1000", "E!Range 1 - 999"),
       true,
       Start(1000),
       0,
       kIdOk,
       {kOptionsDialog}},
      {"703 with letters is kept",
       [](OptionsValues& v) { v.FormatIndex = 1; },
       GoodStart("703", "E!Range 1 - 702"),
       true,
       Start(703),
       0,
       kIdOk,
       {kOptionsDialog}},
      {"leading blanks", none, GoodStart("   12", "12"), true, Start(12), 0, kIdOk, {kOptionsDialog}},
      {"a negative start", none, GoodStart("-5", "E!Range 1 - 999"), true, Start(-5), 0, kIdOk, {kOptionsDialog}},
      {"a minus alone", none, BadStart("-"), true, Start(0), 2, kOptionsStart, {kOptionsDialog}},
      {"a letter after the digits", none, BadStart("12a"), true, Start(0), 2, kOptionsStart, {kOptionsDialog}},
      {"beyond 32 bits", none, BadStart("99999999999"), true, Start(0), 2, kOptionsStart, {kOptionsDialog}},
      {"200 digits", none, BadStart(std::string(200, '7')), true, Start(0), 2, kOptionsStart, {kOptionsDialog}},
      {"the lowest 32-bit number opens and stays",
       Start(INT32_MIN),
       [](ScriptedDialogRunner& r) {
         r.Then([](ScriptedDialog& d) { EXPECT_EQ("-2147483648", d.GetText(kOptionsStart)); });
         ExpectPreview(r, "E!Range 1 - 999");
         r.Click(kIdOk);
       },
       true,
       none,
       0,
       kIdOk,
       {kOptionsDialog}},
      {"a check box alone is stored",
       none,
       [](ScriptedDialogRunner& r) {
         r.Check(kOptionsAutoPick, kUnchecked);
         r.Click(kIdOk);
       },
       true,
       [](OptionsValues& v) { v.AutoPickState = kUnchecked; },
       0,
       kIdOk,
       {kOptionsDialog}},
      {"the object list alone is stored",
       none,
       [](ScriptedDialogRunner& r) {
         r.Select(kOptionsObjectSource, 2);
         ExpectPreview(r, "1");
         r.Click(kIdOk);
       },
       true,
       [](OptionsValues& v) { v.ObjectSourceIndex = 2; },
       0,
       kIdOk,
       {kOptionsDialog}},
      {"a stored format and source outside 0 to 2 open unselected and store -1",
       [](OptionsValues& v) { v.FormatIndex = 3, v.ObjectSourceIndex = -7; },
       [](ScriptedDialogRunner& r) {
         r.Then([](ScriptedDialog& d) {
           EXPECT_EQ(kListError, d.ListGetSel(kOptionsFormat));
           EXPECT_EQ(kListError, d.ListGetSel(kOptionsObjectSource));
         });
         ExpectPreview(r, "");
         TypeStart(r, "4", "");
         r.Click(kIdOk);
       },
       true,
       [](OptionsValues& v) { v.StartValue = 4, v.FormatIndex = -1, v.ObjectSourceIndex = -1; },
       0,
       kIdOk,
       {kOptionsDialog}},
      {"a check state outside 0 to 2 shows and stores unchecked",
       [](OptionsValues& v) { v.ConvertPointState = 7, v.AutoPickState = -1; },
       [](ScriptedDialogRunner& r) {
         r.Then([](ScriptedDialog& d) { EXPECT_EQ(kUnchecked, d.GetCheck(kOptionsConvertPoint)); });
         r.Click(kIdOk);
       },
       true,
       [](OptionsValues& v) { v.ConvertPointState = kUnchecked, v.AutoPickState = kUnchecked; },
       0,
       kIdOk,
       {kOptionsDialog}},
      {"Cancel drops everything, the edited list too",
       none,
       [](ScriptedDialogRunner& r) {
         TypeStart(r, "9", "9");
         r.Select(kOptionsFormat, 2);
         EditTheList(r);
         r.Click(kIdCancel);
       },
       false,
       none,
       0,
       kIdCancel,
       {kOptionsDialog, kPickListDialog}},
      {"OK keeps the edited list and its check box",
       none,
       [](ScriptedDialogRunner& r) {
         EditTheList(r);
         r.Click(kIdOk);
       },
       true,
       [](OptionsValues& v) { v.PickListText = kEditedList, v.AddAutomatically = 0; },
       0,
       kIdOk,
       {kOptionsDialog, kPickListDialog}},
      {"the about box changes nothing",
       none,
       [](ScriptedDialogRunner& r) {
         r.Click(kOptionsAbout);
         r.Click(kIdCancel);  // "Close"
         ExpectPreview(r, "1");
         r.Click(kIdOk);
       },
       true,
       none,
       0,
       kIdOk,
       {kOptionsDialog, kAboutDialog}},
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
    OptionsValues values;
    values.PickListText = kStoredList;
    c.stored(values);
    OptionsValues expected = values;
    c.expected(expected);
    c.script(runner);
    EXPECT_EQ(c.confirmed, EditOptions(&values, runner, codePage));
    EXPECT_EQ(Describe(expected), Describe(values));
    EXPECT_EQ(c.beeps, runner.Beeps());
    EXPECT_EQ(c.focus, runner.LastDialog()->Focus());
    EXPECT_EQ(c.templates, runner.ShownTemplates());
    EXPECT_FALSE(runner.ScriptRanOut());
    EXPECT_EQ(0u, runner.PendingSteps());
    EXPECT_TRUE(runner.Problems().empty()) << runner.Problems().front();
  }
}

TEST(OptionsDialog, ShowOptionsHandsBackTheMembersOnlyOnOk) {
  for (const bool ok : {true, false}) {
    SCOPED_TRACE(ok ? "OK" : "Cancel");
    Windows1252CodePage codePage;
    ScriptedDialogRunner runner;
    runner.DeclareEdit(kOptionsStart);
    runner.DeclareListBox(kOptionsFormat, false);
    ToolMembers members;
    members.TLPickAutoPick = false;
    runner.Then([](ScriptedDialog& d) {
      EXPECT_EQ(kChecked, d.GetCheck(kOptionsConvertPoint));
      EXPECT_EQ(kUnchecked, d.GetCheck(kOptionsAutoPick));
    });
    runner.Type(kOptionsStart, "40");
    runner.Select(kOptionsFormat, 2);
    runner.Check(kOptionsConvertPoint, kUnchecked);
    runner.Check(kOptionsAutoPick, kIndeterminate);
    runner.Click(ok ? kIdOk : kIdCancel);
    EXPECT_EQ(S_OK, ShowOptions(members, runner, codePage));
    EXPECT_EQ(ok ? 40 : 1, members.RunningNumber);
    EXPECT_EQ(ok ? 2 : 0, members.TLDefFormat);
    EXPECT_EQ(!ok, members.TLDefConvertPoint);
    EXPECT_EQ(ok, members.TLPickAutoPick) << "any checked state is true";
    EXPECT_EQ(ok, members.PickListText.has_value()) << "the picklist comes back whole";
    EXPECT_TRUE(members.TLPickAutoAdd);
  }
}

}  // namespace
