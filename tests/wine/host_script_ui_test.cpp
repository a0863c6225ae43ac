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
  const long code =
      RunProcess(L"\"" + ExeFolder() + L"tlhost.exe\" --script \"" + file + L"\" --report \"" + reportFile + L"\"");
  *report = ReadAll(reportFile);
  return code;
}

TEST(HostScript, AWrongLeaderTextFailsNamingFileAndLine) {
  const std::string script =
      "forget settings\n"
      "load\n"
      "tool Number\n"
      "click 20 60\n"
      "click 30 70\n"
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
  const std::string script =
      "forget settings\n"
      "load\n"
      "tool Number\n"
      "click 20 60\n"
      "click 30 70\n"
      "expect leader 1 \"1\"\n";
  std::string report;
  EXPECT_EQ(0, RunScript("right_text.tlh", script, &report));
  EXPECT_NE(std::string::npos, report.find("tests=\"1\" failures=\"0\"")) << report;
}

TEST(HostScript, AnUnansweredDialogFailsTheStepThatOpenedIt) {
  std::string report;
  EXPECT_EQ(1, RunScript("unanswered.tlh", "forget settings\nload\ntool Picklist\n", &report));
  EXPECT_NE(std::string::npos, report.find("unanswered.tlh:3: the dialog &quot;Tallyline - Pick Text from List&quot; "
                                           "opened and the script had no answer for it"))
      << report;
}

TEST(HostScript, AMistypedLineStopsTheScriptBeforeItRuns) {
  std::string report;
  EXPECT_EQ(2, RunScript("mistyped.tlh", "load\nclick 20\n", &report));
  EXPECT_NE(std::string::npos, report.find("mistyped.tlh:2: expected click NUMBER NUMBER | click NUMBER NUMBER shift"))
      << report;
}

}  // namespace
