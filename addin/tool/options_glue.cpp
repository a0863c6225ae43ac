// The booleans of the options are check box states in the dialog and come back as true for any
// checked state. The picklist comes back from the dialog whole, edited or not. An option comes
// back only when the dialog changed it and no administrator enforces it, so that a stored value
// the dialog shows within its range (a step of 5000 as 999) stays as it is stored.
#include "addin/tool/options_glue.h"

#include <algorithm>
#include <utility>

#include "options/options_dialog.h"
#include "pick_list/pick_list_dialog.h"

namespace {

// The options dialog's control for each option it shows; kPickAutoAdd is the list editor's box.
struct OptionControl {
  const char* option;
  int control;
};
constexpr OptionControl kOptionControls[] = {
    {"TLDefFormat", kOptionsFormat},
    {"TLDefObjDSource", kOptionsObjectSource},
    {"TLDefConvertPoint", kOptionsConvertPoint},
    {"TLPickAutoPick", kOptionsAutoPick},
    {"TLPickAutoAdd", kPickAutoAdd},
    {"TLDefPrefix", kOptionsPrefix},
    {"TLDefSuffix", kOptionsSuffix},
    {"TLDefStep", kOptionsStep},
    {"TLDefDigits", kOptionsDigits},
    {"TLDefLetterSet", kOptionsLetterSet},
    {"TLDefContinue", kOptionsContinue},
    {"TLPartsList", kOptionsPartsList},
    {"TLPartsList", kOptionsPartsBrowse},
};

// Takes `value` into `member` unless an administrator enforces the option, or the dialog gave
// back what it was shown (a stored value outside the dialog's range stays as stored).
template <typename T, typename U>
void TakeBack(const StoredOptions& options, const char* name, T& member, U value, const U& shown) {
  if (options.Enforced.count(name) == 0 && !(value == shown)) member = static_cast<T>(std::move(value));
}

}  // namespace

HRESULT ShowOptions(StoredOptions& options, int32_t& runningNumber, DialogRunner& runner, const CodePage& codePage) {
  OptionsValues values;
  values.StartValue = runningNumber;
  values.FormatIndex = options.TLDefFormat;
  values.ObjectSourceIndex = options.TLDefObjDSource;
  values.ConvertPointState = options.TLDefConvertPoint ? kChecked : kUnchecked;
  values.AutoPickState = options.TLPickAutoPick ? kChecked : kUnchecked;
  values.PickListText = options.PickListText.value_or(std::u16string());
  values.AddAutomatically = options.TLPickAutoAdd ? 1 : 0;
  values.Prefix = options.TLDefPrefix;
  values.Suffix = options.TLDefSuffix;
  values.Step = NumberStep(options);
  values.Digits = std::clamp(options.TLDefDigits, kFewestDigits, kMostDigits);  // as the labels take it
  values.LetterSet = options.TLDefLetterSet;
  values.ContinueState = options.TLDefContinue ? kChecked : kUnchecked;
  values.PartsList = options.TLPartsList;
  for (const OptionControl& entry : kOptionControls) {
    if (options.Enforced.count(entry.option) != 0) values.LockedControls.push_back(entry.control);
  }
  const OptionsValues shown = values;
  if (!EditOptions(&values, runner, codePage)) return S_OK;
  runningNumber = values.StartValue;
  options.PickListText = std::move(values.PickListText);
  TakeBack(options, "TLDefFormat", options.TLDefFormat, values.FormatIndex, shown.FormatIndex);
  TakeBack(options, "TLPickAutoAdd", options.TLPickAutoAdd, values.AddAutomatically != 0, shown.AddAutomatically != 0);
  TakeBack(options, "TLDefObjDSource", options.TLDefObjDSource, values.ObjectSourceIndex, shown.ObjectSourceIndex);
  TakeBack(options, "TLDefConvertPoint", options.TLDefConvertPoint, values.ConvertPointState != 0,
           shown.ConvertPointState != 0);
  TakeBack(options, "TLPickAutoPick", options.TLPickAutoPick, values.AutoPickState != 0, shown.AutoPickState != 0);
  TakeBack(options, "TLDefPrefix", options.TLDefPrefix, std::move(values.Prefix), shown.Prefix);
  TakeBack(options, "TLDefSuffix", options.TLDefSuffix, std::move(values.Suffix), shown.Suffix);
  TakeBack(options, "TLDefStep", options.TLDefStep, values.Step, shown.Step);
  TakeBack(options, "TLDefDigits", options.TLDefDigits, values.Digits, shown.Digits);
  TakeBack(options, "TLDefLetterSet", options.TLDefLetterSet, values.LetterSet, shown.LetterSet);
  TakeBack(options, "TLDefContinue", options.TLDefContinue, values.ContinueState != 0, shown.ContinueState != 0);
  TakeBack(options, "TLPartsList", options.TLPartsList, std::move(values.PartsList), shown.PartsList);
  return S_OK;
}
