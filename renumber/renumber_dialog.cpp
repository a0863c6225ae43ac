// The Renumber dialog's behaviour. Every change of a choice computes all labels again from the
// items' numbers, so the preview always shows what OK would write.
#include "renumber/renumber_dialog.h"

#include "framework/decimal_text.h"

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
  Ready = true;
  UpdatePreview(controls);
}

void CRenumberDlg::OnCommand(DialogControls& controls, int controlId, int notifyCode) {
  if (controlId == kIdOk) {
    Confirm(controls);
  } else if (controlId == kIdCancel) {
    Accepted = false;
    controls.EndDialog(kIdCancel);
  } else if (controlId == kRenumberStartAt) {
    if (notifyCode == kEditChanged) UpdatePreview(controls);
  } else if (controlId == kRenumberFixOrder || IsRadioButton(controlId)) {
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
  if (Objects == AllLeaders) {
    controls.SetCheck(kRenumberFixOrder, kChecked);
    controls.Enable(kRenumberFixOrder, false);
    FixOrder = 1;
  } else {
    controls.Enable(kRenumberFixOrder, true);
  }
  Ready = true;
  ComputeLabels();
  controls.SetText(kRenumberPreview,
                   RenumberPreview(Items, RenumberSummary{FirstIndex, LastIndex, SmallestKey, NextNumber, Count}));
}

void CRenumberDlg::ComputeLabels() {
  const RenumberSummary summary =
      ::ComputeLabels(Items, RenumberChoices{Objects, FixOrder != 0, StartAt, Format, Style, Step}, order_);
  FirstIndex = summary.firstIndex;
  LastIndex = summary.lastIndex;
  SmallestKey = summary.smallestKey;
  NextNumber = summary.nextNumber;
  Count = summary.count;
}

void CRenumberDlg::Confirm(DialogControls& controls) {
  ReadChoices(controls);
  ComputeLabels();
  Accepted = true;
  controls.EndDialog(kIdOk);
}
