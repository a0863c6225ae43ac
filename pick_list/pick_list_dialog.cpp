// The pick dialog's behaviour. The list box sorts as items arrive, so the list is shown - and
// written back on OK - in its own order. "&Add" is enabled exactly while the edit box holds a
// text the user changed since an item was copied into it or added.
//
// Texts pass through the controls as UTF-8, so that whatever the user types stays as typed. A
// list kept in ANSI goes over to UTF-8 (its text starts with the byte order mark) once it holds
// an item that the ANSI code page cannot hold, and stays there.
#include "pick_list/pick_list_dialog.h"

#include "framework/utf8.h"
#include "pick_list/pick_list_records.h"

#include <utility>
#include <vector>

namespace {
bool IsChecked(int state) {
  return state >= kChecked && state <= kIndeterminate;
}

bool IsAscii(std::string_view text) {
  for (const char c : text) {
    if (static_cast<unsigned char>(c) >= 0x80) return false;
  }
  return true;
}
}  // namespace

// An item is at most kMaxItemBytes long in the encoding that stores it: UTF-8 in a UTF-8 list,
// and for an item that only UTF-8 can store; the ANSI code page otherwise. No character of the
// ANSI code page takes more bytes there than in UTF-8, so a text within the limit in UTF-8 is
// within it in ANSI too.
std::string_view CPickListDlg::CutToStoredLength(std::string_view utf8Text) const {
  if (utf8Text.size() <= kMaxItemBytes || utf8List_) return CutUtf8ToItemLength(utf8Text);
  const std::u16string utf16 = Utf8ToUtf16(utf8Text);
  const std::string ansi = codePage_.ToAnsi(utf16);
  if (codePage_.ToUtf16(ansi) != utf16) return CutUtf8ToItemLength(utf8Text);
  const std::string_view cut = CutToItemLength(codePage_, ansi);
  return utf8Text.substr(0, Utf16ToUtf8(codePage_.ToUtf16(cut)).size());
}

bool CPickListDlg::NeedsUtf8(const std::vector<std::string>& items) const {
  if (utf8List_) return true;
  for (const std::string& item : items) {
    if (!IsAscii(item) && !AnsiHolds(codePage_, Utf8ToUtf16(item))) return true;
  }
  return false;
}

void CPickListDlg::OnInit(DialogControls& controls) {
  // Thousands of items go in at once and without a redraw for each.
  controls.SetRedraw(kPickListBox, false);
  utf8List_ = IsUtf8List(Values.ListText);
  const std::string text = Utf16ToUtf8(Values.ListText);
  std::vector<std::string_view> items = FindRecordItems(std::string_view(text));
  cutItems_.clear();
  for (std::string_view& item : items) {
    const std::string_view shown = CutToStoredLength(item);
    if (shown.size() < item.size()) cutItems_[std::string(shown)].emplace_back(item);
    item = shown;
  }
  controls.ListAddAll(kPickListBox, items);
  controls.SetRedraw(kPickListBox, true);
  const int check = Values.AddAutomatically;
  controls.SetCheck(kPickAutoAdd, check >= 0 && check <= 2 ? check : kUnchecked);
  controls.Enable(kPickAdd, false);
  if (Values.ListUnread) controls.SetTitle(kPickListUnreadTitle);
  if (Values.AddAutomaticallyLocked) controls.Enable(kPickAutoAdd, false);
  if (controls.ListCount(kPickListBox) > 0) {
    controls.ListSetSel(kPickListBox, 0);
    CopySelection(controls);
  }
}

void CPickListDlg::OnCommand(DialogControls& controls, int controlId, int notifyCode) {
  if (EndOnOkOrCancel(controls, controlId, &Confirmed, [&] { Confirm(controls); })) return;
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
    default:
      break;
  }
}

// The selected item goes into the edit box; that is no edit of the user's.
void CPickListDlg::CopySelection(DialogControls& controls) {
  const int selection = controls.ListGetSel(kPickListBox);
  if (selection < 0) return;
  controls.SetText(kPickEdit, WholeText(controls.ListGetText(kPickListBox, selection)));
  edited_ = false;
  controls.Enable(kPickAdd, false);
}

std::string CPickListDlg::WholeText(const std::string& shown) const {
  const auto cut = cutItems_.find(shown);
  return cut == cutItems_.end() || cut->second.empty() ? shown : cut->second.front();
}

void CPickListDlg::Add(DialogControls& controls) {
  const std::string typed = controls.GetText(kPickEdit);
  const std::string text(CutToStoredLength(typed));
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
  // Every item came in through the cut, on opening or by Add; those of the list go back whole.
  std::vector<std::string> items = controls.ListGetAll(kPickListBox);
  for (std::string& item : items) {
    const auto cut = cutItems_.find(item);
    if (cut == cutItems_.end() || cut->second.empty()) continue;
    item = std::move(cut->second.front());
    cut->second.pop_front();
  }
  Values.ListText = BuildPickListText(items, NeedsUtf8(items));
  Values.PickText = Utf8ToUtf16(controls.GetText(kPickEdit));
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
                     const CodePage& codePage, bool addAutomaticallyLocked) {
  RETURN_HR_IF(E_POINTER, workingText == nullptr || addAutomatically == nullptr);
  PickListValues values{*workingText, *addAutomatically, std::u16string(), false, addAutomaticallyLocked};
  if (RunPickDialog(&values, runner, codePage)) {
    *workingText = std::move(values.ListText);
    *addAutomatically = values.AddAutomatically != 0 ? 1 : 0;
  }
  return S_OK;
}
