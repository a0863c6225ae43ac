// Loading, saving and showing the picklist for the tool object.
#include "addin/tool/pick_list_glue.h"

#include <utility>

#include "picklist/pick_list_dialog.h"

void LoadPickList(PickListStore& store, StoredOptions& options) {
  options.PickListText = store.Load(options.DataPath);
}

void SavePickList(PickListStore& store, const StoredOptions& options) {
  store.Save(options.DataPath, options.PickListText ? std::u16string_view(*options.PickListText) : u"");
}

HRESULT ShowPickList(StoredOptions& options, std::u16string& pickText, DialogRunner& runner, const CodePage& codePage) {
  PickListValues values{options.PickListText.value_or(std::u16string()), options.TLPickAutoAdd ? 1 : 0, pickText};
  if (RunPickDialog(&values, runner, codePage)) {
    options.PickListText = std::move(values.ListText);
    options.TLPickAutoAdd = values.AddAutomatically != 0;
    pickText = std::move(values.PickText);
  }
  return S_OK;
}
