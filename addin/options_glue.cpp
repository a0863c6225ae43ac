// The booleans of the members are check box states in the dialog and come back as true for any
// checked state. The picklist comes back from the dialog whole, edited or not.
#include "addin/options_glue.h"

#include <utility>

#include "options/options_dialog.h"

HRESULT ShowOptions(ToolMembers& members, DialogRunner& runner, const CodePage& codePage) {
  OptionsValues values;
  values.StartValue = members.RunningNumber;
  values.FormatIndex = members.TLDefFormat;
  values.ObjectSourceIndex = members.TLDefObjDSource;
  values.ConvertPointState = members.TLDefConvertPoint ? kChecked : kUnchecked;
  values.AutoPickState = members.TLPickAutoPick ? kChecked : kUnchecked;
  values.PickListText = members.PickListText.value_or(std::u16string());
  values.AddAutomatically = members.TLPickAutoAdd ? 1 : 0;
  values.Prefix = members.TLDefPrefix;
  values.Suffix = members.TLDefSuffix;
  values.Step = NumberStep(members);
  values.Digits = members.TLDefDigits;
  values.LetterSet = members.TLDefLetterSet;
  if (!EditOptions(&values, runner, codePage)) return S_OK;
  members.RunningNumber = values.StartValue;
  members.TLDefFormat = values.FormatIndex;
  members.TLPickAutoAdd = values.AddAutomatically != 0;
  members.PickListText = std::move(values.PickListText);
  members.TLDefObjDSource = values.ObjectSourceIndex;
  members.TLDefConvertPoint = values.ConvertPointState != 0;
  members.TLPickAutoPick = values.AutoPickState != 0;
  members.TLDefPrefix = std::move(values.Prefix);
  members.TLDefSuffix = std::move(values.Suffix);
  members.TLDefStep = values.Step;
  members.TLDefDigits = values.Digits;
  members.TLDefLetterSet = values.LetterSet;
  return S_OK;
}
