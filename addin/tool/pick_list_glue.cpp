// Loading, saving and showing the picklist for the tool object.
#include "addin/tool/pick_list_glue.h"

#include <utility>

#include "picklist/pick_list_dialog.h"

void LoadPickList(PickListStore& store, ToolMembers& members) {
  members.PickListText = store.Load(members.DataPath);
}

void SavePickList(PickListStore& store, const ToolMembers& members) {
  store.Save(members.DataPath, members.PickListText ? std::u16string_view(*members.PickListText) : u"");
}

HRESULT ShowPickList(ToolMembers& members, DialogRunner& runner, const CodePage& codePage) {
  PickListValues values{members.PickListText.value_or(std::u16string()), members.TLPickAutoAdd ? 1 : 0,
                        members.CurrentPickText};
  if (RunPickDialog(&values, runner, codePage)) {
    members.PickListText = std::move(values.ListText);
    members.TLPickAutoAdd = values.AddAutomatically != 0;
    members.CurrentPickText = std::move(values.PickText);
  }
  return S_OK;
}
