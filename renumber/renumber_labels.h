// The numbering of the Renumber tool over plain values: which selected leaders take part, in
// which order they receive their new numbers, and the labels they get. No window and no host
// is involved, so the dialog computes its live preview with it and the tests run it directly.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "labels/label_format.h"

// Keys from 1 to kLastRenumberKey take part; a leader without a number sorts as this key when
// every leader takes part, after all numbered ones.
constexpr int32_t kLastRenumberKey = 999999;

// One selected graphic, in selection order.
struct RenumberItem {
  bool isLeader = false;
  int32_t format = NoLabel;  // as detected; NoLabel also for a leader whose text reads as 0
  int32_t number = 0;        // 0: the text carries no number
  int32_t sortKey = 0;       // working key; 0: not taking part, or labelled already
  std::string newLabel;      // UTF-8, prefix and suffix included; empty: the item is not renumbered
  int32_t graphicId = 0;
  std::string text;  // a leader's text as read (UTF-8), for the callout list
};

// Which leaders take part (the Objects choice).
enum RenumberObjects : int32_t {
  AllLeaders = 0,
  NumericLeaders = 1,
  SameFormatLeaders = 2,  // numeric leaders in the chosen format
};

// The choices one computation works with.
struct RenumberChoices {
  int32_t objects = NumericLeaders;
  bool fixOrder = true;  // true: consecutive numbers; false: the old numbers' distances are kept
  int32_t startAt = 1;
  int32_t format = Arabic;
  LabelStyle style;  // prefix, suffix, leading zeros and letter set of the new labels
  int32_t step = 1;  // with fixOrder, the distance between consecutive new numbers
};

// What a computation gives besides the labels.
struct RenumberSummary {
  int32_t firstIndex = -1;  // the item that received the first label
  int32_t lastIndex = -1;   // the item that received the last label
  int32_t smallestKey = 0;  // the first item's key
  int32_t nextNumber = 0;   // one step past the last number assigned, held within 32 bits
  int32_t count = 0;        // items that received a label
};

// Scratch space of the ordering, allocated once per operation and reused by every computation.
using RenumberOrder = std::vector<uint64_t>;

// Computes every item's newLabel and sortKey afresh. The items take their numbers by ascending
// key, equal keys in selection order, exactly as a repeated search for the smallest remaining key
// would hand them out, in O(n log n). Items keep their places in `items`.
RenumberSummary ComputeLabels(std::vector<RenumberItem>& items, const RenumberChoices& choices, RenumberOrder& order);

// The preview of a computation: "Renumber <count> items.\r\nRange: <first label> - <last label>".
std::string RenumberPreview(const std::vector<RenumberItem>& items, const RenumberSummary& summary);

// The ordering step alone: the (key, index) pairs of the taking part keys, in the order in which
// the items are taken, each packed as key << 32 | index. Sets every sortKey first.
void OrderRenumberKeys(std::vector<RenumberItem>& items, const RenumberChoices& choices, RenumberOrder& order);

// Sets the format and number of a leader from its text (8-bit): as the label formats read it,
// NoLabel and 0 for a text that reads as number 0.
void ReadLeaderLabel(std::string_view text, RenumberItem* item);
// The same for a leader's own text in `style`: the label between the style's prefix and suffix
// when the text carries them, the whole text otherwise, in the style's letter set.
void ReadLeaderLabel(std::u16string_view text, const LabelStyle& style, const CodePage& codePage, RenumberItem* item);

// A leader's old label as the dialog shows it: "(blank)" without a number, and a number its
// format cannot write (such as 1000) in plain digits.
std::string OldLabelText(const RenumberItem& item);

// The dialog's opening values: the smallest number from 1 to kLastRenumberKey among the leaders
// (1 when none has one), and the format of the first item that has one (Arabic when none has).
int32_t OpeningStartAt(const std::vector<RenumberItem>& items);
int32_t OpeningFormat(const std::vector<RenumberItem>& items);
