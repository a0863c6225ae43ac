// The Renumber tool's numbering: the documented cases as a table, and the fast ordering against a
// straightforward repeated search for the smallest remaining key over many random selections.
#include "renumber/renumber_labels.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <limits>
#include <random>
#include <string>
#include <vector>

namespace {

constexpr int32_t kMax32 = std::numeric_limits<int32_t>::max();
constexpr char kNotALeader[] = "<graphic>";
constexpr char kE999[] = "E!Range 1 - 999";

std::vector<RenumberItem> Selection(const std::vector<std::string>& texts) {
  std::vector<RenumberItem> items(texts.size());
  for (size_t i = 0; i < texts.size(); ++i) {
    items[i].graphicId = static_cast<int32_t>(i + 1);
    items[i].isLeader = texts[i] != kNotALeader;
    if (items[i].isLeader) ReadLeaderLabel(texts[i], &items[i]);
  }
  return items;
}

std::string Preview(const std::vector<RenumberItem>& items, const RenumberSummary& s) {
  const auto label = [&](int32_t i) { return i < 0 ? std::string() : items[static_cast<size_t>(i)].newLabel; };
  return "Renumber " + std::to_string(s.count) + " items.\r\nRange: " + label(s.firstIndex) + " - " +
         label(s.lastIndex);
}

TEST(RenumberLabels, DocumentedCases) {
  const struct {
    std::vector<std::string> texts;
    RenumberChoices choices;  // objects, fixOrder, startAt, format
    std::vector<std::string> labels;
    std::string preview;
    int32_t nextNumber;
  } cases[] = {
      {{"3", "1", "2"}, {NumericLeaders, true, 1, Arabic}, {"3", "1", "2"}, "Renumber 3 items.\r\nRange: 1 - 3", 4},
      {{"3", "1", "2"},
       {NumericLeaders, true, 10, Arabic},
       {"12", "10", "11"},
       "Renumber 3 items.\r\nRange: 10 - 12",
       13},
      {{"2", "2", "5"}, {NumericLeaders, true, 1, Arabic}, {"1", "2", "3"}, "Renumber 3 items.\r\nRange: 1 - 3", 4},
      {{"2", "2", "5"}, {NumericLeaders, false, 1, Arabic}, {"1", "1", "4"}, "Renumber 3 items.\r\nRange: 1 - 4", 5},
      {{"5", "7", "9"}, {NumericLeaders, false, 1, Arabic}, {"1", "3", "5"}, "Renumber 3 items.\r\nRange: 1 - 5", 6},
      {{"Note", "4"}, {AllLeaders, true, 1, Arabic}, {"2", "1"}, "Renumber 2 items.\r\nRange: 1 - 2", 3},
      {{"Note", "4"}, {NumericLeaders, true, 1, Arabic}, {"", "1"}, "Renumber 1 items.\r\nRange: 1 - 1", 2},
      {{"3", "B", "iv"}, {SameFormatLeaders, true, 1, Letters}, {"", "A", ""}, "Renumber 1 items.\r\nRange: A - A", 2},
      {{"1", "2", "3", "4", "5"},
       {NumericLeaders, true, 997, Roman},
       {"cmxcvii", "cmxcviii", "cmxcix", kE999, kE999},
       "Renumber 5 items.\r\nRange: cmxcvii - E!Range 1 - 999",
       1002},
      {{"Note", "Memo"}, {NumericLeaders, true, 7, Arabic}, {"", ""}, "Renumber 0 items.\r\nRange:  - ", 7},
      {{"-3", "1000000", "6"}, {AllLeaders, true, 1, Arabic}, {"", "", "1"}, "Renumber 1 items.\r\nRange: 1 - 1", 2},
      {{"-3", "1000000", "6"},
       {NumericLeaders, false, 1, Arabic},
       {"", "", "1"},
       "Renumber 1 items.\r\nRange: 1 - 1",
       2},
      // '999999' sorts among the leaders without a number, in selection order.
      {{"Note", "999999", "Memo", "7"},
       {AllLeaders, true, 1, Arabic},
       {"2", "3", "4", "1"},
       "Renumber 4 items.\r\nRange: 1 - 4",
       5},
      {{kNotALeader, "2", kNotALeader, "1"},
       {AllLeaders, true, 1, Arabic},
       {"", "2", "", "1"},
       "Renumber 2 items.\r\nRange: 1 - 2",
       3},
      {{"1", "2", "3"},
       {NumericLeaders, true, 701, Letters},
       {"ZY", "ZZ", "E!Range 1 - 702"},
       "Renumber 3 items.\r\nRange: ZY - E!Range 1 - 702",
       704},
      {{"4", "5"},
       {NumericLeaders, true, 0, Arabic},
       {kE999, "1"},
       "Renumber 2 items.\r\nRange: E!Range 1 - 999 - 1",
       2},
      // The 32-bit limits: the numbers saturate, their labels are range texts.
      {{"1", "2"},
       {NumericLeaders, true, kMax32, Arabic},
       {kE999, kE999},
       "Renumber 2 items.\r\nRange: E!Range 1 - 999 - E!Range 1 - 999",
       kMax32},
      {{"1", "9"},
       {NumericLeaders, false, kMax32 - 2, Arabic},
       {kE999, kE999},
       "Renumber 2 items.\r\nRange: E!Range 1 - 999 - E!Range 1 - 999",
       kMax32},
      // No Objects button checked: nothing takes part.
      {{"1", "2"}, {-1, true, 1, Arabic}, {"", ""}, "Renumber 0 items.\r\nRange:  - ", 1},
  };
  RenumberOrder order;
  for (const auto& c : cases) {
    std::vector<RenumberItem> items = Selection(c.texts);
    const RenumberSummary summary = ComputeLabels(items, c.choices, order);
    std::vector<std::string> labels;
    for (const RenumberItem& item : items) labels.push_back(item.newLabel);
    const std::string what = c.texts.front() + "... from " + std::to_string(c.choices.startAt);
    EXPECT_EQ(c.labels, labels) << what;
    EXPECT_EQ(c.preview, Preview(items, summary)) << what;
    EXPECT_EQ(c.nextNumber, summary.nextNumber) << what;
  }
}

TEST(RenumberLabels, OpeningStartAtAndFormat) {
  const struct {
    std::vector<std::string> texts;
    int32_t startAt;
    int32_t format;
  } cases[] = {
      {{"7", "5", "9"}, 5, Arabic},
      {{"Note", kNotALeader}, 1, Arabic},
      {{"-3", "1000000", "Note"}, 1, Arabic},
      {{"Note", "B", "3"}, 2, Letters},
      {{"x", "C"}, 3, Roman},
      {{"999999", "1000"}, 1000, Arabic},
  };
  for (const auto& c : cases) {
    const std::vector<RenumberItem> items = Selection(c.texts);
    EXPECT_EQ(c.startAt, OpeningStartAt(items)) << c.texts.front();
    EXPECT_EQ(c.format, OpeningFormat(items)) << c.texts.front();
  }
}

// The documented ordering, step by step: take the item with the smallest remaining key from 1 to
// 999 999 (the earliest on ties), label it, set its key to 0, and again.
RenumberSummary RepeatedSearch(std::vector<RenumberItem>& items, const RenumberChoices& c) {
  for (RenumberItem& item : items) {
    item.newLabel.clear();
    if (!item.isLeader) {
      item.sortKey = 0;
    } else if (c.objects == AllLeaders) {
      item.sortKey = item.number != 0 ? item.number : 999999;
    } else if (c.objects == NumericLeaders) {
      item.sortKey = item.number;
    } else if (c.objects == SameFormatLeaders) {
      item.sortKey = item.format == c.format ? item.number : 0;
    } else {
      item.sortKey = 0;
    }
  }
  const auto clamp = [](int64_t v) { return static_cast<int32_t>(std::clamp<int64_t>(v, INT32_MIN, INT32_MAX)); };
  RenumberSummary s;
  int64_t lastNumber = 0;
  for (;;) {
    int best = -1;
    for (size_t i = 0; i < items.size(); ++i) {
      const int32_t key = items[i].sortKey;
      if (key >= 1 && key <= 999999 && (best < 0 || key < items[static_cast<size_t>(best)].sortKey))
        best = static_cast<int>(i);
    }
    if (best < 0) break;
    RenumberItem& item = items[static_cast<size_t>(best)];
    if (s.count == 0) {
      s.firstIndex = best;
      s.smallestKey = item.sortKey;
    }
    lastNumber = c.fixOrder ? int64_t{c.startAt} + s.count : int64_t{item.sortKey} - s.smallestKey + c.startAt;
    NumberToLabel(clamp(lastNumber), c.format, &item.newLabel);
    item.sortKey = 0;
    s.lastIndex = best;
    ++s.count;
  }
  s.nextNumber = s.count == 0 ? c.startAt : clamp(lastNumber + 1);
  return s;
}

TEST(RenumberLabels, FastOrderingEqualsTheRepeatedSearch) {
  std::mt19937 random(20240611);
  const std::vector<std::string> pool = {"Note", "0",   "-3",  "-1",  "1000000", "999999", "999998", "2147483647",
                                         "B",    "AA",  "ZZ",  "iv",  "cmxcix",  "x",      "5A",     "Item 12",
                                         "",     "12a", "XIV", "A1 ", "1",       "2",      "3",      "998"};
  const int32_t starts[] = {1, 10, 997, 0, -5, 703, kMax32 - 2, kMax32, INT32_MIN};
  const auto pick = [&random](size_t n) { return static_cast<size_t>(random() % n); };
  RenumberOrder order;
  for (int round = 0; round < 3000; ++round) {
    const size_t n = round % 100 == 0 ? 400 : pick(40);
    std::vector<std::string> texts;
    for (size_t i = 0; i < n; ++i) {
      const size_t kind = pick(10);
      if (kind == 0) {
        texts.push_back(kNotALeader);
      } else if (kind < 5) {
        texts.push_back(std::to_string(1 + pick(n + 1)));  // repeats and gaps
      } else {
        texts.push_back(pool[pick(pool.size())]);
      }
    }
    const RenumberChoices choices{static_cast<int32_t>(pick(5)) - 1, pick(2) == 0, starts[pick(std::size(starts))],
                                  static_cast<int32_t>(pick(3))};
    std::vector<RenumberItem> fast = Selection(texts);
    std::vector<RenumberItem> slow = fast;
    const RenumberSummary got = ComputeLabels(fast, choices, order);
    const RenumberSummary want = RepeatedSearch(slow, choices);
    const std::string what = "round " + std::to_string(round);
    ASSERT_EQ(want.firstIndex, got.firstIndex) << what;
    ASSERT_EQ(want.lastIndex, got.lastIndex) << what;
    ASSERT_EQ(want.smallestKey, got.smallestKey) << what;
    ASSERT_EQ(want.count, got.count) << what;
    ASSERT_EQ(want.nextNumber, got.nextNumber) << what;
    for (size_t i = 0; i < n; ++i) {
      ASSERT_EQ(slow[i].newLabel, fast[i].newLabel) << what << " item " << i;
      ASSERT_EQ(slow[i].sortKey, fast[i].sortKey) << what << " item " << i;
      ASSERT_EQ(slow[i].graphicId, fast[i].graphicId) << what << " item " << i << " kept its place";
    }
  }
}

}  // namespace
