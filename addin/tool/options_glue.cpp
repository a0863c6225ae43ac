// The booleans of the options are check box states in the dialog and come back as true for any
// checked state. The picklist comes back from the dialog whole, edited or not.
#include "addin/tool/options_glue.h"

#include <algorithm>
#include <utility>

#include "options/options_dialog.h"

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
  if (!EditOptions(&values, runner, codePage)) return S_OK;
  runningNumber = values.StartValue;
  options.TLDefFormat = values.FormatIndex;
  options.TLPickAutoAdd = values.AddAutomatically != 0;
  options.PickListText = std::move(values.PickListText);
  options.TLDefObjDSource = values.ObjectSourceIndex;
  options.TLDefConvertPoint = values.ConvertPointState != 0;
  options.TLPickAutoPick = values.AutoPickState != 0;
  options.TLDefPrefix = std::move(values.Prefix);
  options.TLDefSuffix = std::move(values.Suffix);
  options.TLDefStep = values.Step;
  options.TLDefDigits = values.Digits;
  options.TLDefLetterSet = values.LetterSet;
  options.TLDefContinue = values.ContinueState != 0;
  return S_OK;
}
