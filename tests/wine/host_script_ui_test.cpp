// The reference host's script runner fails when the drawing differs from what a script expects,
// and says where: a scenario script that could not fail would prove nothing.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>

#include "wine_test_support.h"

namespace {

std::wstring TempFolder() {
  wchar_t temp[MAX_PATH] = {};
  GetTempPathW(MAX_PATH, temp);
  return temp;
}

std::string ReadAll(const std::wstring& path) {
  std::ifstream in(path.c_str(), std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

// Runs tlhost.exe on the script text; gives its exit code and the failure its report names.
long RunScript(const std::string& name, const std::string& script, std::string* report) {
  const std::wstring file = TempFolder() + std::wstring(name.begin(), name.end());
  const std::wstring reportFile = file + L".xml";
  std::ofstream(file.c_str(), std::ios::binary) << script;
  DeleteFileW(reportFile.c_str());
  const long code = RunProcess(L"\"" + ExeFolder() + L"tlhost.exe\" --script \"" + file + L"\" --out \"" +
                               TempFolder() + L"tlhost\" --report \"" + reportFile + L"\"");
  *report = ReadAll(reportFile);
  return code;
}

// A session that places one leader, "1", ending on line 5.
const char kOneLeader[] =
    "forget settings\n"
    "load\n"
    "tool Number\n"
    "click 20 60\n"
    "click 30 70\n";

TEST(HostScript, AWrongLeaderTextFailsNamingFileAndLine) {
  const std::string script = std::string(kOneLeader) +
                             "expect leader 1 \"7\"   # the leader reads 1\n"
                             "say \"never reached\"\n";
  std::string report;
  EXPECT_EQ(1, RunScript("wrong_text.tlh", script, &report));
  EXPECT_NE(std::string::npos, report.find("failures=\"1\"")) << report;
  EXPECT_NE(std::string::npos, report.find("wrong_text.tlh:6: leader 1 has the text &quot;1&quot;; expected "
                                           "&quot;7&quot;"))
      << report;
}

TEST(HostScript, TheSameScriptWithTheRightTextPasses) {
  const std::string script = std::string(kOneLeader) + "expect leader 1 \"1\"\n";
  std::string report;
  EXPECT_EQ(0, RunScript("right_text.tlh", script, &report));
  EXPECT_NE(std::string::npos, report.find("tests=\"1\" failures=\"0\"")) << report;
}

// A stored value is read whole however long it is: one past any buffer is no "(none)".
TEST(HostScript, ALongStoredValueReadsWhole) {
  const std::string value(5000, 'x');
  const std::string script =
      "forget settings\nsetting TLDefMode \"" + value + "\"\nexpect setting TLDefMode \"" + value + "\"\n";
  std::string report;
  EXPECT_EQ(0, RunScript("long_value.tlh", script, &report)) << report.substr(0, 300);
}

TEST(HostScript, AnUnansweredDialogFailsTheStepThatOpenedIt) {
  std::string report;
  EXPECT_EQ(1, RunScript("unanswered.tlh", "forget settings\nload\ntool Picklist\n", &report));
  EXPECT_NE(std::string::npos, report.find("unanswered.tlh:3: the dialog &quot;Tallyline - Pick Text from List&quot; "
                                           "opened and the script had no answer for it"))
      << report;
}

// Every kind of step that can go wrong stops the script at its own line, saying what differed.
TEST(HostScript, EachFailingStepNamesItsLine) {
  const std::string start = "forget settings\nload\n";
  const struct {
    const char* name;
    std::string script;
    const char* message;
  } cases[] = {
      {"next", start + "tool Number\nexpect next \"2\"\n",
       "next.tlh:4: the leader tool holds &quot;1&quot;; expected &quot;2&quot;"},
      {"button", start + "poll\nexpect tool Number checked\n",
       "button.tlh:4: the button of &quot;Number&quot; is unchecked; expected checked"},
      {"disabled", start + "poll\ntool Renumber\n", "disabled.tlh:4: the button of &quot;Renumber&quot; is disabled"},
      {"loaded", start + "setting TLDefFormat 1\n", "loaded.tlh:3: the add-in is loaded: it reads its settings"},
      {"unloaded", "tool Number\n", "unloaded.tlh:1: the add-in is not loaded: add a &quot;load&quot; line"},
      {"entry", start + "tool Number\nrightclick 9 9 \"Reset\"\n",
       "entry.tlh:4: the local menu has no entry &quot;Reset&quot;; it offers &quot;(TL) Decrement Num&quot;, "
       "&quot;Tallyline Options&quot;"},
      {"nomenu", start + "rightclick 9 9 0\n", "nomenu.tlh:3: no local menu was offered"},
      {"caption", start + "dialog \"Options\"\n  press OK\ntool Picklist\n",
       "caption.tlh:3: the dialog that opened is &quot;Tallyline - Pick Text from List&quot;; expected "
       "&quot;Options&quot;"},
      {"open", start + "dialog\n  type 235 \"x\"\ntool Picklist\n",
       "open.tlh:3: the dialog &quot;Tallyline - Pick Text from List&quot; was still open after these answers"},
      {"entryless", "forget settings\npicklist \"a\"\nload\ndialog\n  pick 231 \"b\"\ntool Picklist\n",
       "entryless.tlh:5: the list 231 has no entry b"},
      {"control", start + "dialog\n  press 999\ntool Picklist\n", "control.tlh:4: the dialog has no control 999"},
      {"unused", start + "dialog\n  press OK\ntool Number\n",
       "unused.tlh:3: these answers were never used: no dialog opened after them"},
      {"menupath", start + "menu \"File|Print\"\n", "menupath.tlh:3: the menus have no entry &quot;File|Print&quot;"},
      {"nothing", start + "select at 100 5\n", "nothing.tlh:3: there is no graphic at 100 5"},
      {"undo", start + "tool Number\nclick 1 1\nclick 2 2\nexpect undo\n",
       "undo.tlh:6: the undo steps are &quot;Leader&quot;; expected (none)"},
      // A registry value the add-in keeps in its ANSI code page (1252 here) and cannot is never "?".
      {"ansi_value", "setting DataPath \"C:\\Daten-図\"\n",
       "ansi_value.tlh:1: the text &quot;C:\\Daten-図&quot; has no form"},
      {"nofile", "save svg a.svg\nexpect file a.svg\nexpect file b.svg\n", "nofile.tlh:3: there is no "},
      {"realname", "save svg a.svg\nexpect file A.svg\n", "realname.tlh:2: the file is named "},
  };
  for (const auto& c : cases) {
    std::string report;
    EXPECT_EQ(1, RunScript(std::string(c.name) + ".tlh", c.script, &report)) << c.name;
    EXPECT_NE(std::string::npos, report.find(c.message)) << c.name << ": " << report;
  }
}

// A command line of another form and a report that cannot be written are errors of the run (2),
// never a window opened for a person or a pass.
TEST(HostScript, OtherCommandLinesAndUnwritableReportsExitWith2) {
  const std::wstring host = L"\"" + ExeFolder() + L"tlhost.exe\" ";
  const std::wstring script = L"\"" + TempFolder() + L"passes.tlh\"";
  std::ofstream((TempFolder() + L"passes.tlh").c_str(), std::ios::binary) << "say \"hello\"\n";
  EXPECT_EQ(0, RunProcess(host + L"--script " + script));
  const std::wstring cases[] = {
      L"--out out",
      L"--script " + script + L" --script " + script,
      L"--script " + script + L" --report \"" + TempFolder() + L"no such folder\\r.xml\"",
  };
  for (size_t i = 0; i < sizeof(cases) / sizeof(cases[0]); ++i) EXPECT_EQ(2, RunProcess(host + cases[i])) << i;
}

TEST(HostScript, AMistypedLineStopsTheScriptBeforeItRuns) {
  std::string report;
  EXPECT_EQ(2, RunScript("mistyped.tlh", "load\nclick 20\n", &report));
  EXPECT_NE(std::string::npos, report.find("mistyped.tlh:2: expected click NUMBER NUMBER | click NUMBER NUMBER shift"))
      << report;
}

}  // namespace
