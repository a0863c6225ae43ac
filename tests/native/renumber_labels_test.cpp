// The Renumber tool's numbering: the documented cases as a table, and the fast ordering against a
// straightforward repeated search for the smallest remaining key over many random selections.
#include "renumber/renumber_labels.h"

#include <gtest/gtest.h>

#include "framework/utf8.h"
#include "testing/windows1252_code_page.h"

#include <algorithm>
#include <random>
#include <sstream>
#include <string>
#include <vector>

namespace {

// "3|1|Note|#" is a selection of three leaders and, last, a graphic that is no leader.
std::vector<RenumberItem> Selection(const std::string& texts) {
  std::vector<RenumberItem> items;
  std::istringstream in(texts);
  for (std::string text; std::getline(in, text, '|');) {
    RenumberItem item;
    item.graphicId = static_cast<int32_t>(items.size() + 1);
    item.isLeader = text != "#";
    if (item.isLeader) ReadLeaderLabel(text, &item);
    items.push_back(item);
  }
  return items;
}

std::string Labels(const std::vector<RenumberItem>& items) {
  std::string labels;
  for (size_t i = 0; i < items.size(); ++i) labels += (i == 0 ? "" : "|") + items[i].newLabel;
  return labels;
}

TEST(RenumberLabels, DocumentedCases) {
  const struct {
    const char* texts;
    RenumberChoices choices;  // objects, fixOrder, startAt, format
    const char* labels;
    const char* preview;
    int32_t nextNumber;
  } cases[] = {
      {"3|1|2", {NumericLeaders, true, 1, Arabic}, "3|1|2", "Renumber 3 items.\r\nRange: 1 - 3", 4},
      {"3|1|2", {NumericLeaders, true, 10, Arabic}, "12|10|11", "Renumber 3 items.\r\nRange: 10 - 12", 13},
      {"2|2|5", {NumericLeaders, true, 1, Arabic}, "1|2|3", "Renumber 3 items.\r\nRange: 1 - 3", 4},
      {"2|2|5", {NumericLeaders, false, 1, Arabic}, "1|1|4", "Renumber 3 items.\r\nRange: 1 - 4", 5},
      {"5|7|9", {NumericLeaders, false, 1, Arabic}, "1|3|5", "Renumber 3 items.\r\nRange: 1 - 5", 6},
      {"Note|4", {AllLeaders, true, 1, Arabic}, "2|1", "Renumber 2 items.\r\nRange: 1 - 2", 3},
      {"Note|4", {NumericLeaders, true, 1, Arabic}, "|1", "Renumber 1 items.\r\nRange: 1 - 1", 2},
      {"3|B|iv", {SameFormatLeaders, true, 1, Letters}, "|A|", "Renumber 1 items.\r\nRange: A - A", 2},
      {"1|2|3|4|5",
       {NumericLeaders, true, 997, Roman},
       "cmxcvii|cmxcviii|cmxcix|E!Range 1 - 999|E!Range 1 - 999",
       "Renumber 5 items.\r\nRange: cmxcvii - E!Range 1 - 999",
       1002},
      {"Note|Memo", {NumericLeaders, true, 7, Arabic}, "|", "Renumber 0 items.\r\nRange:  - ", 7},
      {"-3|1000000|6", {AllLeaders, true, 1, Arabic}, "||1", "Renumber 1 items.\r\nRange: 1 - 1", 2},
      {"Note|999999|Memo|7", {AllLeaders, true, 1, Arabic}, "2|3|4|1", "Renumber 4 items.\r\nRange: 1 - 4", 5},
      {"#|2|#|1", {AllLeaders, true, 1, Arabic}, "|2||1", "Renumber 2 items.\r\nRange: 1 - 2", 3},
      {"1|2|3",
       {NumericLeaders, true, 701, Letters},
       "ZY|ZZ|E!Range 1 - 702",
       "Renumber 3 items.\r\nRange: ZY - E!Range 1 - 702",
       704},
      // Past the 32-bit limits the numbers saturate; their labels are range texts.
      {"1|2",
       {NumericLeaders, true, INT32_MAX, Arabic},
       "E!Range 1 - 999|E!Range 1 - 999",
       "Renumber 2 items.\r\nRange: E!Range 1 - 999 - E!Range 1 - 999",
       INT32_MAX},
      {"1|9",
       {NumericLeaders, false, INT32_MAX - 2, Arabic},
       "E!Range 1 - 999|E!Range 1 - 999",
       "Renumber 2 items.\r\nRange: E!Range 1 - 999 - E!Range 1 - 999",
       INT32_MAX},
      {"1|2", {-1, true, 1, Arabic}, "|", "Renumber 0 items.\r\nRange:  - ", 1},  // no Objects button
  };
  RenumberOrder order;
  for (const auto& c : cases) {
    std::vector<RenumberItem> items = Selection(c.texts);
    const RenumberSummary summary = ComputeLabels(items, c.choices, order);
    const std::string what = std::string(c.texts) + " from " + std::to_string(c.choices.startAt);
    EXPECT_EQ(c.labels, Labels(items)) << what;
    EXPECT_EQ(c.preview, RenumberPreview(items, summary)) << what;
    EXPECT_EQ(c.nextNumber, summary.nextNumber) << what;
  }
}

// Labels dressed as the Number tool dresses them: the leaders are read in the same style (texts
// without the prefix as before, a skipped letter as no label) and labelled in it, by the step.
TEST(RenumberLabels, StyledLabelsAndStep) {
  const LabelStyle p2{"P-", "", 2}, p3{"P-", "", 3}, a{"", "a"}, noIOQ{"", "", 0, LettersWithoutIOQ},
      noIOQParen{"", ")", 0, LettersWithoutIOQ};
  const struct {
    const char* texts;  // UTF-8
    RenumberChoices choices;
    const char* labels;
    const char* preview;
    int32_t nextNumber;
  } cases[] = {
      {"P-03|P-01|P-02",
       {NumericLeaders, true, 1, Arabic, p2, 1},
       "P-03|P-01|P-02",
       "Renumber 3 items.\r\nRange: P-01 - P-03",
       4},
      {"P-03|P-01|P-02",
       {NumericLeaders, true, 10, Arabic, p2, 10},
       "P-30|P-10|P-20",
       "Renumber 3 items.\r\nRange: P-10 - P-30",
       40},
      {"P-05|P-07|P-09",
       {NumericLeaders, false, 1, Arabic, p2, 10},
       "P-01|P-03|P-05",
       "Renumber 3 items.\r\nRange: P-01 - P-05",
       15},
      {"3|P-1|Note",
       {NumericLeaders, true, 1, Arabic, p2, 1},
       "P-02|P-01|",
       "Renumber 2 items.\r\nRange: P-01 - P-02",
       3},
      {"Note|P-002|7",
       {AllLeaders, true, 5, Arabic, p3, 5},
       "P-015|P-005|P-010",
       "Renumber 3 items.\r\nRange: P-005 - P-015",
       20},
      {"12a|11a|V", {NumericLeaders, true, 1, Arabic, a, 1}, "2a|1a|3a", "Renumber 3 items.\r\nRange: 1a - 3a", 4},
      {"A|I|B|AJ", {SameFormatLeaders, true, 1, Letters, noIOQ, 2}, "A||C|E", "Renumber 3 items.\r\nRange: A - E", 7},
      {"B)|D)|H)|O)",
       {SameFormatLeaders, false, 8, Letters, noIOQParen, 3},
       "H)|K)|P)|",
       "Renumber 3 items.\r\nRange: H) - P)",
       17},
      {"P-1|P-2|P-3",
       {NumericLeaders, true, 998, Arabic, p2, 1},
       "P-998|P-999|E!Range 1 - 999",
       "Renumber 3 items.\r\nRange: P-998 - E!Range 1 - 999",
       1001},
      {"\u2300 4|\u2300 2",
       {NumericLeaders, true, 1, Roman, {"\u2300 "}, 1},
       "\u2300 ii|\u2300 i",
       "Renumber 2 items.\r\nRange: \u2300 i - \u2300 ii",
       3},
  };
  const Windows1252CodePage codePage;
  RenumberOrder order;
  for (const auto& c : cases) {
    std::vector<RenumberItem> items;
    std::istringstream in(c.texts);
    for (std::string text; std::getline(in, text, '|');) {
      items.emplace_back();
      items.back().isLeader = true;
      ReadLeaderLabel(Utf8ToUtf16(text), c.choices.style, codePage, &items.back());
    }
    const RenumberSummary summary = ComputeLabels(items, c.choices, order);
    EXPECT_EQ(c.labels, Labels(items)) << c.texts;
    EXPECT_EQ(c.preview, RenumberPreview(items, summary)) << c.texts;
    EXPECT_EQ(c.nextNumber, summary.nextNumber) << c.texts;
  }
}

// The documented ordering, step by step: take the item with the smallest remaining key from 1 to
// 999 999 (the earliest on ties), label it, set its key to 0, and again.
RenumberSummary RepeatedSearch(std::vector<RenumberItem>& items, const RenumberChoices& c) {
  for (RenumberItem& item : items) {
    item.newLabel.clear();
    const bool numeric = c.objects == NumericLeaders || (c.objects == SameFormatLeaders && item.format == c.format);
    item.sortKey = !item.isLeader            ? 0
                   : c.objects == AllLeaders ? (item.number != 0 ? item.number : 999999)
                   : numeric                 ? item.number
                                             : 0;
  }
  const auto clamp = [](int64_t v) { return static_cast<int32_t>(std::clamp<int64_t>(v, INT32_MIN, INT32_MAX)); };
  RenumberSummary s;
  int64_t number = 0;
  for (;;) {
    int best = -1;
    for (int i = 0; i < static_cast<int>(items.size()); ++i) {
      const int32_t key = items[i].sortKey;
      if (key >= 1 && key <= 999999 && (best < 0 || key < items[best].sortKey)) best = i;
    }
    if (best < 0) break;
    if (s.count == 0) s.firstIndex = best, s.smallestKey = items[best].sortKey;
    number = c.fixOrder ? int64_t{c.startAt} + s.count : int64_t{items[best].sortKey} - s.smallestKey + c.startAt;
    NumberToLabel(clamp(number), c.format, &items[best].newLabel);
    items[best].sortKey = 0;
    s.lastIndex = best;
    ++s.count;
  }
  s.nextNumber = s.count == 0 ? c.startAt : clamp(number + 1);
  return s;
}

TEST(RenumberLabels, FastOrderingEqualsTheRepeatedSearch) {
  std::mt19937 random(20240611);
  const std::string pool[] = {"Note", "0",  "-3",  "1000000", "999999", "2147483647", "B",   "ZZ",     "iv",
                              "x",    "5A", "12a", "XIV",     "",       "#",          "998", "Item 12"};
  const int32_t starts[] = {1, 10, 997, 0, -5, 703, INT32_MAX - 2, INT32_MAX, INT32_MIN};
  const auto pick = [&random](size_t n) { return static_cast<size_t>(random() % n); };
  RenumberOrder order;  // reused, as the dialog reuses it
  for (int round = 0; round < 3000; ++round) {
    const size_t n = round % 100 == 0 ? 400 : pick(40);
    std::string texts;
    for (size_t i = 0; i < n; ++i) {
      // Half of them numbers from 1 to n + 1: repeats and gaps.
      texts += (i == 0 ? "" : "|") + (pick(2) == 0 ? std::to_string(1 + pick(n + 1)) : pool[pick(std::size(pool))]);
    }
    const RenumberChoices choices{static_cast<int32_t>(pick(5)) - 1, pick(2) == 0, starts[pick(std::size(starts))],
                                  static_cast<int32_t>(pick(3))};
    std::vector<RenumberItem> fast = Selection(texts), slow = fast;
    const RenumberSummary got = ComputeLabels(fast, choices, order);
    const RenumberSummary want = RepeatedSearch(slow, choices);
    const auto state = [](const RenumberSummary& s, const std::vector<RenumberItem>& items) {
      std::string all = std::to_string(s.firstIndex) + " " + std::to_string(s.lastIndex) + " " +
                        std::to_string(s.smallestKey) + " " + std::to_string(s.count) + " " +
                        std::to_string(s.nextNumber);
      for (const RenumberItem& item : items) {
        all += " " + std::to_string(item.graphicId) + ":" + std::to_string(item.sortKey) + ":" + item.newLabel;
      }
      return all;
    };
    ASSERT_EQ(state(want, slow), state(got, fast)) << "round " << round << ": " << texts;
  }
}

}  // namespace
