// The parts list as spreadsheets and ERP systems write it, the check of the selected callouts
// against it, and the callout table the Renumber dialog exports.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "addin/tool/callout_files.h"
#include "parts_list/parts_list.h"
#include "renumber/callout_table.h"
#include "renumber/label_census.h"
#include "testing/scripted_dialog_runner.h"
#include "testing/temp_root_file_system.h"
#include "testing/windows1252_code_page.h"

namespace parts_list_test {

std::string Utf16Le(const std::u16string& text) {
  std::string bytes = "\xFF\xFE";
  for (const char16_t unit : text) bytes += {static_cast<char>(unit & 0xFF), static_cast<char>(unit >> 8)};
  return bytes;
}

TEST(PartsList, ReadsEveryFormSpreadsheetsWrite) {
  const struct {
    const char* name;
    std::string bytes;
    std::vector<int32_t> items;
    size_t unreadable;
    LabelStyle style = {};
  } cases[] = {
      {"comma, CRLF", "Item,Description,Qty\r\n1,Flange,2\r\n2,Bolt M8,8\r\n", {1, 2}, 0},
      {"semicolon, the item column by its head", "Qty;Pos.;Name\n4;3;Tee\n1;12;Valve\n", {3, 12}, 0},
      {"tab, Find No.", "Find No.\tPart\n7\tpump\n", {7}, 0},
      {"heads in any case with blanks", "name, item number \nx,5\n", {5}, 0},
      {"no head names the column: the first one", "Part,Qty\n4,1\n5,2\n", {4, 5}, 0},
      {"no header at all", "1,Flange\n2,Bolt\n", {1, 2}, 0},
      {"UTF-8 with its mark", "\xEF\xBB\xBFNo.,Name\n9,\xE2\x8C\x80 20 pipe\n", {9}, 0},
      {"ANSI",
       "Nr.;Bezeichnung\n6;Stra\xDF"
       "e\n",
       {6},
       0},
      {"UTF-16 as Unicode text", Utf16Le(u"#\tName\r\n8\tValve\r\n"), {8}, 0},
      {"quotes, doubled quotes and a line break in quotes",
       "Item,Name\n\"10\",\"Bolt \"\"M8\"\"\nzinc, plated\"\n11,Nut\n",
       {10, 11},
       0},
      {"empty items skipped, texts unreadable", "Item,Name\n1,a\n,b\nabc,c\n1000,d\n2\n", {1, 2}, 2},
      {"the Number tool's style, bare labels too",
       "Pos,Name\nP-01,a\nP-2,b\n3,c\nQ-4,d\n",
       {1, 2, 3},
       1,
       LabelStyle{"P-", "", 2}},
      {"a last line without its end", "Item\n1\n2", {1, 2}, 0},
  };
  Windows1252CodePage codePage;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const PartsList list = ReadPartsList(c.bytes, codePage, Arabic, c.style);
    EXPECT_EQ(list.items, c.items);
    EXPECT_EQ(list.unreadableRows, c.unreadable);
  }
  // A quoted field keeps its doubled quotes as one and its line break.
  EXPECT_EQ(ReadSeparatedText("a,\"b \"\"c\"\"\nd\",e\n"),
            (std::vector<std::vector<std::string>>{{"a", "b \"c\"\nd", "e"}}));
  std::string problem;
  TempRootFileSystem files;
  EXPECT_FALSE(LoadPartsList(files, codePage, "C:\\Parts\\missing.csv", Arabic, {}, &problem));
  EXPECT_EQ(problem, "Parts list C:\\Parts\\missing.csv: cannot be read (the folder cannot be reached).");
}

TEST(PartsList, CheckNamesPartsWithoutCalloutsAndCalloutsWithoutParts) {
  const auto callouts = [](std::vector<int32_t> numbers) {
    std::vector<RenumberItem> items;
    for (const int32_t number : numbers) {
      RenumberItem item;
      item.isLeader = true;
      item.format = number > 0 ? Arabic : NoLabel;
      item.number = number > 0 ? number : 0;
      items.push_back(item);
    }
    return items;
  };
  const struct {
    std::vector<int32_t> callouts, parts;
    size_t unreadable;
    const char* report;
  } cases[] = {
      {{1, 2, 3}, {3, 2, 1}, 0, "Every part has a callout, and every callout a part."},
      {{1, 2, 26, 0}, {1, 2, 4, 17}, 2, "No callout: 4, 17. Not in the parts list: 26. Unreadable rows: 2."},
      {{1}, {1, 2, 3, 4, 9}, 0, "No callout: 2-4, 9. Not in the parts list: none. Unreadable rows: 0."},
      {{},
       {1, 3, 5, 7, 9, 11, 13, 15, 17, 19},
       0,
       "No callout: 1, 3, 5, 7, 9, 11, 13, 15 and 2 more. Not in the parts list: none. Unreadable rows: 0."},
      {{1, 1, 2}, {1, 2, 2}, 1, "No callout: none. Not in the parts list: none. Unreadable rows: 1."},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(PartsCheckReport(callouts(c.callouts), Arabic, PartsList{c.parts, c.unreadable}), c.report);
  }
}

TEST(PartsList, CalloutTableOpensInColumnsAndIsSavedWhereChosen) {
  std::vector<RenumberItem> items(4);
  ReadLeaderLabel(std::string_view("12"), &items[0]);
  ReadLeaderLabel(std::string_view("Note; \"see\" B"), &items[1]);
  items[0].isLeader = items[1].isLeader = items[3].isLeader = true;
  ReadLeaderLabel(std::string_view("C"), &items[3]);
  const std::vector<LeaderTip> tips = {{true, 10.5, -2}, {true, 1e-3, 3}, {}, {}};
  const std::string table = CalloutTable(items, {3, 0, 2, 1}, tips, ';');
  EXPECT_EQ(table,
            "\xEF\xBB\xBFLabel;Number;Leader text;X;Y\r\nC;3;C;;\r\n12;12;12;10.5;-2\r\n"
            "(blank);;\"Note; \"\"see\"\" B\";0.001;3\r\n");

  Windows1252CodePage codePage;
  TempRootFileSystem files;
  ScriptedDialogRunner runner;
  runner.AnswerNextFileDialog("C:\\Out\\callouts.csv");
  files.CreateFolder("C:\\Out");
  SaveCalloutTable(files, codePage, runner, table);
  std::string written;
  EXPECT_TRUE(files.ReadRealFile("C:\\Out\\callouts.csv", &written));
  EXPECT_EQ(written, table);
  runner.AnswerNextFileDialog("D:\\Gone\\callouts.csv");
  SaveCalloutTable(files, codePage, runner, table);
  ASSERT_EQ(runner.Messages().size(), 1u) << "a write that fails says so";
  EXPECT_EQ(runner.Messages()[0].text,
            "The callout list could not be written to D:\\Gone\\callouts.csv: the folder cannot be reached.");
  SaveCalloutTable(files, codePage, runner, table);  // cancelled: nothing written, nothing said
  EXPECT_EQ(runner.Messages().size(), 1u);
}

}  // namespace parts_list_test
