// The README's table of stored options against the add-in's own table: every option it stores,
// and the data folder, has a row with its kind and its default as stored, so that the document
// an administrator reads cannot drift from the code.
#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "options/stored_options.h"

namespace {

constexpr char kTableHeading[] = "## Options in the registry";

// The cells of a Markdown table row, trimmed; none for a line that is not a row.
std::vector<std::string> Cells(const std::string& line) {
  std::vector<std::string> cells;
  if (line.empty() || line.front() != '|') return cells;
  std::string cell;
  for (size_t i = 1; i < line.size(); ++i) {
    if (line[i] == '\\' && i + 1 < line.size() && line[i + 1] == '|') {
      cell += line[++i];
    } else if (line[i] == '|') {
      const size_t first = cell.find_first_not_of(' ');
      cells.push_back(first == std::string::npos ? "" : cell.substr(first, cell.find_last_not_of(' ') - first + 1));
      cell.clear();
    } else {
      cell += line[i];
    }
  }
  return cells;
}

// The options table's rows, by their first cell (an option's name in backticks), from its heading
// up to the next heading.
std::map<std::string, std::vector<std::string>> OptionRows(std::istream& readme) {
  std::map<std::string, std::vector<std::string>> rows;
  bool inTable = false;
  for (std::string line; std::getline(readme, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.rfind('#', 0) == 0) inTable = line == kTableHeading;
    std::vector<std::string> cells = Cells(line);
    if (inTable && !cells.empty() && cells[0].rfind('`', 0) == 0) rows[cells[0]] = cells;
  }
  return rows;
}

const char* KindWord(StoredKind kind) {
  switch (kind) {
    case StoredKind::Number:
      return "number";
    case StoredKind::Flag:
      return "flag";
    case StoredKind::Text:
      return "text";
  }
  return "";
}

// A default as the table writes it: the stored text in backticks, or "empty".
std::string DefaultCell(const std::string& stored) {
  return stored.empty() ? "empty" : "`" + stored + "`";
}

TEST(ReadmeOptions, EveryStoredOptionHasItsRowWithKindAndDefault) {
  std::ifstream readme(TL_SOURCE_DIR "/README.md", std::ios::binary);
  ASSERT_TRUE(readme) << "cannot read " TL_SOURCE_DIR "/README.md";
  const auto rows = OptionRows(readme);
  ASSERT_FALSE(rows.empty()) << "no table under \"" << kTableHeading << "\"";

  struct Expected {
    std::string name, kind, defaultCell;
  };
  std::vector<Expected> expected{{kDataPathName, "text", DefaultCell(kDefaultDataPath)}};
  const StoredOptions defaults;
  for (const StoredOption& option : kStoredOptions)
    expected.push_back({option.name, KindWord(option.kind), DefaultCell(StoredText(option, defaults))});

  for (const Expected& option : expected) {
    SCOPED_TRACE(option.name);
    const auto row = rows.find("`" + option.name + "`");
    ASSERT_TRUE(row != rows.end()) << "no row for " << option.name;
    ASSERT_GE(row->second.size(), 3u);
    EXPECT_EQ(row->second[1], option.kind);
    EXPECT_EQ(row->second[2], option.defaultCell);
  }
  EXPECT_EQ(rows.size(), expected.size()) << "the table holds a row for an option that is not stored";
}

}  // namespace
