// COptionsDlg, the options dialog: every running option of the three leader tools at once, with
// a live preview of the Number tool's next label, the pick dialog as a list editor behind
// "&List ..." and the about box behind "About...". It works on a copy of plain values; a
// launcher hands them back only after OK.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "framework/code_page.h"
#include "framework/dialog.h"
#include "resources/resource_ids.h"

// Dialog template 102 and its controls.
constexpr int kOptionsDialog = IDD_OPTIONS;
constexpr int kOptionsFormat = IDC_OPTIONS_FORMAT;  // list, entry index = label format code
constexpr int kOptionsStart = IDC_OPTIONS_START;    // "&Start At"
constexpr int kOptionsPreview = IDC_OPTIONS_PREVIEW;
constexpr int kOptionsAutoPick = IDC_OPTIONS_AUTO_PICK;
constexpr int kOptionsList = IDC_OPTIONS_LIST;
constexpr int kOptionsObjectSource = IDC_OPTIONS_OBJECT_SOURCE;  // list, entry index = source code
constexpr int kOptionsConvertPoint = IDC_OPTIONS_CONVERT_POINT;
constexpr int kOptionsAbout = IDC_OPTIONS_ABOUT;
constexpr int kOptionsPrefix = IDC_OPTIONS_PREFIX;
constexpr int kOptionsSuffix = IDC_OPTIONS_SUFFIX;
constexpr int kOptionsStep = IDC_OPTIONS_STEP;
constexpr int kOptionsDigits = IDC_OPTIONS_DIGITS;
constexpr int kOptionsLetterSet = IDC_OPTIONS_LETTER_SET;  // list, entry index = letter set
constexpr int kOptionsContinue = IDC_OPTIONS_CONTINUE;     // the Number tool goes on after the drawing's highest
constexpr int kOptionsPartsList = IDC_OPTIONS_PARTS_LIST;  // the parts list's path
// "Bro&wse...", the common Open dialog: Alt+W, since "P&refix" holds Alt+R.
constexpr int kOptionsPartsBrowse = IDC_OPTIONS_PARTS_BROWSE;

// The entries of the letter set list, in the order of the letter sets.
inline constexpr const char* kLetterSetEntries[] = {
    "All letters  A - ZZ (1 - 702)",
    "No I, O, Q  A - ZZ (1 - 552)",
    "No I, O, Q, S, X, Z  A - YY (1 - 420)",
};

// The values the dialog edits. A list without a selection gives the index -1.
struct OptionsValues {
  int32_t StartValue = 1;                // the Number tool's next number
  int32_t FormatIndex = 0;               // label format code
  int32_t ObjectSourceIndex = 0;         // object text source code
  int32_t ConvertPointState = kChecked;  // check box states, 0 to 2
  int32_t AutoPickState = kChecked;
  std::u16string PickListText;   // the picklist in file form, edited through "&List ..."
  uint8_t AddAutomatically = 1;  // the pick dialog's "A&dd automatically on OK", 0 or 1
  // How the Number tool's labels are dressed. Prefix and suffix are UTF-8.
  std::string Prefix;
  std::string Suffix;
  int32_t Step = 1;                    // 1 to 999
  int32_t Digits = 0;                  // 0 to 9
  int32_t LetterSet = 0;               // a stored set outside 0 to 2 stays as it is unless one is chosen
  int32_t ContinueState = kUnchecked;  // check box state, 0 to 2
  std::string PartsList;               // the parts list's path (UTF-8); empty: none
  // Controls whose option an administrator enforces: shown, but disabled. kPickAutoAdd stands
  // for the list editor's check box.
  std::vector<int> LockedControls;
};

class COptionsDlg : public DialogModel {
 public:
  COptionsDlg(const OptionsValues& values, DialogRunner& runner, const CodePage& codePage)
      : Values(values), runner_(runner), codePage_(codePage) {}

  OptionsValues Values;
  bool Confirmed = false;

  int TemplateId() const override { return kOptionsDialog; }
  // The prefix and suffix may hold any character a leader text can.
  DialogTexts Texts() const override { return DialogTexts::Utf8; }
  void OnInit(DialogControls& controls) override;
  void OnCommand(DialogControls& controls, int controlId, int notifyCode) override;

 private:
  bool ReadStart(DialogControls& controls);
  void CaptureChoices(DialogControls& controls);
  bool ReadStyle(DialogControls& controls, bool answer);
  void Preview(DialogControls& controls);
  void Confirm(DialogControls& controls);

  DialogRunner& runner_;
  const CodePage& codePage_;
  bool ready_ = false;  // clear while the dialog fills its controls: no preview then
};

// Runs the options dialog on *values, which take the dialog's values only when the user
// confirms. Gives whether the user did.
bool EditOptions(OptionsValues* values, DialogRunner& runner, const CodePage& codePage);
