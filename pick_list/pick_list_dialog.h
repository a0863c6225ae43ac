// CPickListDlg, the pick dialog: the picklist as a sorted list from which the user picks the
// Picklist tool's leader text or types one, adding and removing items on the way. A launcher
// copies the values in, runs the dialog modally and copies them back only after OK.
#pragma once

#include <cstdint>
#include <deque>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "framework/code_page.h"
#include "framework/dialog.h"
#include "framework/status.h"
#include "resources/resource_ids.h"

// Dialog template 104 and its controls.
constexpr int kPickListDialog = IDD_PICK_LIST;
constexpr int kPickListBox = IDC_PICK_LIST;
constexpr int kPickEdit = IDC_PICK_EDIT;
constexpr int kPickAutoAdd = IDC_PICK_AUTO_ADD;
constexpr int kPickRemove = IDC_PICK_REMOVE;
constexpr int kPickAdd = IDC_PICK_ADD;

// The values the pick dialog edits.
struct PickListValues {
  std::u16string ListText;   // the picklist in file form, U+FEFF first for a list kept in UTF-8
  int AddAutomatically = 0;  // the check box "A&dd automatically on OK"
  std::u16string PickText;   // the edit box's text after OK
  // The shared list's file could not be read yet: the list shows only what the user added since.
  bool ListUnread = false;
  // An administrator enforces "A&dd automatically on OK": it shows, disabled.
  bool AddAutomaticallyLocked = false;
};

// The caption that says so, in place of the template's "Tallyline - Pick Text from List".
inline constexpr char kPickListUnreadTitle[] = "Tallyline - Pick Text from List (the shared list could not be read)";

// Its texts are UTF-8 (DialogTexts::Utf8): the list and the edit box hold any character.
class CPickListDlg : public DialogModel {
 public:
  CPickListDlg(const CodePage& codePage, DialogRunner& runner) : codePage_(codePage), runner_(runner) {}

  // The values of one run: as copied in before it, as confirmed after OK.
  PickListValues Values;
  bool Confirmed = false;

  int TemplateId() const override { return kPickListDialog; }
  DialogTexts Texts() const override { return DialogTexts::Utf8; }
  void OnInit(DialogControls& controls) override;
  void OnCommand(DialogControls& controls, int controlId, int notifyCode) override;

 private:
  void CopySelection(DialogControls& controls);
  void Add(DialogControls& controls);
  void Remove(DialogControls& controls);
  void Confirm(DialogControls& controls);
  // `utf8Text` within the item limit, counted in bytes of the encoding that will store it.
  std::string_view CutToStoredLength(std::string_view utf8Text) const;
  // Whether the list must be kept in UTF-8: it is already, or the ANSI code page lacks a
  // character of one of `items`.
  bool NeedsUtf8(const std::vector<std::string>& items) const;

  // The whole text of an item the list box shows cut.
  std::string WholeText(const std::string& shown) const;

  const CodePage& codePage_;
  DialogRunner& runner_;
  // Items of the list longer than the list box holds, by the text it shows: a list item is cut
  // only where the user types or adds it, and goes back whole.
  std::map<std::string, std::deque<std::string>> cutItems_;
  bool edited_ = false;    // the edit box changed since an item was copied into it or added
  bool utf8List_ = false;  // the list came in as UTF-8
};

// Runs the pick dialog on a copy of `values`; after OK the copy replaces them and the result is
// true, after Cancel (or a dialog that could not be shown) they stay as they were.
bool RunPickDialog(PickListValues* values, DialogRunner& runner, const CodePage& codePage);

// The options dialog's list editor: on OK its working picklist and auto-add byte change; the
// pick text goes nowhere.
HRESULT EditPickList(std::u16string* workingText, uint8_t* addAutomatically, DialogRunner& runner,
                     const CodePage& codePage, bool addAutomaticallyLocked = false);
