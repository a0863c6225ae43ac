// Loading, saving and showing the picklist for the tool object.
#include "addin/pick_list_glue.h"

#include <utility>

#include "picklist/pick_list_dialog.h"

void LoadPickList(PickListStore& store, ToolMembers& members) {
  members.PickListText = store.Load(members.DataPath);
}

void SavePickList(PickListStore& store, ToolMembers& members, bool closing) {
  std::u16string text = members.PickListText.value_or(std::u16string());
  store.Save(members.DataPath, &text, closing);
  // A list that never held a text and saved nothing stays without one.
  if (members.PickListText || !text.empty()) members.PickListText = std::move(text);
}

HRESULT EditSharedPickList(PickListStore& store, ToolMembers& members, const std::function<HRESULT()>& dialog) {
  std::u16string text = members.PickListText.value_or(std::u16string());
  if (store.TakeOthersChanges(members.DataPath, &text)) members.PickListText = std::move(text);
  const std::optional<std::u16string> before = members.PickListText;
  const HRESULT hr = dialog();
  if (members.PickListText != before) SavePickList(store, members, false);
  return hr;
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

HRESULT ShowPickList(PickListStore& store, ToolMembers& members, DialogRunner& runner, const CodePage& codePage) {
  return EditSharedPickList(store, members, [&] { return ShowPickList(members, runner, codePage); });
}
