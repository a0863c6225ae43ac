// Loading, saving and showing the picklist for the tool object.
#include "addin/tool/pick_list_glue.h"

#include <utility>

#include "pick_list/pick_list_dialog.h"

void LoadPickList(PickListStore& store, StoredOptions& options) {
  options.PickListText = store.Load(options.DataPath);
}

PickListProblem SavePickList(PickListStore& store, StoredOptions& options, bool closing) {
  std::u16string text = options.PickListText.value_or(std::u16string());
  const PickListProblem problem = store.Save(options.DataPath, &text, closing);
  // A list that never held a text and saved nothing stays without one.
  if (options.PickListText || !text.empty()) options.PickListText = std::move(text);
  return problem;
}

HRESULT EditSharedPickList(PickListStore& store, StoredOptions& options, DialogRunner& runner,
                           const std::function<HRESULT(bool listUnread)>& dialog) {
  std::u16string text = options.PickListText.value_or(std::u16string());
  if (store.TakeOthersChanges(options.DataPath, &text)) options.PickListText = std::move(text);
  const std::optional<std::u16string> before = options.PickListText;
  const HRESULT hr = dialog(store.LoadFailed());
  if (options.PickListText == before) return hr;
  const PickListProblem problem = SavePickList(store, options, false);
  // Right after OK, while the user still knows what was confirmed; never again for the same cause.
  if (store.FirstTimeFor(problem)) {
    runner.ShowMessage(PickListProblemMessage(problem, store.DataFolder()), kPickListProblemCaption,
                       kMbOk | kMbIconExclamation);
  }
  return hr;
}

HRESULT ShowPickList(StoredOptions& options, std::u16string& pickText, DialogRunner& runner, const CodePage& codePage,
                     bool listUnread) {
  const bool autoAddEnforced = options.Enforced.count("TLPickAutoAdd") != 0;
  PickListValues values{options.PickListText.value_or(std::u16string()), options.TLPickAutoAdd ? 1 : 0, pickText,
                        listUnread, autoAddEnforced};
  if (RunPickDialog(&values, runner, codePage)) {
    options.PickListText = std::move(values.ListText);
    if (!autoAddEnforced) options.TLPickAutoAdd = values.AddAutomatically != 0;
    pickText = std::move(values.PickText);
  }
  return S_OK;
}

HRESULT ShowPickList(PickListStore& store, StoredOptions& options, std::u16string& pickText, DialogRunner& runner,
                     const CodePage& codePage) {
  return EditSharedPickList(store, options, runner, [&](bool listUnread) {
    return ShowPickList(options, pickText, runner, codePage, listUnread);
  });
}
