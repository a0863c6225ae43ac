// What the labels already in use say before anything is renumbered: which numbers of a series
// occur more than once and which are missing between its smallest and its largest, and the
// highest label a drawing holds, after which the Number tool can go on. Plain values only.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "parts_list/parts_list.h"
#include "renumber/renumber_labels.h"

// How many entries (a number, or a run of missing numbers) each list of the report shows before
// it is cut with "and N more".
constexpr size_t kCensusEntriesShown = 8;

// The report on the leaders whose label is in `format`, numbers from 1 to kLastRenumberKey:
// "Twice or more: 12, 40. Missing: 5-6, 9." with the numbers written as labels of the format,
// "none" for an empty list, and "No number twice, none missing." when both are empty. A list of
// more than `shown` entries shows the first `shown` and "and N more", N counting the numbers
// left out. O(n log n) in the items.
std::string LabelCensusReport(const std::vector<RenumberItem>& items, int32_t format,
                              size_t shown = kCensusEntriesShown);

// The selected leaders whose label is in `format` against the parts list: "No callout: 4, 17. Not
// in the parts list: 26. Unreadable rows: 2.", the parts no leader numbers and the leaders' numbers
// no part has, written and cut as the census writes its lists, and the parts list's rows that hold
// no label; "Every part has a callout, and every callout a part." when nothing is amiss.
std::string PartsCheckReport(const std::vector<RenumberItem>& items, int32_t format, const PartsList& parts,
                             size_t shown = kCensusEntriesShown);

// The highest label among texts, for the Number tool to go on after it. A text counts when it is
// exactly the leader text the Number tool would write for its number in the format and style,
// prefix and suffix included (so range texts, "Note", " 7", and "007" without three digits, do
// not).
class HighestLabel {
 public:
  // A negative format counts as Arabic, as it does for the Number tool; a step below 1 as 1.
  explicit HighestLabel(int32_t format, LabelStyle style = {}, int32_t step = 1);
  // `text` is UTF-8.
  void Add(std::string_view text);
  // 0 when no text counted.
  int32_t Highest() const { return highest_; }
  // The running number after it: one step past the highest label when that is higher than
  // `running`, else `running` itself.
  int32_t Continue(int32_t running) const;

 private:
  int32_t format_;
  LabelStyle style_;
  int32_t step_;
  int32_t highest_ = 0;
  std::string scratch_;
};
