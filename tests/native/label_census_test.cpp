// The labels in use: the report of repeated and missing numbers, and the highest label the Number
// tool goes on after.
#include "renumber/label_census.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

namespace {

std::vector<std::string> Texts(const std::string& joined) {
  std::vector<std::string> texts;
  std::istringstream in(joined);
  for (std::string text; std::getline(in, text, '|');) texts.push_back(text);
  return texts;
}

// "#" is a graphic that is no leader.
std::vector<RenumberItem> Leaders(const std::string& joined) {
  std::vector<RenumberItem> items;
  for (const std::string& text : Texts(joined)) {
    RenumberItem item;
    item.isLeader = text != "#";
    if (item.isLeader) ReadLeaderLabel(text, &item);
    items.push_back(item);
  }
  return items;
}

TEST(LabelCensus, ReportsRepeatedAndMissingNumbersBriefly) {
  const struct {
    const char* texts;
    int32_t format;
    size_t shown;
    const char* report;
  } cases[] = {
      {"3|1|2", Arabic, 8, "No number twice, none missing."},
      {"", Arabic, 8, "No number twice, none missing."},
      {"#|Note|2", Arabic, 8, "No number twice, none missing."},
      {"40|3|12|4|12|8|40|40", Arabic, 8, "Twice or more: 12, 40. Missing: 5-7, 9-11, 13-39."},
      // Only the labels of the format count, written in it.
      {"A|C|C|F|3|1", Letters, 8, "Twice or more: C. Missing: B, D-E."},
      {"1|A|3|A", Arabic, 8, "Twice or more: none. Missing: 2."},
      {"i|iv", Roman, 8, "Twice or more: none. Missing: ii-iii."},
      // Long lists are cut; "more" counts the numbers left out, a whole run each.
      {"1|3|5|7|9|11", Arabic, 2, "Twice or more: none. Missing: 2, 4 and 3 more."},
      {"1|1|2|2|3|3|4|4", Arabic, 2, "Twice or more: 1, 2 and 2 more. Missing: none."},
      {"1|999|1|999|500", Arabic, 1, "Twice or more: 1 and 1 more. Missing: 2-499 and 498 more."},
      // Numbers past the format's labels are still numbers in use.
      {"998|1001", Arabic, 8, "Twice or more: none. Missing: 999-1000."},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(c.report, LabelCensusReport(Leaders(c.texts), c.format, c.shown)) << c.texts;
  }
}

TEST(LabelCensus, ContinuesAfterTheHighestLabelOfTheFormat) {
  const struct {
    const char* texts;
    int32_t format;
    int32_t running;
    int32_t next;
    LabelStyle style = {};
    int32_t step = 1;
  } cases[] = {
      {"", Arabic, 1, 1},  // no leaders at all
      {"1|37|2", Arabic, 1, 38},
      {"5|B|C|ix", Letters, 1, 4},
      {"5|B|C|ix", Roman, 1, 10},
      {"5|B|C|ix", -1, 1, 6},  // a negative format is Arabic
      {"E!Range 1 - 999|E!Range 1 - 702|12", Arabic, 1, 13},
      {"E!Range 1 - 702", Letters, 1, 1},
      {"Note|007| 7|12a|Tank T-1|ZZZ", Arabic, 1, 1},  // texts that carry no label
      {"1|2|3", Arabic, 10, 10},                       // the running number is higher already
      {"1|2|3", Arabic, 3, 4},
      {"1|2|3", Arabic, 4, 4},
      {"999", Arabic, 1, 1000},  // whose label is a range text, as at the end of any sequence
      // Only texts the Number tool would write in its style count; the next is one step on.
      {"P-001|P-037|37|P-2|Q-040", Arabic, 1, 38, {"P-", "", 3}},
      {"P-010|P-020|P-030", Arabic, 1, 40, {"P-", "", 3}, 10},
      {"P-010|P-020|P-030", Arabic, 45, 45, {"P-", "", 3}, 10},
      {"Note", Arabic, 9, 9, {}, 10},  // no label to go on after: the running number stays
      {"", Arabic, 0, 0},
      {"V12a|V7a|V13|14a|V15a", Arabic, 1, 16, {"V", "a"}},
      {"⌀H|⌀J|⌀I|H", Letters, 1, 10, {"⌀", "", 0, LettersWithoutIOQ}},
  };
  for (const auto& c : cases) {
    HighestLabel highest(c.format, c.style, c.step);
    for (const std::string& text : Texts(c.texts)) highest.Add(text);
    EXPECT_EQ(c.next, highest.Continue(c.running)) << c.texts << " in " << c.format;
  }
}

}  // namespace
