// The census of labels. The numbers are sorted once; one pass then finds the repeated numbers and
// the runs of missing ones, counting a run by its ends so that a wide gap costs no more than a
// narrow one.
#include "renumber/label_census.h"

#include <algorithm>
#include <iterator>
#include <utility>

#include "framework/decimal_text.h"

namespace {

// A number as a label of the format; one the format cannot write (a four-digit Arabic number)
// in plain digits.
std::string Written(int32_t number, int32_t format) {
  std::string label;
  if (FAILED(NumberToLabel(number, format, &label))) label = WriteInt32(number);
  return label;
}

// One list of the report: its first `shown` entries, the numbers of the others counted.
class ReportList {
 public:
  ReportList(int32_t format, size_t shown) : format_(format), shown_(shown) {}

  void AddRun(int32_t first, int32_t last) {
    if (entries_ < shown_) {
      text_ += (entries_ == 0 ? "" : ", ") + Written(first, format_);
      if (last != first) text_ += "-" + Written(last, format_);
    } else {
      leftOut_ += int64_t{last} - first + 1;
    }
    ++entries_;
  }
  bool Empty() const { return entries_ == 0; }
  std::string Text() const {
    if (entries_ == 0) return "none";
    return leftOut_ == 0 ? text_ : text_ + " and " + std::to_string(leftOut_) + " more";
  }

 private:
  int32_t format_;
  size_t shown_;
  size_t entries_ = 0;
  int64_t leftOut_ = 0;
  std::string text_;
};

}  // namespace

std::string LabelCensusReport(const std::vector<RenumberItem>& items, int32_t format, size_t shown) {
  std::vector<int32_t> numbers;
  for (const RenumberItem& item : items) {
    if (item.isLeader && item.format == format && item.number >= 1 && item.number <= kLastRenumberKey) {
      numbers.push_back(item.number);
    }
  }
  std::sort(numbers.begin(), numbers.end());
  ReportList repeated(format, shown), missing(format, shown);
  for (size_t i = 0; i < numbers.size(); ++i) {
    if (i == 0) continue;
    const int32_t previous = numbers[i - 1], number = numbers[i];
    if (number == previous && (i < 2 || numbers[i - 2] != number)) repeated.AddRun(number, number);
    if (number > previous + 1) missing.AddRun(previous + 1, number - 1);
  }
  if (repeated.Empty() && missing.Empty()) return "No number twice, none missing.";
  return "Twice or more: " + repeated.Text() + ". Missing: " + missing.Text() + ".";
}

namespace {

// Adds the runs of consecutive numbers among sorted unique `numbers` to `list`.
void AddRuns(const std::vector<int32_t>& numbers, ReportList& list) {
  for (size_t i = 0; i < numbers.size();) {
    size_t last = i;
    while (last + 1 < numbers.size() && numbers[last + 1] == numbers[last] + 1) ++last;
    list.AddRun(numbers[i], numbers[last]);
    i = last + 1;
  }
}

std::vector<int32_t> SortedUnique(std::vector<int32_t> numbers) {
  std::sort(numbers.begin(), numbers.end());
  numbers.erase(std::unique(numbers.begin(), numbers.end()), numbers.end());
  return numbers;
}

}  // namespace

std::string PartsCheckReport(const std::vector<RenumberItem>& items, int32_t format, const PartsList& parts,
                             size_t shown) {
  std::vector<int32_t> callouts;
  for (const RenumberItem& item : items) {
    if (item.isLeader && item.format == format && item.number >= 1 && item.number <= kLastRenumberKey) {
      callouts.push_back(item.number);
    }
  }
  callouts = SortedUnique(std::move(callouts));
  const std::vector<int32_t> listed = SortedUnique(parts.items);
  std::vector<int32_t> noCallout, notListed;
  std::set_difference(listed.begin(), listed.end(), callouts.begin(), callouts.end(), std::back_inserter(noCallout));
  std::set_difference(callouts.begin(), callouts.end(), listed.begin(), listed.end(), std::back_inserter(notListed));
  if (noCallout.empty() && notListed.empty() && parts.unreadableRows == 0) {
    return "Every part has a callout, and every callout a part.";
  }
  ReportList missing(format, shown), unknown(format, shown);
  AddRuns(noCallout, missing);
  AddRuns(notListed, unknown);
  return "No callout: " + missing.Text() + ". Not in the parts list: " + unknown.Text() +
         ". Unreadable rows: " + std::to_string(parts.unreadableRows) + ".";
}

HighestLabel::HighestLabel(int32_t format, LabelStyle style, int32_t step)
    : format_(format < 0 ? Arabic : format), style_(std::move(style)), step_(step < 1 ? 1 : step) {}

void HighestLabel::Add(std::string_view text) {
  const std::string_view& prefix = style_.prefix;
  const std::string_view& suffix = style_.suffix;
  if (text.size() < prefix.size() + suffix.size() || text.substr(0, prefix.size()) != prefix ||
      text.substr(text.size() - suffix.size()) != suffix) {
    return;
  }
  const std::string_view label = text.substr(prefix.size(), text.size() - prefix.size() - suffix.size());
  int32_t detected = NoLabel, number = 0;
  DetectLabelFormat(label, &detected);
  if (detected != format_) return;
  LabelToNumber(label, format_, style_, &number);
  if (number <= highest_) return;
  // Only a text that is the very leader text of its number counts; a range text has none.
  if (FAILED(NumberToLeaderText(number, format_, style_, &scratch_)) || scratch_ != text) return;
  highest_ = number;
}

int32_t HighestLabel::Continue(int32_t running) const {
  // The labels end far below the 32-bit limit, so one step past the highest always fits.
  if (highest_ == 0) return running;  // nothing in the drawing to go on after
  const int64_t next = int64_t{highest_} + step_;
  return next > running ? static_cast<int32_t>(next) : running;
}
