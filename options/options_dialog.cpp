// The options dialog's behaviour. "&Start At" must hold a whole number; the preview reads it on
// every change and on every change of the format, and captures the other choices only when it
// could read it, so that OK with a field that holds no number keeps the choices of the last good
// preview. The beep and the focus are the only answer to a bad field; OK still closes.
#include "options/options_dialog.h"

#include <algorithm>
#include <utility>

#include "framework/decimal_text.h"
#include "labels/label_format.h"
#include "options/about_dialog.h"
#include "options/stored_options.h"
#include "pick_list/pick_list_dialog.h"

namespace {

// The lists' entries, in the order of the label format codes and of the object text sources.
constexpr const char* kFormatEntries[] = {kArabicListEntry, kLettersListEntry, kRomanListEntry};
constexpr const char* kObjectSourceEntries[] = {
    "Object Text ('best guess' of Info/Name/Type)",
    "Object Layer Name",
    "DEMO: Path/Polyline Length (Simple graphics only)",
};

constexpr size_t kStepTextLength = 3;  // 999

bool IsListIndex(int32_t index) {
  return index >= 0 && index <= 2;
}

// A check box state outside 0 to 2 is taken as unchecked.
void KeepCheckState(int32_t* state) {
  if (*state < kUnchecked || *state > kIndeterminate) *state = kUnchecked;
}

}  // namespace

void COptionsDlg::OnInit(DialogControls& controls) {
  ready_ = false;
  // Inserted, not added: the entry's index is its code even if the list were to sort.
  for (const char* entry : kObjectSourceEntries) controls.ListInsert(kOptionsObjectSource, -1, entry);
  for (const char* entry : kFormatEntries) controls.ListInsert(kOptionsFormat, -1, entry);
  // The edit reports this change too; the preview waits for the ready flag.
  controls.LimitText(kOptionsStart, kInt32TextLength);
  controls.SetText(kOptionsStart, WriteInt32(Values.StartValue));
  KeepCheckState(&Values.ConvertPointState);
  KeepCheckState(&Values.AutoPickState);
  KeepCheckState(&Values.ContinueState);
  controls.SetCheck(kOptionsConvertPoint, Values.ConvertPointState);
  controls.SetCheck(kOptionsAutoPick, Values.AutoPickState);
  controls.SetCheck(kOptionsContinue, Values.ContinueState);
  if (IsListIndex(Values.FormatIndex)) controls.ListSetSel(kOptionsFormat, Values.FormatIndex);
  if (IsListIndex(Values.ObjectSourceIndex)) controls.ListSetSel(kOptionsObjectSource, Values.ObjectSourceIndex);
  for (const char* entry : kLetterSetEntries) controls.ListInsert(kOptionsLetterSet, -1, entry);
  if (IsListIndex(Values.LetterSet)) controls.ListSetSel(kOptionsLetterSet, Values.LetterSet);
  controls.LimitText(kOptionsPrefix, kLabelAffixMaxLength);
  controls.LimitText(kOptionsSuffix, kLabelAffixMaxLength);
  controls.LimitText(kOptionsStep, kStepTextLength);
  controls.LimitText(kOptionsDigits, 1);
  controls.SetText(kOptionsPrefix, Values.Prefix);
  controls.SetText(kOptionsSuffix, Values.Suffix);
  controls.SetText(kOptionsStep, WriteInt32(Values.Step));
  controls.SetText(kOptionsDigits, WriteInt32(Values.Digits));
  controls.LimitText(kOptionsPartsList, kDataPathMaxLength);
  controls.SetText(kOptionsPartsList, Values.PartsList);
  for (const int id : Values.LockedControls) controls.Enable(id, false);
  ready_ = true;
  Preview(controls);
  // The first focus is the system's: the first tab stop, the format list.
}

void COptionsDlg::OnCommand(DialogControls& controls, int controlId, int notifyCode) {
  if (EndOnOkOrCancel(controls, controlId, &Confirmed, [&] { Confirm(controls); })) return;
  switch (controlId) {
    case kOptionsStart:
      if (notifyCode == kEditChanged && ready_) Preview(controls);
      break;
    case kOptionsFormat:
    case kOptionsLetterSet:
      if (notifyCode == kListSelectionChanged && ready_) Preview(controls);
      break;
    case kOptionsPrefix:
    case kOptionsSuffix:
    case kOptionsDigits:
      if (notifyCode == kEditChanged && ready_) Preview(controls);
      break;
    case kOptionsList:
      // A cancelled edit leaves the working copies; only OK of this dialog hands them on.
      if (notifyCode == kButtonClicked) {
        EditPickList(&Values.PickListText, &Values.AddAutomatically, runner_, codePage_,
                     std::count(Values.LockedControls.begin(), Values.LockedControls.end(), kPickAutoAdd) != 0);
      }
      break;
    case kOptionsAbout:
      if (notifyCode == kButtonClicked) ShowAbout(runner_);
      break;
    case kOptionsPartsBrowse:
      if (notifyCode == kButtonClicked) {
        const std::string chosen = runner_.ChooseFile(
            FileDialogKind::Open, controls.GetText(kOptionsPartsList),
            {{"CSV files (*.csv)", "*.csv"}, {"Text files (*.txt)", "*.txt"}, {"All files (*.*)", "*.*"}});
        if (!chosen.empty()) controls.SetText(kOptionsPartsList, chosen);
      }
      break;
    default:
      break;
  }
}

// The start value takes the field's number, or 0 with the beep and the focus when it holds none.
bool COptionsDlg::ReadStart(DialogControls& controls) {
  if (ReadDecimalFieldInt32(controls.GetText(kOptionsStart), &Values.StartValue)) return true;
  Values.StartValue = 0;
  runner_.Beep();
  controls.SetFocus(kOptionsStart);
  return false;
}

void COptionsDlg::CaptureChoices(DialogControls& controls) {
  Values.ConvertPointState = controls.GetCheck(kOptionsConvertPoint);
  Values.AutoPickState = controls.GetCheck(kOptionsAutoPick);
  Values.FormatIndex = controls.ListGetSel(kOptionsFormat);  // kListError, -1, without a selection
  Values.ObjectSourceIndex = controls.ListGetSel(kOptionsObjectSource);
}

// Takes the label style from its fields. A step outside 1 to 999 or digits outside 0 to 9 keep
// the last good value; with `answer` such a field also beeps and takes the focus, and the
// style is not taken.
bool COptionsDlg::ReadStyle(DialogControls& controls, bool answer) {
  int32_t step = 0, digits = 0;
  const bool stepRead =
      ReadDecimalFieldInt32(controls.GetText(kOptionsStep), &step) && step >= kLowestStep && step <= kHighestStep;
  const bool digitsRead = ReadDecimalFieldInt32(controls.GetText(kOptionsDigits), &digits) && digits >= kFewestDigits &&
                          digits <= kMostDigits;
  if (answer && (!stepRead || !digitsRead)) {
    runner_.Beep();
    controls.SetFocus(stepRead ? kOptionsDigits : kOptionsStep);
    return false;
  }
  if (stepRead) Values.Step = step;
  if (digitsRead) Values.Digits = digits;
  Values.Prefix = controls.GetText(kOptionsPrefix);
  Values.Suffix = controls.GetText(kOptionsSuffix);
  const int letterSet = controls.ListGetSel(kOptionsLetterSet);
  if (letterSet >= 0) Values.LetterSet = letterSet;
  return true;
}

// The whole next label, prefix and suffix included. A value outside the format's range shows
// the range text; a format the labels do not know (no selection) leaves the label empty.
void COptionsDlg::Preview(DialogControls& controls) {
  if (ReadStart(controls)) CaptureChoices(controls);
  ReadStyle(controls, false);
  std::string label;
  NumberToLeaderText(Values.StartValue, Values.FormatIndex,
                     LabelStyle{Values.Prefix, Values.Suffix, Values.Digits, Values.LetterSet}, &label);
  controls.SetText(kOptionsPreview, label);
}

void COptionsDlg::Confirm(DialogControls& controls) {
  // A step or digits field without a whole number in its range keeps the dialog open.
  if (!ReadStyle(controls, true)) return;
  // Beside the label style, not tied to the start field: OK always takes it.
  Values.ContinueState = controls.GetCheck(kOptionsContinue);
  Values.PartsList = controls.GetText(kOptionsPartsList);
  controls.EndDialog(kIdOk);
  if (ReadStart(controls)) CaptureChoices(controls);
  Confirmed = true;
}

bool EditOptions(OptionsValues* values, DialogRunner& runner, const CodePage& codePage) {
  if (values == nullptr) return false;
  COptionsDlg dialog(*values, runner, codePage);
  runner.RunModal(dialog);
  if (dialog.Confirmed) *values = std::move(dialog.Values);
  return dialog.Confirmed;
}
