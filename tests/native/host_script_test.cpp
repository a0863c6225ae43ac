// The reference host's script language: lines, texts and comments, the forms each command takes,
// the answers that belong to a dialog, and errors that name the file, the line and what was meant.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tlhost/host_script.h"

namespace {

std::vector<ScriptStep> Parse(const std::string& text) {
  std::vector<ScriptStep> steps;
  std::string error;
  EXPECT_TRUE(ParseHostScript("t.tlh", text, &steps, &error)) << error;
  return steps;
}

std::string ErrorOf(const std::string& text) {
  std::vector<ScriptStep> steps;
  std::string error;
  EXPECT_FALSE(ParseHostScript("t.tlh", text, &steps, &error));
  return error;
}

TEST(HostScript, WordsTextsAndComments) {
  const auto steps = Parse(
      "# a comment line\n"
      "\n"
      "  Expect leaders \"1\" \"say \"\"A\"\"\" \"\"   # a comment after a command\n"
      "setting DataPath \"C:\\Data\\\"\r\n"
      "say \"# no comment\"\n");
  ASSERT_EQ(3u, steps.size());
  EXPECT_EQ((std::vector<std::string>{"expect", "leaders", "1", "say \"A\"", ""}), steps[0].words);
  EXPECT_EQ(3, steps[0].line);
  EXPECT_EQ("t.tlh:3", steps[0].Where());
  EXPECT_EQ("Expect leaders \"1\" \"say \"\"A\"\"\" \"\"", steps[0].source.substr(2));
  EXPECT_EQ("C:\\Data\\", steps[1].Arg(1)) << "backslashes are plain characters";
  EXPECT_EQ("# no comment", steps[2].Arg(0));
}

TEST(HostScript, EveryFormOfACommand) {
  const auto steps = Parse(
      "click 10 20.5\nclick -3 4 SHIFT\nselect 4 5 6\nselect at 1 2 shift\nselect none\n"
      "rightclick 1 2\nrightclick 1 2 \"(TL) Decrement Num\"\nexpect leader last \"3\"\nexpect leader 2 \"B\"\n"
      "expect menu\nexpect tool Number enabled checked\nsave svg out.svg\nshow picklist\n"
      "expect setting TLDefFormat \"1\"\nexpect picklist\n");
  ASSERT_EQ(15u, steps.size());
  EXPECT_EQ("shift", steps[1].Arg(2)) << "keywords reach the runner in lower case";
  EXPECT_EQ(3u, steps[2].ArgCount());
  EXPECT_EQ((std::vector<std::string>{"expect", "menu"}), steps[9].words) << "an empty menu";
}

TEST(HostScript, EveryDocumentedFormIsAccepted) {
  const char* lines[] = {"load",
                         "unload",
                         "forget settings",
                         "setting TLDefFormat 1",
                         "picklist \"Valve\" Pump",
                         "version \"8.1\"",
                         "tool Number",
                         "tool 3",
                         "menu \"File|New\"",
                         "click 1.5 -2",
                         "click 1 2 shift",
                         "dblclick 3 4",
                         "rightclick 5 6",
                         "rightclick 5 6 1",
                         "select 7",
                         "select at 1 2",
                         "select none",
                         "undo",
                         "redo",
                         "poll",
                         "dialog",
                         "dialog \"Caption\"",
                         "expect leaders",
                         "expect leaders \"1\" 2",
                         "expect leader last 1",
                         "expect leader 3 \"C\"",
                         "expect next \"\"",
                         "expect prompt x",
                         "expect menu a b",
                         "expect tool Number disabled unchecked",
                         "expect command none",
                         "expect undo Leader",
                         "expect graphics 7",
                         "expect texts",
                         "expect setting DataPath \"C:\\\"",
                         "expect picklist a",
                         "save png a.png",
                         "save window w.png",
                         "save buttons b.png",
                         "show settings",
                         "say hello"};
  for (const char* line : lines) {
    std::vector<ScriptStep> steps;
    std::string error;
    EXPECT_TRUE(ParseHostScript("t.tlh", line, &steps, &error)) << line << ": " << error;
    EXPECT_EQ(1u, steps.size()) << line;
  }
  const char* answers[] = {"type 235 \"x\"", "pick 231 0", "dblpick 231 \"Pump\"", "check 226 1",
                           "press Yes",      "shot d.png", "shows 235 \"\""};
  for (const char* answer : answers) {
    std::vector<ScriptStep> steps;
    std::string error;
    EXPECT_TRUE(ParseHostScript("t.tlh", std::string("dialog\n") + answer, &steps, &error)) << answer << ": " << error;
    ASSERT_EQ(1u, steps.size());
    EXPECT_EQ(1u, steps[0].answers.size()) << answer;
  }
}

TEST(HostScript, DialogAnswersBelongToTheDialogAbove) {
  const auto steps = Parse(
      "dialog \"Tallyline - Pick Text from List\"\n"
      "  type 235 \"Gate\"\n"
      "  press 234\n"
      "  check 226 0\n"
      "  pick 231 \"Gate\"\n"
      "  shot pick.png\n"
      "  press OK\n"
      "dialog\n"
      "  press cancel\n"
      "tool Picklist\n");
  ASSERT_EQ(3u, steps.size());
  ASSERT_EQ(6u, steps[0].answers.size());
  EXPECT_EQ("type", steps[0].answers[0].Verb());
  EXPECT_EQ(3, steps[0].answers[1].line);
  EXPECT_EQ(1u, steps[1].answers.size());
  EXPECT_EQ(0u, steps[1].ArgCount()) << "any dialog";
  EXPECT_EQ("tool", steps[2].Verb());
}

TEST(HostScript, ControlsByNumberOrButtonName) {
  EXPECT_EQ(1, ControlIdOf("OK"));
  EXPECT_EQ(2, ControlIdOf("Cancel"));
  EXPECT_EQ(6, ControlIdOf("yes"));
  EXPECT_EQ(7, ControlIdOf("No"));
  EXPECT_EQ(235, ControlIdOf("235"));
  EXPECT_EQ(-1, ControlIdOf("Apply"));
  EXPECT_EQ(-1, ControlIdOf("70000"));
}

TEST(HostScript, ErrorsNameTheFileTheLineAndTheForms) {
  const struct {
    const char* text;
    const char* error;
  } cases[] = {
      {"load\nclik 1 2\n", "t.tlh:2: unknown command \"clik\"; the commands are: load, unload, "},
      {"click 1\n", "t.tlh:1: expected click NUMBER NUMBER | click NUMBER NUMBER shift"},
      {"click 1 two\n", "t.tlh:1: expected click NUMBER NUMBER"},
      {"poll now\n", "t.tlh:1: expected poll"},
      {"select\n", "t.tlh:1: expected select ID... | select at NUMBER NUMBER"},
      {"expect leader first \"1\"\n", "t.tlh:1: expected expect leaders TEXT... | expect leader last TEXT"},
      {"say \"open\n", "t.tlh:1: a text is not closed with \""},
      {"press OK\n", "t.tlh:1: \"press\" answers a dialog: put it under a \"dialog\" line"},
      {"dialog\ntool Number\npress OK\n", "t.tlh:3: \"press\" answers a dialog"},
      {"dialog\n  press Apply\n", "t.tlh:2: expected press CONTROL-ID"},
      {"\"tool\" Number\n", "t.tlh:1: unknown command \"tool\""},
  };
  for (const auto& c : cases) {
    const std::string error = ErrorOf(c.text);
    EXPECT_EQ(0u, error.find(c.error)) << c.text << " gave: " << error;
  }
}

TEST(HostScript, NumbersAreWholeOrNot) {
  long whole = 7;
  double number = 7;
  EXPECT_TRUE(ReadInteger("-12", &whole));
  EXPECT_EQ(-12, whole);
  EXPECT_FALSE(ReadInteger("1.5", &whole));
  EXPECT_FALSE(ReadInteger("Pump 1", &whole));
  EXPECT_EQ(-12, whole) << "left alone when it is no number";
  EXPECT_TRUE(ReadNumber("2.5", &number));
  EXPECT_EQ(2.5, number);
  EXPECT_FALSE(ReadNumber("", &number));
}

}  // namespace
