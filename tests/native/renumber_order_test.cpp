// The Renumber tool's orders: by rows and columns of the leaders' tips within a tolerance, by
// selection, and by the old labels as before.
#include "renumber/renumber_order.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <sstream>
#include <string>
#include <vector>

// Named, not anonymous: its helpers share names with the other Renumber tests', and a unity
// batch may hold both files.
namespace renumber_order_test {

// "7@10,50|8@?|#" is a leader "7" whose tip is at (10, 50), a leader "8" whose tip cannot be
// read and a graphic that is no leader.
struct Selection {
  std::vector<RenumberItem> items;
  std::vector<LeaderTip> tips;
};

Selection Parse(const std::string& layout) {
  Selection s;
  std::istringstream in(layout);
  for (std::string part; std::getline(in, part, '|');) {
    RenumberItem item;
    LeaderTip tip;
    const size_t at = part.find('@');
    item.isLeader = part != "#";
    if (item.isLeader) ReadLeaderLabel(part.substr(0, at), &item);
    if (at != std::string::npos && part.substr(at + 1) != "?") {
      tip.known = true;
      std::sscanf(part.c_str() + at + 1, "%lf,%lf", &tip.x, &tip.y);
    }
    s.items.push_back(item);
    s.tips.push_back(tip);
  }
  return s;
}

std::string Labels(const std::vector<RenumberItem>& items) {
  std::string labels;
  for (size_t i = 0; i < items.size(); ++i) labels += (i == 0 ? "" : "|") + items[i].newLabel;
  return labels;
}

TEST(RenumberOrder, OrdersByPositionSelectionOrLabels) {
  const RenumberChoices fixed{NumericLeaders, true, 1, Arabic};
  const struct {
    const char* selection;
    int32_t orderBy;
    double tolerance;
    const char* labels;
    RenumberChoices choices;
  } cases[] = {
      // One row within the tolerance, left to right; the row below comes after it.
      {"7@10,50|8@30,50.4|9@20,49.8|10@15,30", OrderByRows, 1.0, "1|3|2|4", fixed},
      // Outside it the tips part into rows, each started by its topmost tip.
      {"7@10,50|8@30,50.4|9@20,49.8|10@15,30", OrderByRows, 0.3, "2|1|3|4", fixed},
      // A tip exactly the tolerance away still belongs to the row.
      {"7@10,50|8@5,49.5", OrderByRows, 0.5, "2|1", fixed},
      // A row reaches the tolerance from its first tip, however the tips drift along it.
      {"7@40,50|8@30,49.6|9@20,49.2|10@10,48.8", OrderByRows, 0.5, "2|1|4|3", fixed},
      {"7@10,50|8@10.5,60|9@30,40|10@9.8,35", OrderByColumns, 1.0, "2|1|4|3", fixed},
      {"7@10,50|8@10.5,60|9@30,40|10@9.8,35", OrderByColumns, 0.5, "1|3|4|2", fixed},
      // Equal tips keep selection order, in rows and in columns.
      {"7@10,10|8@10,10|9@5,10", OrderByRows, 0.0, "2|3|1", fixed},
      {"7@10,10|8@10,10|9@10,20", OrderByColumns, 0.0, "2|3|1", fixed},
      // Tips that cannot be read come last, in selection order; so do tips that are no numbers.
      {"7@?|8@10,10|9@?|10@5,10", OrderByRows, 1.0, "3|2|4|1", fixed},
      {"7@nan,10|8@10,10", OrderByColumns, 1.0, "2|1", fixed},
      {"3@50,50|1@10,10|2@30,30", OrderBySelection, 1.0, "1|2|3", fixed},
      // Clockwise around the centre of the tips' box from straight up; at one angle the nearer
      // first; a tip on the centre before all, unreadable ones last; just left of up comes last.
      {"7@-10,0|8@0,-10|9@10,0|10@0,10", OrderClockwise, 0.0, "4|3|2|1", fixed},
      {"7@100,110|8@100,105|9@100,90", OrderClockwise, 0.0, "2|1|3", fixed},
      {"7@10,0|8@?|9@0,0|10@-10,0", OrderClockwise, 0.0, "2|4|1|3", fixed},
      {"7@-1,10|8@1,10|9@0,-10", OrderClockwise, 0.0, "3|1|2", fixed},
      // The old labels' order, as before, whatever the tips say.
      {"3@10,50|1@20,50|2@30,50", OrderByLabels, 1.0, "3|1|2", fixed},
      // Without Fix Order the numbers keep their distances: no order applies.
      {"5@10,50|7@20,50|9@30,50", OrderByRows, 1.0, "1|3|5", {NumericLeaders, false, 1, Arabic}},
      // Only the leaders that take part are numbered; with all leaders, "Note" too, at its place.
      {"#|Note@5,50|4@10,50|2@20,50", OrderByRows, 1.0, "||1|2", fixed},
      {"#|Note@5,50|4@10,50|2@20,50", OrderByRows, 1.0, "|1|2|3", {AllLeaders, true, 1, Arabic}},
      {"4@10,50|2@20,50", OrderByRows, 1.0, "B|C", {NumericLeaders, true, 2, Letters}},
  };
  RenumberOrder order;
  std::vector<uint32_t> ranks;
  for (const auto& c : cases) {
    Selection s = Parse(c.selection);
    RankByPosition(s.tips, c.orderBy, c.tolerance, &ranks);
    const RenumberSummary summary = ComputeLabelsInOrder(s.items, c.choices, c.orderBy, ranks, order);
    const std::string what = std::string(c.selection) + " order " + std::to_string(c.orderBy);
    EXPECT_EQ(c.labels, Labels(s.items)) << what;
    if (c.choices.fixOrder) {
      EXPECT_EQ(c.choices.startAt + summary.count, summary.nextNumber) << what;
    }
    std::string first;
    NumberToLabel(c.choices.startAt, c.choices.format, &first);
    ASSERT_GE(summary.firstIndex, 0) << what;
    EXPECT_EQ(first, s.items[static_cast<size_t>(summary.firstIndex)].newLabel) << what;
  }
  // The old labels in the order of the last computation, cut after the entries shown.
  Selection s = Parse("7@30,5|Note@20,5|1000@10,5|B@5,1");
  RankByPosition(s.tips, OrderByRows, 1.0, &ranks);
  ComputeLabelsInOrder(s.items, {AllLeaders, true, 1, Arabic}, OrderByRows, ranks, order);
  EXPECT_EQ("1000, (blank), 7 and 1 more", TakingOrderText(s.items, order, 3));
  EXPECT_EQ("1000, (blank), 7, B", TakingOrderText(s.items, order, 8));
  EXPECT_EQ("1000, (blank), 7, B", TakingOrderText(s.items, order, 4)) << "exactly as many as shown: no \"0 more\"";
}

TEST(RenumberOrder, ReadsToleranceAsAPlainDecimal) {
  const struct {
    const char* text;
    bool read;
    double tolerance;
  } cases[] = {
      {"2.5", true, 2.5}, {" 3 ", true, 3.0}, {".5", true, 0.5},        {"5.", true, 5.0},
      {"0", true, 0.0},   {"", false, 0},     {".", false, 0},          {"-1", false, 0},
      {"1e3", false, 0},  {"1,5", false, 0},  {"1234567890", false, 0}, {"2.5.1", false, 0},
  };
  for (const auto& c : cases) {
    double tolerance = -7.0;
    EXPECT_EQ(c.read, ReadToleranceText(c.text, &tolerance)) << c.text;
    EXPECT_DOUBLE_EQ(c.read ? c.tolerance : -7.0, tolerance) << c.text;
  }
}

}  // namespace renumber_order_test
