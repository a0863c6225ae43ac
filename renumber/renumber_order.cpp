// Ordering by position. Rows are found by one sweep over the tips sorted from the top: a row
// starts at its topmost tip and ends where a tip lies more than the tolerance below it, so a row
// never stretches further than the tolerance however many tips drift along it. Columns are the
// same sweep turned a quarter: from the left, by x.
#include "renumber/renumber_order.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numeric>

#include "framework/decimal_text.h"

namespace {

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

struct Placed {
  double across;  // the coordinate that forms the bands: y downwards for rows, x for columns
  double along;   // the coordinate within a band: x for rows, y downwards for columns
  uint32_t index;
  uint32_t band = 0;
};

}  // namespace

bool ReadToleranceText(std::string_view text, double* tolerance) {
  const auto blank = [](char c) { return c == ' ' || c == '\t'; };
  while (!text.empty() && blank(text.front())) text.remove_prefix(1);
  while (!text.empty() && blank(text.back())) text.remove_suffix(1);
  const size_t point = text.find('.');
  const std::string_view whole = text.substr(0, point);
  const std::string_view fraction = point == std::string_view::npos ? std::string_view() : text.substr(point + 1);
  const auto digitsOnly = [](std::string_view part) { return std::all_of(part.begin(), part.end(), IsDigit); };
  if (whole.size() + fraction.size() == 0 || whole.size() > 9 || fraction.size() > 9 || !digitsOnly(whole) ||
      !digitsOnly(fraction)) {
    return false;
  }
  double value = 0.0;
  for (char c : whole) value = value * 10 + (c - '0');
  double scale = 1.0;
  for (char c : fraction) value += (c - '0') * (scale /= 10);
  *tolerance = value;
  return true;
}

bool OrderNeedsTips(int32_t orderBy) {
  return orderBy == OrderByRows || orderBy == OrderByColumns || orderBy == OrderClockwise;
}

bool OrderUsesTolerance(int32_t orderBy) {
  return orderBy == OrderByRows || orderBy == OrderByColumns;
}

namespace {

// A tip relative to the centre. Angles are compared exactly, without trigonometry: by the half
// of the turn a direction falls in (from straight up to just before straight down, then the
// rest), then by the sign of the cross product; tips in one direction by their distance.
struct AroundCentre {
  double dx;
  double dy;
  uint32_t index;
  int Half() const { return dx > 0 || (dx == 0 && dy > 0) ? 0 : 1; }
  bool AtCentre() const { return dx == 0 && dy == 0; }
};

bool ClockwiseBefore(const AroundCentre& a, const AroundCentre& b) {
  if (a.AtCentre() != b.AtCentre()) return a.AtCentre();
  if (!a.AtCentre()) {
    if (a.Half() != b.Half()) return a.Half() < b.Half();
    const double cross = a.dx * b.dy - a.dy * b.dx;
    if (cross != 0) return cross < 0;
  }
  const double da = a.dx * a.dx + a.dy * a.dy, db = b.dx * b.dx + b.dy * b.dy;
  return da != db ? da < db : a.index < b.index;
}

// The readable tips' indices clockwise around the centre of their bounding box.
std::vector<uint32_t> ClockwiseIndices(const std::vector<LeaderTip>& tips) {
  double left = std::numeric_limits<double>::infinity(), right = -left, bottom = left, top = -left;
  std::vector<AroundCentre> around;
  for (uint32_t i = 0; i < tips.size(); ++i) {
    const LeaderTip& tip = tips[i];
    if (!tip.known || !std::isfinite(tip.x) || !std::isfinite(tip.y)) continue;
    left = std::min(left, tip.x), right = std::max(right, tip.x);
    bottom = std::min(bottom, tip.y), top = std::max(top, tip.y);
    around.push_back({tip.x, tip.y, i});
  }
  const double cx = left + (right - left) / 2, cy = bottom + (top - bottom) / 2;
  for (AroundCentre& a : around) a.dx -= cx, a.dy -= cy;
  std::sort(around.begin(), around.end(), ClockwiseBefore);
  std::vector<uint32_t> indices;
  indices.reserve(around.size());
  for (const AroundCentre& a : around) indices.push_back(a.index);
  return indices;
}

}  // namespace

void RankByPosition(const std::vector<LeaderTip>& tips, int32_t orderBy, double tolerance,
                    std::vector<uint32_t>* ranks) {
  ranks->resize(tips.size());
  if (!OrderNeedsTips(orderBy)) {
    std::iota(ranks->begin(), ranks->end(), 0u);
    return;
  }
  if (orderBy == OrderClockwise) {
    std::vector<bool> ranked(tips.size(), false);
    uint32_t rank = 0;
    for (const uint32_t index : ClockwiseIndices(tips)) {
      (*ranks)[index] = rank++;
      ranked[index] = true;
    }
    for (uint32_t i = 0; i < tips.size(); ++i) {
      if (!ranked[i]) (*ranks)[i] = rank++;  // unreadable tips last, in selection order
    }
    return;
  }
  std::vector<Placed> placed;
  placed.reserve(tips.size());
  for (uint32_t i = 0; i < tips.size(); ++i) {
    const LeaderTip& tip = tips[i];
    if (!tip.known || !std::isfinite(tip.x) || !std::isfinite(tip.y)) continue;
    placed.push_back(orderBy == OrderByRows ? Placed{-tip.y, tip.x, i} : Placed{tip.x, -tip.y, i});
  }
  const auto byAcross = [](const Placed& a, const Placed& b) {
    return a.across != b.across ? a.across < b.across : a.index < b.index;
  };
  std::sort(placed.begin(), placed.end(), byAcross);
  uint32_t band = 0;
  double bandStart = placed.empty() ? 0.0 : placed.front().across;
  for (Placed& p : placed) {
    if (p.across - bandStart > tolerance) {
      ++band;
      bandStart = p.across;
    }
    p.band = band;
  }
  std::sort(placed.begin(), placed.end(), [](const Placed& a, const Placed& b) {
    if (a.band != b.band) return a.band < b.band;
    return a.along != b.along ? a.along < b.along : a.index < b.index;
  });
  std::vector<bool> ranked(tips.size(), false);
  uint32_t rank = 0;
  for (const Placed& p : placed) {
    (*ranks)[p.index] = rank++;
    ranked[p.index] = true;
  }
  for (uint32_t i = 0; i < tips.size(); ++i) {
    if (!ranked[i]) (*ranks)[i] = rank++;
  }
}

RenumberSummary ComputeLabelsByRank(std::vector<RenumberItem>& items, const RenumberChoices& choices,
                                    const std::vector<uint32_t>& ranks, RenumberOrder& order) {
  for (RenumberItem& item : items) item.newLabel.clear();
  OrderRenumberKeys(items, choices, order);  // who takes part, and every item's key
  RenumberSummary summary;
  summary.nextNumber = choices.startAt;
  if (order.empty()) return summary;
  for (uint64_t& pair : order) {
    const uint32_t index = static_cast<uint32_t>(pair & 0xFFFFFFFFu);
    pair = static_cast<uint64_t>(index < ranks.size() ? ranks[index] : index) << 32 | index;
  }
  std::sort(order.begin(), order.end());

  const auto indexOf = [](uint64_t pair) { return static_cast<int32_t>(pair & 0xFFFFFFFFu); };
  summary.firstIndex = indexOf(order.front());
  summary.lastIndex = indexOf(order.back());
  summary.smallestKey = items[static_cast<size_t>(summary.firstIndex)].sortKey;
  summary.count = static_cast<int32_t>(order.size());
  const int64_t step = std::max(choices.step, 1);  // a stored step below 1 counts as 1
  for (size_t k = 0; k < order.size(); ++k) {
    RenumberItem& item = items[static_cast<size_t>(indexOf(order[k]))];
    // A number out of the format's range is labelled with its range text, as the user sees it.
    NumberToLeaderText(SaturatedInt32(int64_t{choices.startAt} + static_cast<int64_t>(k) * step), choices.format,
                       choices.style, &item.newLabel);
    item.sortKey = 0;  // taken
  }
  summary.nextNumber = SaturatedInt32(int64_t{choices.startAt} + int64_t{summary.count} * step);
  return summary;
}

RenumberSummary ComputeLabelsInOrder(std::vector<RenumberItem>& items, const RenumberChoices& choices, int32_t orderBy,
                                     const std::vector<uint32_t>& ranks, RenumberOrder& order) {
  const bool byPosition = OrderNeedsTips(orderBy) || orderBy == OrderBySelection;
  if (!choices.fixOrder || !byPosition) return ComputeLabels(items, choices, order);
  return ComputeLabelsByRank(items, choices, ranks, order);
}

std::string TakingOrderText(const std::vector<RenumberItem>& items, const RenumberOrder& order, size_t shown) {
  if (order.empty()) return "none";
  std::string text;
  for (size_t k = 0; k < order.size() && k < shown; ++k) {
    text += (k == 0 ? "" : ", ") + OldLabelText(items[static_cast<size_t>(order[k] & 0xFFFFFFFFu)]);
  }
  if (order.size() > shown) text += " and " + std::to_string(order.size() - shown) + " more";
  return text;
}
