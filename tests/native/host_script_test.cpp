// The reference host's script language: lines, texts and comments, the forms each command takes,
// the answers that belong to a dialog, and errors that name the file, the line and what was meant.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tlhost/host_arguments.h"
#include "tlhost/host_script.h"
#include "tlhost/utf8_text.h"

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
  EXPECT_EQ("expect leaders 1 \"say \"\"A\"\"\" \"\"", steps[0].understood) << "the step as the host reads it";
  EXPECT_EQ("C:\\Data\\", steps[1].Arg(1)) << "backslashes are plain characters";
  EXPECT_EQ("# no comment", steps[2].Arg(0));
}

TEST(HostScript, EveryFormOfACommand) {
  const auto steps = Parse(
      "click 10 20.5\nclick 3 4 SHIFT\nselect 4 5 6\nselect at 1 2 shift\nselect none\n"
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
                         "click 1.5 2",
                         "click 0 140",
                         "click 199.75 0.25",
                         "click 1 2 shift",
                         "dblclick 3 4",
                         "rightclick 5 6",
                         "rightclick 5 6 1",
                         "select 7",
                         "select at 1 2",
                         "select box 0 0.25 199.75 140",
                         "select box 120 30.5 40 90 shift",
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
                         "expect file \"Zeichnung-ünï.svg\"",
                         "expect file \"../out/./a.b.svg\"",
                         "expect canvas",
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
    std::string text;
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
      // Numbers are plain decimals, and every point is one the window shows.
      {"click 1e2 70\n", "t.tlh:1: expected click NUMBER NUMBER"},
      {"click nan nan\n", "t.tlh:1: expected click NUMBER NUMBER"},
      {"click inf 1\n", "t.tlh:1: expected click NUMBER NUMBER"},
      {"click 0x10 1\n", "t.tlh:1: expected click NUMBER NUMBER"},
      {"click 1. 2\n", "t.tlh:1: expected click NUMBER NUMBER"},
      {"click +1 2\n", "t.tlh:1: expected click NUMBER NUMBER"},
      {"click 10000000000 2\n", "t.tlh:1: expected click NUMBER NUMBER"},
      {"say x\nclick 16400 70\n",
       "t.tlh:2: the point 16400 70 is off the sheet: the window shows x from 0 to 199.75 "
       "and y from 0.25 to 140"},
      {"click 1 -1\n", "t.tlh:1: the point 1 -1 is off the sheet"},
      {"dblclick 200 70\n", "t.tlh:1: the point 200 70 is off the sheet"},
      {"rightclick 5 140.2 \"Tallyline Options\"\n", "t.tlh:1: the point 5 140.2 is off the sheet"},
      {"select at -0.2 7\n", "t.tlh:1: the point -0.2 7 is off the sheet"},
      {"select box 1 2 3\n",
       "t.tlh:1: expected select ID... | select at NUMBER NUMBER | select at NUMBER NUMBER shift | select box NUMBER "
       "NUMBER NUMBER NUMBER | select box NUMBER NUMBER NUMBER NUMBER shift | select none"},
      {"select box 1 2 3 4 add\n", "t.tlh:1: expected select ID..."},
      {"select box 1 2 3 4 5\n", "t.tlh:1: expected select ID..."},
      {"select box 10 20 0 0\n", "t.tlh:1: the point 0 0 is off the sheet"},
      {"select box 0 140.5 10 20 shift\n", "t.tlh:1: the point 0 140.5 is off the sheet"},
      {"expect canvas shown\n", "t.tlh:1: expected expect leaders TEXT..."},
      // A hair outside is outside: never moved onto the sheet's nearest pixel.
      {"click -0.1 7\n", "t.tlh:1: the point -0.1 7 is off the sheet"},
      {"click 199.8 7\n", "t.tlh:1: the point 199.8 7 is off the sheet"},
      {"click 5 0.2\n", "t.tlh:1: the point 5 0.2 is off the sheet"},
      {"dblclick 5 140.1\n", "t.tlh:1: the point 5 140.1 is off the sheet"},
      // File names that are empty or that Windows would change.
      {"expect file \"\"\n", "t.tlh:1: the file name is empty"},
      {"expect file name.\n", "t.tlh:1: the name \"name.\" ends with a dot or a space"},
      {"expect file \"name \"\n", "t.tlh:1: the name \"name \" ends with a dot or a space"},
      {"expect file \"out./a.svg\"\n", "t.tlh:1: the name \"out.\" ends with a dot"},
      {"save svg \"a\\b \\c.svg\"\n", "t.tlh:1: the name \"b \" ends with a dot or a space"},
      {"dialog\n  shot \"\"\n", "t.tlh:2: the file name is empty"},
      {"select 4 99999999999\n", "t.tlh:1: expected select ID..."},
      {"expect graphics 1e3\n", "t.tlh:1: expected expect leaders TEXT..."},
      {"dialog\n  check 226 0x1\n", "t.tlh:2: expected check CONTROL-ID WHOLE-NUMBER"},
      // Encodings, line ends and empty scripts.
      {"say \"a\"\nsay \"\xc3\x28\"\n", "t.tlh:2: this line is not UTF-8 text: save the script as UTF-8"},
      {"say \"\xc0\xaf\"\n", "t.tlh:1: this line is not UTF-8"},
      {"say \"\xed\xa0\x80\"\n", "t.tlh:1: this line is not UTF-8"},
      {std::string("s\0a\0y\0", 6),
       "t.tlh: holds zero bytes: a script is UTF-8 text (or UTF-16 with its byte order mark)"},
      {std::string("\xff\xfe\x00", 3), "t.tlh: is UTF-16 with a broken character"},
      {std::string("\xff\xfes\0a\0y\0 \0x\0\n\0s\0a\0y\0 \0\0\0", 24),
       "t.tlh:2: this line holds the character U+0000, which no text can carry"},
      {std::string("\xfe\xff\0s\0a\0y\0 \0\"\0\0\0\"", 16), "t.tlh:1: this line holds the character U+0000"},
      {std::string("\xff\xfe\x00\xd8x\x00", 6), "t.tlh: is UTF-16 with a broken character"},
      {"say a\rclick 1\r", "t.tlh:2: expected click NUMBER NUMBER"},
      {"", "t.tlh: holds no steps"},
      {"\xef\xbb\xbf# only a comment\r\n\r\n", "t.tlh: holds no steps"},
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
  EXPECT_TRUE(ReadInteger("999999999", &whole));
  for (const char* word :
       {"", "-", "1.", ".5", "1.5.1", "1e400", " 1", "1 ", "nan", "-inf", "0x1A", "1000000000", "٣"}) {
    EXPECT_FALSE(ReadNumber(word, &number)) << word;
    EXPECT_FALSE(ReadInteger(word, &whole)) << word;
  }
  EXPECT_EQ(999999999, whole) << "left alone";
}

// Scripts are UTF-8 whatever the editor wrote: a byte order mark, UTF-16 with its mark and CR
// line ends all read as the same steps, and texts stay whole ("Ü" is one character, not two).
TEST(HostScript, EncodingsAndLineEndsReadTheSameSteps) {
  const auto utf16 = [](const std::u16string& text, bool bigEndian) {
    std::string bytes = bigEndian ? "\xfe\xff" : "\xff\xfe";
    for (char16_t unit : text) {
      const char high = static_cast<char>(unit >> 8), low = static_cast<char>(unit & 0xff);
      bytes += bigEndian ? std::string{high, low} : std::string{low, high};
    }
    return bytes;
  };
  const std::u16string text = u"say \"Ü-Bogen 図\"\r\nsay \"\U0001F600\"";
  const std::string forms[] = {"say \"Ü-Bogen 図\"\nsay \"\U0001F600\"",
                               "\xef\xbb\xbfsay \"Ü-Bogen 図\"\r\nsay \"\U0001F600\"",
                               "say \"Ü-Bogen 図\"\rsay \"\U0001F600\"\r", utf16(text, false), utf16(text, true)};
  for (const std::string& form : forms) {
    const auto steps = Parse(form);
    ASSERT_EQ(2u, steps.size());
    EXPECT_EQ("Ü-Bogen 図", steps[0].Arg(0));
    EXPECT_EQ("\U0001F600", steps[1].Arg(0));
    EXPECT_EQ(2, steps[1].line);
  }
  std::u16string converted;
  EXPECT_TRUE(WellFormedUtf8ToUtf16("Ü-Bogen", &converted));
  EXPECT_EQ(u"Ü-Bogen", converted) << "never widened byte by byte";
  EXPECT_EQ("Ü-Bogen", Utf16ToUtf8(converted));
}

TEST(HostScript, StepsReadAsUnderstood) {
  const auto steps = Parse(
      "CLICK 020.50 7.0 Shift\nselect 007 8\ntool Number\nsay \"a # b\"\nexpect next \"\"\n"
      "Select Box 1 2.50 030 4 SHIFT\n");
  EXPECT_EQ("click 20.5 7 shift", steps[0].understood);
  EXPECT_EQ("select 7 8", steps[1].understood);
  EXPECT_EQ("tool Number", steps[2].understood);
  EXPECT_EQ("say \"a # b\"", steps[3].understood);
  EXPECT_EQ("expect next \"\"", steps[4].understood);
  EXPECT_EQ("select box 1 2.5 30 4 shift", steps[5].understood);
}

// A report's failure message holds whatever a script or the add-in said: it stays well-formed XML.
TEST(HostScript, ReportTextIsWellFormedXml) {
  EXPECT_EQ("a &amp; &lt;b&gt; &quot;c&quot; Ü", XmlAttributeText("a & <b> \"c\" Ü"));
  EXPECT_EQ("bell\\x07 tab&#9;line&#10;", XmlAttributeText("bell\x07 tab\tline\n"));
  EXPECT_EQ("cut \\xC3 end \\xEF\\xBF\\xBF", XmlAttributeText("cut \xc3 end \xef\xbf\xbf"));
}

TEST(HostScript, ReportsNameTheTestByTheWholeScriptName) {
  const struct {
    const char* file;
    const char* name;
  } cases[] = {
      {"a.tlh", "a"}, {"C:\\x.y\\name.v1.2-a.tlh", "name.v1.2-a"}, {"dir.d/plain", "plain"}, {".hidden", ".hidden"}};
  for (const auto& c : cases) EXPECT_EQ(c.name, ScriptTestName(c.file)) << c.file;
}

TEST(HostScript, CommandLinesOfOtherFormsAreRefused) {
  const struct {
    std::vector<std::wstring> args;
    bool valid;
  } cases[] = {
      {{}, true},
      {{L"--script", L"a.tlh"}, true},
      {{L"--out", L"ö/x", L"--script", L"a.tlh", L"--report", L"r.xml"}, true},
      {{L"--out", L"out"}, false},
      {{L"--report", L"r.xml"}, false},
      {{L"--script", L"a.tlh", L"--script", L"b.tlh"}, false},
      {{L"--script", L"a.tlh", L"--out"}, false},
      {{L"--script", L""}, false},
      {{L"--scrip", L"a.tlh"}, false},
      {{L"a.tlh"}, false},
  };
  for (const auto& c : cases) {
    HostArguments read;
    EXPECT_EQ(c.valid, ReadHostArguments(c.args, &read)) << c.args.size();
  }
  HostArguments read;
  ASSERT_TRUE(ReadHostArguments({L"--out", L"ö/x", L"--script", L"a.tlh"}, &read));
  EXPECT_EQ(L"ö/x", read.outFolder);
  EXPECT_EQ(L"a.tlh", read.script);
}

}  // namespace
