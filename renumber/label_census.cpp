// The census of labels. The numbers are sorted once; one pass then finds the repeated numbers and
// the runs of missing ones, counting a run by its ends so that a wide gap costs no more than a
// narrow one.
#include "renumber/label_census.h"

#include <algorithm>

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

HighestLabel::HighestLabel(int32_t format) : format_(format < 0 ? Arabic : format) {}

void HighestLabel::Add(std::string_view text) {
  int32_t detected = NoLabel, number = 0;
  DetectLabelFormat(text, &detected);
  if (detected != format_) return;
  LabelToNumber(text, format_, &number);
  if (number <= highest_) return;
  // Only a text that is the very label of its number counts; a range text has none.
  if (FAILED(NumberToLabel(number, format_, &scratch_)) || scratch_ != text) return;
  highest_ = number;
}

int32_t HighestLabel::Continue(int32_t running) const {
  // The labels end far below the 32-bit limit, so one step past the highest always fits.
  return highest_ >= running ? highest_ + 1 : running;
}
