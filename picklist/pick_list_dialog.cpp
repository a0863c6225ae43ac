// The pick dialog's behaviour. The list box sorts as items arrive, so the list is shown - and
// written back on OK - in its own order. "&Add" is enabled exactly while the edit box holds a
// text the user changed since an item was copied into it or added.
#include "picklist/pick_list_dialog.h"

#include "picklist/pick_list_records.h"

#include <utility>
#include <vector>

namespace {
bool IsChecked(int state) {
  return state >= kChecked && state <= kIndeterminate;
}
}  // namespace

void CPickListDlg::OnInit(DialogControls& controls) {
  // Thousands of items go in at once and without a redraw for each.
  controls.SetRedraw(kPickListBox, false);
  const std::string text = codePage_.ToAnsi(Values.ListText);
  std::vector<std::string_view> items = FindPickListItems(codePage_, text);
  for (std::string_view& item : items) item = CutToItemLength(codePage_, item);
  controls.ListAddAll(kPickListBox, items);
  controls.SetRedraw(kPickListBox, true);
  const int check = Values.AddAutomatically;
  controls.SetCheck(kPickAutoAdd, check >= 0 && check <= 2 ? check : kUnchecked);
  controls.Enable(kPickAdd, false);
  if (controls.ListCount(kPickListBox) > 0) {
    controls.ListSetSel(kPickListBox, 0);
    CopySelection(controls);
  }
}

void CPickListDlg::OnCommand(DialogControls& controls, int controlId, int notifyCode) {
  switch (controlId) {
    case kPickEdit:
      if (notifyCode == kEditChanged) {
        edited_ = true;
        controls.Enable(kPickAdd, true);
      }
      break;
    case kPickListBox:
      if (notifyCode == kListSelectionChanged) CopySelection(controls);
      if (notifyCode == kListDoubleClicked) {
        CopySelection(controls);
        Confirm(controls);
      }
      break;
    case kPickAdd:
      if (notifyCode == kButtonClicked) Add(controls);
      break;
    case kPickRemove:
      if (notifyCode == kButtonClicked) Remove(controls);
      break;
    case kIdOk:
      Confirm(controls);
      break;
    case kIdCancel:
      Confirmed = false;
      controls.EndDialog(kIdCancel);
      break;
    default:
      break;
  }
}

std::string CPickListDlg::ItemText(DialogControls& controls, int index) {
  return std::string(CutToItemLength(codePage_, controls.ListGetText(kPickListBox, index)));
}

// The selected item goes into the edit box; that is no edit of the user's.
void CPickListDlg::CopySelection(DialogControls& controls) {
  const int selection = controls.ListGetSel(kPickListBox);
  if (selection < 0) return;
  controls.SetText(kPickEdit, ItemText(controls, selection));
  edited_ = false;
  controls.Enable(kPickAdd, false);
}

void CPickListDlg::Add(DialogControls& controls) {
  const std::string text(CutToItemLength(codePage_, controls.GetText(kPickEdit)));
  if (!text.empty()) {
    if (CanBeStoredAsItem(text)) {
      controls.ListSetSel(kPickListBox, controls.ListAdd(kPickListBox, text));
    } else {
      runner_.Beep();  // the next load would split it in two: it can be picked, not kept
    }
  }
  edited_ = false;
  controls.Enable(kPickAdd, false);
}

void CPickListDlg::Remove(DialogControls& controls) {
  const int selection = controls.ListGetSel(kPickListBox);
  if (selection >= 0) {
    controls.ListDelete(kPickListBox, selection);
    const int count = controls.ListCount(kPickListBox);
    if (selection < count) {
      controls.ListSetSel(kPickListBox, selection);  // the item that followed
    } else if (count > 0) {
      controls.ListSetSel(kPickListBox, count - 1);
    }
  }
  CopySelection(controls);
}

void CPickListDlg::Confirm(DialogControls& controls) {
  controls.EndDialog(kIdOk);
  Values.ListText.clear();
  Values.AddAutomatically = IsChecked(controls.GetCheck(kPickAutoAdd)) ? 1 : 0;
  if (Values.AddAutomatically != 0 && edited_) Add(controls);
  std::vector<std::string> items = controls.ListGetAll(kPickListBox);
  for (std::string& item : items) item.resize(CutToItemLength(codePage_, item).size());
  Values.ListText = BuildPickListText(codePage_, items);
  Values.PickText = codePage_.ToWide(controls.GetText(kPickEdit));
  Confirmed = true;
}

bool RunPickDialog(PickListValues* values, DialogRunner& runner, const CodePage& codePage) {
  CPickListDlg dialog(codePage, runner);
  dialog.Values = *values;
  runner.RunModal(dialog);
  if (!dialog.Confirmed) return false;
  *values = std::move(dialog.Values);
  return true;
}

HRESULT EditPickList(std::u16string* workingText, uint8_t* addAutomatically, DialogRunner& runner,
                     const CodePage& codePage) {
  RETURN_HR_IF(E_POINTER, workingText == nullptr || addAutomatically == nullptr);
  PickListValues values{*workingText, *addAutomatically, std::u16string()};
  if (RunPickDialog(&values, runner, codePage)) {
    *workingText = std::move(values.ListText);
    *addAutomatically = values.AddAutomatically != 0 ? 1 : 0;
  }
  return S_OK;
}
