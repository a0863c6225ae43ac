// The scripted dialog runner: simulated controls with the system controls' rules, and the loop
// that plays the script on the open dialog.
#include "testing/scripted_dialog_runner.h"

#include <utility>

#include "framework/sorted_list_order.h"

namespace {

int CompareNoCase(const std::string& a, const std::string& b) {
  return CompareIgnoringAsciiCase<char>(a, b);
}

// Where a sorted list box puts a new entry: the binary search of the system's list box, which
// puts an entry equal to others just before the one it meets.
int SortedPosition(const std::vector<std::string>& items, const std::string& text) {
  int low = 0;
  int high = static_cast<int>(items.size()) - 1;
  while (low <= high) {
    const int middle = (low + high) / 2;
    const int order = CompareNoCase(items[middle], text);
    if (order == 0) return middle;
    if (order > 0) {
      high = middle - 1;
    } else {
      low = middle + 1;
    }
  }
  return low;
}

// The first button of a message box of the type in `flags`, which Enter presses.
int FirstButton(unsigned flags) {
  constexpr int kFirstButtons[] = {kIdOk, kIdOk, 3 /*IDABORT*/, kIdYes, kIdYes, 4 /*IDRETRY*/, kIdCancel};
  const unsigned type = flags & 0xF;
  return type < sizeof kFirstButtons / sizeof kFirstButtons[0] ? kFirstButtons[type] : kIdOk;
}

}  // namespace

ScriptedDialog::ScriptedDialog(ScriptedDialogRunner& runner, DialogModel& model)
    : runner_(runner), model_(&model), templateId_(model.TemplateId()) {}

std::string ScriptedDialog::GetText(int id) {
  return At(id).text;
}

void ScriptedDialog::SetText(int id, const std::string& text) {
  At(id).text = text;
  if (runner_.IsEdit(id)) Notify(id, kEditChanged);
}

void ScriptedDialog::Enable(int id, bool enable) {
  At(id).enabled = enable;
}
bool ScriptedDialog::IsEnabled(int id) {
  return At(id).enabled;
}
int ScriptedDialog::GetCheck(int id) {
  return At(id).check;
}
void ScriptedDialog::SetCheck(int id, int state) {
  At(id).check = state;
}
void ScriptedDialog::SetFocus(int id) {
  focus_ = id;
}
void ScriptedDialog::LimitText(int id, size_t characters) {
  At(id).limit = characters;
}
std::string ScriptedDialog::Limited(int id, const std::string& text) {
  return text.substr(0, At(id).limit);
}

void ScriptedDialog::ListReset(int id) {
  Control* list = List(id, "ListReset");
  if (!list) return;
  list->items.clear();
  list->selection = kListError;
}

int ScriptedDialog::ListAdd(int id, const std::string& text) {
  Control* list = List(id, "ListAdd");
  if (!list) return kListError;
  const int index = runner_.IsSorted(id) ? SortedPosition(list->items, text) : static_cast<int>(list->items.size());
  return ListInsert(id, index, text);
}

int ScriptedDialog::ListInsert(int id, int index, const std::string& text) {
  Control* list = List(id, "ListInsert");
  if (!list) return kListError;
  const int count = static_cast<int>(list->items.size());
  if (index == -1) index = count;
  if (index < 0 || index > count) return kListError;
  list->items.insert(list->items.begin() + index, text);
  if (list->selection != kListError && list->selection >= index) ++list->selection;
  return index;
}

// The list box's own behaviour, one entry after the other: the reference the system's faster
// way of filling must match.
void ScriptedDialog::ListAddAll(int id, const std::vector<std::string_view>& texts) {
  if (!List(id, "ListAddAll")) return;
  for (std::string_view text : texts) ListAdd(id, std::string(text));
}

int ScriptedDialog::ListDelete(int id, int index) {
  Control* list = List(id, "ListDelete");
  if (!list) return kListError;
  if (index < 0 || index >= static_cast<int>(list->items.size())) return kListError;
  list->items.erase(list->items.begin() + index);
  if (list->selection == index) {
    list->selection = kListError;
  } else if (list->selection > index) {
    --list->selection;
  }
  return static_cast<int>(list->items.size());
}

int ScriptedDialog::ListCount(int id) {
  Control* list = List(id, "ListCount");
  return list ? static_cast<int>(list->items.size()) : kListError;
}

std::string ScriptedDialog::ListGetText(int id, int index) {
  Control* list = List(id, "ListGetText");
  if (!list || index < 0 || index >= static_cast<int>(list->items.size())) return std::string();
  return list->items[index];
}

std::vector<std::string> ScriptedDialog::ListGetAll(int id) {
  Control* list = List(id, "ListGetAll");
  return list ? list->items : std::vector<std::string>();
}

int ScriptedDialog::ListGetSel(int id) {
  Control* list = List(id, "ListGetSel");
  return list ? list->selection : kListError;
}

void ScriptedDialog::ListSetSel(int id, int index) {
  Control* list = List(id, "ListSetSel");
  if (!list) return;
  const bool valid = index >= 0 && index < static_cast<int>(list->items.size());
  list->selection = valid ? index : kListError;
}

int ScriptedDialog::ListFindExact(int id, int startAfter, const std::string& text) {
  Control* list = List(id, "ListFindExact");
  if (!list) return kListError;
  const int count = static_cast<int>(list->items.size());
  if (startAfter < 0 || startAfter >= count) startAfter = -1;
  for (int step = 1; step <= count; ++step) {
    const int index = (startAfter + step) % count;
    if (CompareNoCase(list->items[index], text) == 0) return index;
  }
  return kListError;
}

void ScriptedDialog::SetRedraw(int id, bool redraw) {
  At(id).redraw = redraw;
}

void ScriptedDialog::EndDialog(int result) {
  if (ended_) return;
  ended_ = true;
  result_ = result;
}

std::vector<std::string> ScriptedDialog::ListItems(int id) const {
  const auto control = controls_.find(id);
  return control == controls_.end() ? std::vector<std::string>() : control->second.items;
}

ScriptedDialog::Control* ScriptedDialog::List(int id, const char* operation) {
  if (runner_.IsListBox(id)) return &At(id);
  runner_.AddProblem("dialog " + std::to_string(templateId_) + ": " + operation + " on control " + std::to_string(id) +
                     ", which is no list box");
  return nullptr;
}

void ScriptedDialog::Notify(int id, int notifyCode) {
  if (model_) model_->OnCommand(*this, id, notifyCode);
}

void ScriptedDialog::Init() {
  model_->OnInit(*this);
  CheckRedraw();
}

bool ScriptedDialog::CanAct(int id, const char* action) {
  if (At(id).enabled) return true;
  runner_.AddProblem("dialog " + std::to_string(templateId_) + ": " + action + " on disabled control " +
                     std::to_string(id));
  return false;
}

void ScriptedDialog::CheckRedraw() {
  for (const auto& [id, control] : controls_) {
    if (!control.redraw) {
      runner_.AddProblem("dialog " + std::to_string(templateId_) + ": drawing of control " + std::to_string(id) +
                         " left off");
    }
  }
}

void ScriptedDialogRunner::DeclareEdit(int id) {
  edits_.insert(id);
}
void ScriptedDialogRunner::DeclareListBox(int id, bool sorted) {
  listBoxes_[id] = sorted;
}

bool ScriptedDialogRunner::IsSorted(int id) const {
  const auto list = listBoxes_.find(id);
  return list != listBoxes_.end() && list->second;
}

void ScriptedDialogRunner::Type(int editId, const std::string& text) {
  steps_.push_back([this, editId, text](ScriptedDialog& dialog) {
    if (!IsEdit(editId)) {
      AddProblem("typing into control " + std::to_string(editId) + ", which is no edit");
      return;
    }
    if (!dialog.CanAct(editId, "typing")) return;
    dialog.SetFocus(editId);
    dialog.SetText(editId, dialog.Limited(editId, text));
  });
}

bool ScriptedDialogRunner::ClickEntry(ScriptedDialog& dialog, int listId, int index) {
  ScriptedDialog::Control* list = dialog.List(listId, "selecting");
  if (!list || !dialog.CanAct(listId, "selecting")) return false;
  if (index < 0 || index >= static_cast<int>(list->items.size())) {
    AddProblem("selecting entry " + std::to_string(index) + " of control " + std::to_string(listId) + ", which has " +
               std::to_string(list->items.size()));
    return false;
  }
  dialog.SetFocus(listId);
  list->selection = index;
  // The system's list box reports every click, also on the entry already selected.
  dialog.Notify(listId, kListSelectionChanged);
  return true;
}

void ScriptedDialogRunner::Select(int listId, int index) {
  steps_.push_back([this, listId, index](ScriptedDialog& dialog) { ClickEntry(dialog, listId, index); });
}

void ScriptedDialogRunner::DoubleClick(int listId, int index) {
  steps_.push_back([this, listId, index](ScriptedDialog& dialog) {
    // A dialog that ended on the first click never sees the second.
    if (ClickEntry(dialog, listId, index) && !dialog.Ended()) {
      dialog.Notify(listId, kListDoubleClicked);
    }
  });
}

void ScriptedDialogRunner::Click(int buttonId) {
  steps_.push_back([buttonId](ScriptedDialog& dialog) {
    if (!dialog.CanAct(buttonId, "clicking")) return;
    dialog.SetFocus(buttonId);
    dialog.Notify(buttonId, kButtonClicked);
  });
}

void ScriptedDialogRunner::Check(int checkBoxId, int state) {
  steps_.push_back([checkBoxId, state](ScriptedDialog& dialog) {
    if (!dialog.CanAct(checkBoxId, "checking")) return;
    dialog.SetFocus(checkBoxId);
    dialog.SetCheck(checkBoxId, state);
    dialog.Notify(checkBoxId, kButtonClicked);
  });
}

void ScriptedDialogRunner::Then(std::function<void(ScriptedDialog&)> step) {
  steps_.push_back(std::move(step));
}

void ScriptedDialogRunner::AnswerNextMessage(int answer) {
  messageAnswers_.push_back(answer);
}
void ScriptedDialogRunner::FailNextShow() {
  failNextShow_ = true;
}

int ScriptedDialogRunner::RunModal(DialogModel& model) {
  shownTemplates_.push_back(model.TemplateId());
  if (std::exchange(failNextShow_, false)) return -1;

  auto dialog = std::make_unique<ScriptedDialog>(*this, model);
  dialog->Init();
  while (!dialog->Ended()) {
    if (steps_.empty()) {
      scriptRanOut_ = true;
      dialog->Notify(kIdCancel, kButtonClicked);  // Escape
      dialog->EndDialog(kIdCancel);
      break;
    }
    auto step = std::move(steps_.front());
    steps_.pop_front();
    step(*dialog);
    dialog->CheckRedraw();
  }
  dialog->Close();
  const int result = dialog->Result();
  lastDialog_ = std::move(dialog);
  return result;
}

std::string ScriptedDialogRunner::ChooseFile(FileDialogKind, const std::string&, const std::vector<FileTypeFilter>&) {
  if (fileAnswers_.empty()) return {};
  std::string answer = std::move(fileAnswers_.front());
  fileAnswers_.pop_front();
  return answer;
}

int ScriptedDialogRunner::ShowMessage(const std::string& text, const std::string& caption, unsigned flags) {
  messages_.push_back({text, caption, flags});
  if (messageAnswers_.empty()) return FirstButton(flags);
  const int answer = messageAnswers_.front();
  messageAnswers_.pop_front();
  return answer;
}
