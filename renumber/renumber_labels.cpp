// The Renumber tool's numbering. Taking the smallest remaining key again and again, ties going
// to the earliest item, hands the items out in the order of their (key, index) pairs; sorting
// those pairs once gives the same order without searching all items for each one. The pairs are
// packed into one 64-bit word each, so they are all distinct and a plain sort orders them.
#include "renumber/renumber_labels.h"

#include <algorithm>
#include <limits>

#include "framework/decimal_text.h"
#include "framework/utf8.h"

namespace {

int32_t KeyOf(const RenumberItem& item, const RenumberChoices& choices) {
  if (!item.isLeader) return 0;
  switch (choices.objects) {
    case AllLeaders:
      return item.number != 0 ? item.number : kLastRenumberKey;
    case NumericLeaders:
      return item.number;
    case SameFormatLeaders:
      return item.format == choices.format ? item.number : 0;
    default:
      return 0;  // no Objects choice: nothing takes part
  }
}

bool TakesPart(int32_t key) {
  return key >= 1 && key <= kLastRenumberKey;
}

int32_t KeyOfPair(uint64_t pair) {
  return static_cast<int32_t>(pair >> 32);
}

int32_t IndexOfPair(uint64_t pair) {
  return static_cast<int32_t>(pair & 0xFFFFFFFFu);
}

}  // namespace

void OrderRenumberKeys(std::vector<RenumberItem>& items, const RenumberChoices& choices, RenumberOrder& order) {
  order.clear();
  for (size_t i = 0; i < items.size(); ++i) {
    RenumberItem& item = items[i];
    item.sortKey = KeyOf(item, choices);
    if (TakesPart(item.sortKey)) order.push_back(static_cast<uint64_t>(item.sortKey) << 32 | i);
  }
  std::sort(order.begin(), order.end());
}

RenumberSummary ComputeLabels(std::vector<RenumberItem>& items, const RenumberChoices& choices, RenumberOrder& order) {
  for (RenumberItem& item : items) item.newLabel.clear();
  OrderRenumberKeys(items, choices, order);
  RenumberSummary summary;
  summary.nextNumber = choices.startAt;
  if (order.empty()) return summary;

  summary.firstIndex = IndexOfPair(order.front());
  summary.lastIndex = IndexOfPair(order.back());
  summary.smallestKey = KeyOfPair(order.front());
  summary.count = static_cast<int32_t>(order.size());
  int64_t number = 0;
  const int64_t step = std::max(choices.step, 1);  // a stored step below 1 counts as 1
  for (size_t k = 0; k < order.size(); ++k) {
    const int32_t key = KeyOfPair(order[k]);
    number = choices.fixOrder ? int64_t{choices.startAt} + static_cast<int64_t>(k) * step
                              : int64_t{key} - summary.smallestKey + choices.startAt;
    RenumberItem& item = items[static_cast<size_t>(IndexOfPair(order[k]))];
    // A number out of the format's range is labelled with its range text, as the user sees it.
    NumberToLeaderText(SaturatedInt32(number), choices.format, choices.style, &item.newLabel);
    item.sortKey = 0;  // taken
  }
  summary.nextNumber = SaturatedInt32(number + step);
  return summary;
}

std::string RenumberPreview(const std::vector<RenumberItem>& items, const RenumberSummary& summary) {
  const auto labelOf = [&items](int32_t index) {
    return index < 0 ? std::string() : items[static_cast<size_t>(index)].newLabel;
  };
  return "Renumber " + WriteInt32(summary.count) + " items.\r\nRange: " + labelOf(summary.firstIndex) + " - " +
         labelOf(summary.lastIndex);
}

void ReadLeaderLabel(std::string_view text, RenumberItem* item) {
  item->text = text;
  DetectLabelFormat(text, &item->format);
  LabelToNumber(text, item->format, &item->number);
  if (item->number == 0) item->format = NoLabel;
}

void ReadLeaderLabel(std::u16string_view text, const LabelStyle& style, const CodePage& codePage, RenumberItem* item) {
  item->text = Utf16ToUtf8(text);
  ReadLeaderText(text, style, codePage, &item->format, &item->number);
}

std::string OldLabelText(const RenumberItem& item) {
  if (item.format == NoLabel) return "(blank)";
  std::string label;
  if (FAILED(NumberToLabel(item.number, item.format, &label))) label = WriteInt32(item.number);
  return label;
}

int32_t OpeningStartAt(const std::vector<RenumberItem>& items) {
  int32_t smallest = 0;
  for (const RenumberItem& item : items) {
    if (item.isLeader && TakesPart(item.number) && (smallest == 0 || item.number < smallest)) smallest = item.number;
  }
  return smallest != 0 ? smallest : 1;
}

int32_t OpeningFormat(const std::vector<RenumberItem>& items) {
  for (const RenumberItem& item : items) {
    if (item.format != NoLabel) return item.format;
  }
  return Arabic;
}
