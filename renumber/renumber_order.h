// The order in which the Renumber tool hands out consecutive numbers: by the leaders' old labels
// (the long-standing rule), by their positions on the sheet in rows or in columns, or in the
// order the user selected them. A leader's position is the tip of its arrow, in drawing units,
// x to the right and y upwards. Plain values only: the dialog and the tests run it directly.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "renumber/renumber_labels.h"

// The stored order codes, in the order of the dialog's buttons.
enum RenumberOrderBy : int32_t {
  OrderByLabels = 0,
  OrderByRows = 1,     // top row first, each row left to right
  OrderByColumns = 2,  // left column first, each column top down
  OrderBySelection = 3,
  OrderClockwise = 4,  // around the centre of the tips' bounding box, from straight up
};

// The tip of a leader's arrow; not known when the host could not give it.
struct LeaderTip {
  bool known = false;
  double x = 0.0;
  double y = 0.0;
};

// Tips this close across a row (in y) or a column (in x) count as one row or column. Half the
// smallest standard lettering height (2.5 mm, ISO 3098) would be too tight for a hand's drift
// along a line, and callouts in different rows are at least one such height apart or their texts
// would overlap: the whole height separates the two cases, in a drawing kept in millimetres.
inline constexpr char kDefaultRenumberTolerance[] = "2.5";
// A tolerance is a plain decimal of at most nine digits before the point and nine after.
constexpr size_t kToleranceTextLength = 19;

// A tolerance as typed: optional blanks, digits with an optional fraction ("2", "2.5", ".5"),
// optional blanks; no sign, no exponent. False, with *tolerance untouched, for anything else.
bool ReadToleranceText(std::string_view text, double* tolerance);

// Whether the order needs the leaders' tips, and whether it bands them in rows or columns by the
// tolerance.
bool OrderNeedsTips(int32_t orderBy);
bool OrderUsesTolerance(int32_t orderBy);

// Each item's place in the order: ranks[i] is the place of item i. For rows and columns, items
// whose tip is not known come after all others, in selection order; any other order gives the
// selection order itself. Rows form from the top: a row takes
// every remaining tip at most `tolerance` below its topmost one (columns likewise from the
// left); within a row the tips go left to right (in a column top down), equal ones in selection
// order. Clockwise, the tips go by their angle around the centre of their bounding box, from
// straight up (y upwards) turning clockwise, the nearer first at equal angles, a tip on the centre
// first of all. O(n log n).
void RankByPosition(const std::vector<LeaderTip>& tips, int32_t orderBy, double tolerance,
                    std::vector<uint32_t>* ranks);

// ComputeLabels with consecutive numbers handed out in the order of `ranks` (one per item)
// instead of the old labels' order. The same leaders take part, and the summary means the same:
// the first and last items labelled, the first one's key, and one past the last number.
RenumberSummary ComputeLabelsByRank(std::vector<RenumberItem>& items, const RenumberChoices& choices,
                                    const std::vector<uint32_t>& ranks, RenumberOrder& order);

// The numbering under an order: with consecutive numbers and a position order, by `ranks`;
// otherwise (the labels' order, or numbers that keep their distances, where no order applies)
// exactly as ComputeLabels.
RenumberSummary ComputeLabelsInOrder(std::vector<RenumberItem>& items, const RenumberChoices& choices, int32_t orderBy,
                                     const std::vector<uint32_t>& ranks, RenumberOrder& order);

// The old labels in the order in which the last computation handed out the new numbers (its
// `order`, as ComputeLabelsInOrder leaves it): "12, 3, 7 and 5 more", a leader without a number
// as "(blank)", "none" when nothing takes part; at most `shown` entries.
std::string TakingOrderText(const std::vector<RenumberItem>& items, const RenumberOrder& order, size_t shown);
