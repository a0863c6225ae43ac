// The Renumber dialog's behaviour. Every change of a choice computes all labels again from the
// items' numbers, so the preview always shows what OK would write.
#include "renumber/renumber_dialog.h"

#include <algorithm>

#include "framework/decimal_text.h"
#include "renumber/callout_table.h"
#include "renumber/label_census.h"

namespace {

// The position of the checked button within its group, -1 when none is checked.
template <size_t N>
int32_t CheckedPosition(DialogControls& controls, const int (&buttons)[N]) {
  for (size_t i = 0; i < N; ++i) {
    if (controls.GetCheck(buttons[i]) == kChecked) return static_cast<int32_t>(i);
  }
  return -1;
}

template <size_t N>
void CheckPosition(DialogControls& controls, const int (&buttons)[N], int32_t position) {
  for (size_t i = 0; i < N; ++i)
    controls.SetCheck(buttons[i], static_cast<int32_t>(i) == position ? kChecked : kUnchecked);
}

// A check box shows 0 to 2; any other value shows unchecked.
int CheckState(int32_t value) {
  return value >= kUnchecked && value <= kIndeterminate ? value : kUnchecked;
}

bool IsRadioButton(int controlId) {
  for (int id : kRenumberObjectButtons)
    if (id == controlId) return true;
  for (int id : kRenumberFormatButtons)
    if (id == controlId) return true;
  for (int id : kRenumberOrderButtons)
    if (id == controlId) return true;
  return false;
}

}  // namespace

CRenumberDlg::CRenumberDlg(DialogRunner& runner, size_t itemCount) : Items(itemCount), runner_(runner) {
  order_.reserve(itemCount);
}

void CRenumberDlg::OnInit(DialogControls& controls) {
  Ready = false;
  order_.reserve(Items.size());  // Items may have been filled after construction
  StartAt = OpeningStartAt(Items);
  Format = OpeningFormat(Items);
  // A stored choice that names no button counts as the numeric leaders.
  if (Objects < AllLeaders || Objects > SameFormatLeaders) Objects = NumericLeaders;
  CheckPosition(controls, kRenumberObjectButtons, Objects);
  controls.SetCheck(kRenumberFixOrder, CheckState(FixOrder));
  controls.LimitText(kRenumberStartAt, kInt32TextLength);
  controls.SetText(kRenumberStartAt, WriteInt32(StartAt));
  controls.SetCheck(kRenumberReset, CheckState(ResetRunning));
  CheckPosition(controls, kRenumberFormatButtons, Format);
  // A stored order or tolerance that means nothing counts as the default.
  if (Order < OrderByLabels || Order > OrderClockwise) Order = OrderByLabels;
  if (!ReadToleranceText(Tolerance, &tolerance_)) {
    Tolerance = kDefaultRenumberTolerance;
    ReadToleranceText(Tolerance, &tolerance_);
  }
  CheckPosition(controls, kRenumberOrderButtons, Order);
  controls.LimitText(kRenumberTolerance, kToleranceTextLength);
  controls.SetText(kRenumberTolerance, Tolerance);
  for (const int id : LockedControls) controls.Enable(id, false);
  partsReport_ = Parts ? PartsCheckReport(Items, PartsFormat, *Parts) : PartsProblem;
  Ready = true;
  UpdatePreview(controls);
}

void CRenumberDlg::OnCommand(DialogControls& controls, int controlId, int notifyCode) {
  if (EndOnOkOrCancel(controls, controlId, &Accepted, [&] { Confirm(controls); })) return;
  if (controlId == kRenumberExport) {
    if (notifyCode == kButtonClicked) Export();
  } else if (controlId == kRenumberStartAt || controlId == kRenumberTolerance) {
    if (notifyCode == kEditChanged) UpdatePreview(controls);
  } else if (controlId == kRenumberFixOrder || IsRadioButton(controlId)) {
    // The order buttons are two groups to the system: a click on one unchecks the other four.
    const auto order = std::find(std::begin(kRenumberOrderButtons), std::end(kRenumberOrderButtons), controlId);
    if (notifyCode == kButtonClicked && order != std::end(kRenumberOrderButtons)) {
      CheckPosition(controls, kRenumberOrderButtons, static_cast<int32_t>(order - std::begin(kRenumberOrderButtons)));
    }
    // The Reset box changes nothing that the preview shows.
    if (notifyCode == kButtonClicked) UpdatePreview(controls);
  }
}

// Objects, FixOrder, StartAt, ResetRunning and Format, in that order. A Start At that holds no
// whole number beeps, takes the focus and counts as 0; the two choices after it keep their
// values then.
void CRenumberDlg::ReadChoices(DialogControls& controls) {
  Objects = CheckedPosition(controls, kRenumberObjectButtons);
  FixOrder = controls.GetCheck(kRenumberFixOrder);
  if (!ReadDecimalFieldInt32(controls.GetText(kRenumberStartAt), &StartAt)) {
    runner_.Beep();
    controls.SetFocus(kRenumberStartAt);
    StartAt = 0;
    return;
  }
  ResetRunning = controls.GetCheck(kRenumberReset);
  Format = CheckedPosition(controls, kRenumberFormatButtons);
}

void CRenumberDlg::UpdatePreview(DialogControls& controls) {
  if (!Ready) return;
  ReadChoices(controls);
  // Every leader is numbered afresh with All Leaders: the order is always fixed then.
  Ready = false;
  // A control whose option an administrator enforces stays disabled whatever the others say.
  const auto enable = [&](int id, bool enable) {
    controls.Enable(id, enable && std::find(LockedControls.begin(), LockedControls.end(), id) == LockedControls.end());
  };
  if (Objects == AllLeaders) {
    controls.SetCheck(kRenumberFixOrder, kChecked);
    enable(kRenumberFixOrder, false);
    FixOrder = 1;
  } else {
    enable(kRenumberFixOrder, true);
  }
  ReadOrderChoices(controls);
  // The order applies to consecutive numbers only; the tolerance to rows and columns only.
  enable(kRenumberTolerance, FixOrder != 0 && OrderUsesTolerance(Order));
  for (int id : kRenumberOrderButtons) enable(id, FixOrder != 0);
  Ready = true;
  ComputeLabels();
  controls.SetText(kRenumberPreview,
                   RenumberPreview(Items, RenumberSummary{FirstIndex, LastIndex, SmallestKey, NextNumber, Count}));
  controls.SetText(kRenumberSequence, TakingOrderText(Items, order_, kCensusEntriesShown));
  // The labels as they are change with the format only.
  if (reportFormat_ != Format) {
    report_ = LabelCensusReport(Items, Format);
    if (!partsReport_.empty()) report_ += "\r\n" + partsReport_;
    reportFormat_ = Format;
  }
  controls.SetText(kRenumberReport, report_);
}

// The order, and the tolerance when it is a number. One that is not beeps and takes the focus
// while rows or columns use it; the last tolerance that was a number stays in force.
void CRenumberDlg::ReadOrderChoices(DialogControls& controls) {
  const int32_t order = CheckedPosition(controls, kRenumberOrderButtons);
  Order = order < 0 ? OrderByLabels : order;
  const std::string text = controls.GetText(kRenumberTolerance);
  if (ReadToleranceText(text, &tolerance_)) {
    Tolerance = text;
  } else if (FixOrder != 0 && OrderUsesTolerance(Order)) {
    runner_.Beep();
    controls.SetFocus(kRenumberTolerance);
  }
}

// The tips are read once, when an order or the export first needs them.
const std::vector<LeaderTip>& CRenumberDlg::Tips() {
  if (!tipsRead_) {
    tipsRead_ = true;
    if (ReadTips) ReadTips(&tips_);
    tips_.resize(Items.size());
  }
  return tips_;
}

// The ranks are computed again when the order or the tolerance changed since.
const std::vector<uint32_t>& CRenumberDlg::Ranks() {
  Tips();
  if (rankedOrder_ != Order || rankedTolerance_ != tolerance_) {
    RankByPosition(tips_, Order, tolerance_, &ranks_);
    rankedOrder_ = Order;
    rankedTolerance_ = tolerance_;
  }
  return ranks_;
}

void CRenumberDlg::ComputeLabels() {
  static const std::vector<uint32_t> kSelectionRanks;  // selection order needs no ranks
  const bool byTips = FixOrder != 0 && OrderNeedsTips(Order);
  const RenumberSummary summary =
      ComputeLabelsInOrder(Items, RenumberChoices{Objects, FixOrder != 0, StartAt, Format, Style, Step}, Order,
                           byTips ? Ranks() : kSelectionRanks, order_);
  FirstIndex = summary.firstIndex;
  LastIndex = summary.lastIndex;
  SmallestKey = summary.smallestKey;
  NextNumber = summary.nextNumber;
  Count = summary.count;
}

// The leaders in the order the dialog shows them (those that take part in the new order), then the
// others in selection order; the tips are read now if no order needed them yet.
void CRenumberDlg::Export() {
  if (!ExportTable) return;
  Tips();
  std::vector<uint32_t> rows;
  rows.reserve(Items.size());
  std::vector<bool> listed(Items.size(), false);
  for (const uint64_t pair : order_) {
    const auto index = static_cast<uint32_t>(pair & 0xFFFFFFFFu);
    if (index < Items.size() && !listed[index]) rows.push_back(index), listed[index] = true;
  }
  for (uint32_t i = 0; i < Items.size(); ++i) {
    if (!listed[i]) rows.push_back(i);
  }
  ExportTable(CalloutTable(Items, rows, tips_, TableSeparator));
}

void CRenumberDlg::Confirm(DialogControls& controls) {
  ReadChoices(controls);
  ReadOrderChoices(controls);
  ComputeLabels();
  Accepted = true;
  controls.EndDialog(kIdOk);
}
