// The drawing data of the simulated host and the rules that keep it consistent.
#include "simhost/sim_model.h"

#include <algorithm>
#include <utility>

namespace {

struct CommandEntry {
  std::u16string_view path;
  int32_t id;
};

constexpr CommandEntry kCommands[] = {
    {kSelectCommandName, kSimCommandSelect},
    {kLeaderCommandName, kSimCommandLeader},
    {u"File|Open", kSimCommandFileOpen},
    {u"Draw|Line", kSimCommandDrawLine},
};

void Erase(std::vector<int32_t>& ids, int32_t id) {
  ids.erase(std::remove(ids.begin(), ids.end(), id), ids.end());
}

}  // namespace

int32_t SimCommandIdOf(std::u16string_view menuPath) {
  for (const CommandEntry& entry : kCommands) {
    if (entry.path == menuPath) return entry.id;
  }
  return 0;
}

bool IsSimCommand(int32_t id) {
  return std::any_of(std::begin(kCommands), std::end(kCommands), [id](const CommandEntry& e) { return e.id == id; });
}

int32_t SimModel::AddDrawing() {
  const int32_t id = nextDrawingId_++;
  drawings_[id].id = id;
  return id;
}

SimDrawingData* SimModel::Drawing(int32_t id) {
  auto it = drawings_.find(id);
  return it == drawings_.end() ? nullptr : &it->second;
}

const SimDrawingData* SimModel::Drawing(int32_t id) const {
  auto it = drawings_.find(id);
  return it == drawings_.end() ? nullptr : &it->second;
}

int32_t SimModel::AddGraphic(int32_t drawingId, const SimGraphicSpec& request, std::optional<SimListRef> home) {
  if (Drawing(drawingId) == nullptr) return 0;
  if (home && ListItems(*home) == nullptr) return 0;
  const int32_t id = nextGraphicId_++;
  SimGraphicData& graphic = graphics_[id];
  graphic.id = id;
  graphic.drawingId = drawingId;
  graphic.typeName = request.typeName;
  graphic.info = request.info;
  graphic.layer = request.layer;
  graphic.block = request.block;
  graphic.vertices = request.vertices;
  if (home) {
    ListItems(*home)->push_back(id);
    graphic.home = *home;
    NoteListChange(*home, id);
  }
  return id;
}

SimGraphicData* SimModel::Graphic(int32_t id) {
  auto it = graphics_.find(id);
  return it == graphics_.end() ? nullptr : &it->second;
}

const SimGraphicData* SimModel::Graphic(int32_t id) const {
  auto it = graphics_.find(id);
  return it == graphics_.end() ? nullptr : &it->second;
}

std::vector<int32_t>* SimModel::ListItems(const SimListRef& list) {
  if (list.ownerGraphicId != 0) {
    SimGraphicData* owner = Graphic(list.ownerGraphicId);
    return owner == nullptr ? nullptr : &owner->children;
  }
  SimDrawingData* drawing = Drawing(list.drawingId);
  return drawing == nullptr ? nullptr : &drawing->graphics;
}

const std::vector<int32_t>* SimModel::ListItems(const SimListRef& list) const {
  return const_cast<SimModel*>(this)->ListItems(list);
}

int32_t SimModel::OwnerDrawingOf(const SimListRef& list) const {
  if (list.ownerGraphicId != 0) {
    const SimGraphicData* owner = Graphic(list.ownerGraphicId);
    return owner == nullptr ? 0 : owner->drawingId;
  }
  return Drawing(list.drawingId) == nullptr ? 0 : list.drawingId;
}

bool SimModel::IsWithin(int32_t graphicId, int32_t ancestorId) const {
  // Walks up from graphicId through the child lists that hold it.
  int32_t current = graphicId;
  while (current != 0) {
    if (current == ancestorId) return true;
    const SimGraphicData* graphic = Graphic(current);
    if (graphic == nullptr || !graphic->home) return false;
    current = graphic->home->ownerGraphicId;
  }
  return false;
}

HRESULT SimModel::Append(const SimListRef& list, int32_t graphicId) {
  std::vector<int32_t>* items = ListItems(list);
  SimGraphicData* graphic = Graphic(graphicId);
  RETURN_HR_IF(E_INVALIDARG, items == nullptr || graphic == nullptr || graphic->home.has_value());
  RETURN_HR_IF(E_INVALIDARG, list.ownerGraphicId != 0 && IsWithin(list.ownerGraphicId, graphicId));
  items->push_back(graphicId);
  graphic->home = list;
  NoteListChange(list, graphicId);
  return S_OK;
}

HRESULT SimModel::Extract(const SimListRef& list, int32_t index, int32_t* graphicId) {
  std::vector<int32_t>* items = ListItems(list);
  RETURN_HR_IF(E_INVALIDARG, items == nullptr || index < 0 || index >= static_cast<int32_t>(items->size()));
  const int32_t id = (*items)[static_cast<size_t>(index)];
  items->erase(items->begin() + index);
  Graphic(id)->home.reset();
  NoteListChange(list, id);
  *graphicId = id;
  return S_OK;
}

HRESULT SimModel::SetSelection(int32_t drawingId, const std::vector<int32_t>& graphicIds) {
  SimDrawingData* drawing = Drawing(drawingId);
  RETURN_HR_IF(E_INVALIDARG, drawing == nullptr);
  for (int32_t id : graphicIds) RETURN_HR_IF(E_INVALIDARG, Graphic(id) == nullptr);
  // What changed are the graphics that joined or left the selection: a set of each side keeps
  // this in proportion to the two selections, however many they hold.
  const std::unordered_set<int32_t> before(drawing->selection.begin(), drawing->selection.end());
  const std::unordered_set<int32_t> after(graphicIds.begin(), graphicIds.end());
  for (int32_t id : before) {
    if (after.count(id) == 0) NoteChange(id);
  }
  for (int32_t id : after) {
    if (before.count(id) == 0) NoteChange(id);
  }
  drawing->selection = graphicIds;
  return S_OK;
}

HRESULT SimModel::SetInfo(int32_t graphicId, std::u16string info) {
  SimGraphicData* graphic = Graphic(graphicId);
  RETURN_HR_IF(E_INVALIDARG, graphic == nullptr);
  graphic->info = std::move(info);
  NoteChange(graphicId);
  return S_OK;
}

int32_t SimModel::OpenUndoRecord(int32_t drawingId, std::u16string caption) {
  if (Drawing(drawingId) == nullptr) return 0;
  const int32_t id = nextUndoRecordId_++;
  SimUndoRecordData& record = undoRecords_[id];
  record.id = id;
  record.drawingId = drawingId;
  record.caption = std::move(caption);
  return id;
}

SimUndoRecordData* SimModel::FindUndoRecord(int32_t id) {
  auto it = undoRecords_.find(id);
  return it == undoRecords_.end() ? nullptr : &it->second;
}

SimUndoRecordData* SimModel::FindOpenRecord(int32_t id) {
  SimUndoRecordData* record = FindUndoRecord(id);
  return record != nullptr && record->state == SimUndoRecordData::State::Open ? record : nullptr;
}

HRESULT SimModel::NoteAdded(int32_t recordId, int32_t graphicId) {
  SimUndoRecordData* record = FindOpenRecord(recordId);
  RETURN_HR_IF(E_FAIL, record == nullptr);
  RETURN_HR_IF(E_INVALIDARG, Graphic(graphicId) == nullptr);
  SimUndoEntry entry;
  entry.graphicId = graphicId;
  entry.added = true;
  record->entries.push_back(std::move(entry));
  return S_OK;
}

HRESULT SimModel::NoteChanged(int32_t recordId, int32_t graphicId) {
  SimUndoRecordData* record = FindOpenRecord(recordId);
  RETURN_HR_IF(E_FAIL, record == nullptr);
  const SimGraphicData* graphic = Graphic(graphicId);
  RETURN_HR_IF(E_INVALIDARG, graphic == nullptr);
  SimUndoEntry entry;
  entry.graphicId = graphicId;
  entry.before = SimGraphicSnapshot{graphic->info, graphic->children, graphic->vertices};
  record->entries.push_back(std::move(entry));
  return S_OK;
}

HRESULT SimModel::CloseUndoRecord(int32_t recordId) {
  SimUndoRecordData* record = FindOpenRecord(recordId);
  RETURN_HR_IF(E_FAIL, record == nullptr);
  SimDrawingData* drawing = Drawing(record->drawingId);
  RETURN_HR_IF(E_FAIL, drawing == nullptr);
  record->state = SimUndoRecordData::State::Closed;
  drawing->undoStack.push_back(recordId);
  for (int32_t undone : drawing->redoStack) {
    for (const SimUndoEntry& entry : undoRecords_.at(undone).entries) {
      if (entry.added) Forget(entry.graphicId);
    }
  }
  drawing->redoStack.clear();
  return S_OK;
}

void SimModel::NoteChange(int32_t graphicId) {
  changed_.insert(graphicId);
}

// A list's items are part of the picture of the graphic that owns the list.
void SimModel::NoteListChange(const SimListRef& list, int32_t graphicId) {
  NoteChange(graphicId);
  if (list.ownerGraphicId != 0) NoteChange(list.ownerGraphicId);
}

std::vector<int32_t> SimModel::TakeChangedGraphics() {
  std::vector<int32_t> changed(changed_.begin(), changed_.end());
  changed_.clear();
  return changed;
}

void SimModel::RemoveFromHome(SimGraphicData& graphic) {
  if (!graphic.home) return;
  if (std::vector<int32_t>* items = ListItems(*graphic.home)) Erase(*items, graphic.id);
  NoteListChange(*graphic.home, graphic.id);
  graphic.home.reset();
}

void SimModel::Bury(int32_t id, bool top) {
  auto it = graphics_.find(id);
  if (it == graphics_.end()) return;
  // The children keep their place in their owner's list, to come back with it.
  if (top) RemoveFromHome(it->second);
  for (auto& entry : drawings_) Erase(entry.second.selection, id);
  NoteChange(id);
  const std::vector<int32_t> children = it->second.children;
  buried_[id] = std::move(it->second);
  graphics_.erase(it);
  for (int32_t child : children) Bury(child, false);
}

void SimModel::Unbury(int32_t id) {
  auto it = buried_.find(id);
  if (it == buried_.end()) return;
  const std::vector<int32_t> children = it->second.children;
  graphics_[id] = std::move(it->second);
  buried_.erase(it);
  NoteChange(id);
  for (int32_t child : children) Unbury(child);
}

void SimModel::Forget(int32_t id) {
  auto it = buried_.find(id);
  if (it == buried_.end()) return;
  const std::vector<int32_t> children = it->second.children;
  buried_.erase(it);
  for (int32_t child : children) Forget(child);
}

void SimModel::Restore(SimGraphicData& graphic, const SimGraphicSnapshot& before) {
  graphic.info = before.info;
  graphic.vertices = before.vertices;
  NoteChange(graphic.id);
  // Items that joined the child list since the snapshot leave it; those it held come back.
  for (int32_t child : graphic.children) {
    if (SimGraphicData* item = Graphic(child)) item->home.reset();
    NoteChange(child);
  }
  graphic.children.clear();
  const SimListRef ownList{graphic.drawingId, graphic.id};
  for (int32_t child : before.children) {
    SimGraphicData* item = Graphic(child);
    if (item == nullptr || IsWithin(graphic.id, child)) continue;
    RemoveFromHome(*item);
    graphic.children.push_back(child);
    item->home = ownList;
    NoteChange(child);
  }
}

bool SimModel::Undo(int32_t drawingId) {
  SimDrawingData* drawing = Drawing(drawingId);
  if (drawing == nullptr || drawing->undoStack.empty()) return false;
  const int32_t recordId = drawing->undoStack.back();
  drawing->undoStack.pop_back();
  SimUndoRecordData* record = FindUndoRecord(recordId);
  record->state = SimUndoRecordData::State::Undone;
  for (auto entry = record->entries.rbegin(); entry != record->entries.rend(); ++entry) {
    SimGraphicData* graphic = Graphic(entry->graphicId);
    if (graphic == nullptr) continue;
    if (entry->added) {
      // The graphic leaves its list first; a change noted in the same record may take it back
      // (a text returned to its leader). Only what no list holds afterwards is gone.
      entry->home = graphic->home;
      RemoveFromHome(*graphic);
    } else {
      entry->after = SimGraphicSnapshot{graphic->info, graphic->children, graphic->vertices};
      Restore(*graphic, entry->before);
    }
  }
  for (const SimUndoEntry& entry : record->entries) {
    const SimGraphicData* graphic = Graphic(entry.graphicId);
    if (entry.added && graphic != nullptr && !graphic->home) Bury(entry.graphicId, true);
  }
  drawing->redoStack.push_back(recordId);
  return true;
}

bool SimModel::Redo(int32_t drawingId) {
  SimDrawingData* drawing = Drawing(drawingId);
  if (drawing == nullptr || drawing->redoStack.empty()) return false;
  const int32_t recordId = drawing->redoStack.back();
  drawing->redoStack.pop_back();
  SimUndoRecordData* record = FindUndoRecord(recordId);
  // What undo buried comes back first, then the changes, and last every added graphic that no
  // list holds goes back where it was: a change may have taken it out of a list again.
  for (const SimUndoEntry& entry : record->entries) {
    if (entry.added) Unbury(entry.graphicId);
  }
  for (const SimUndoEntry& entry : record->entries) {
    SimGraphicData* graphic = Graphic(entry.graphicId);
    if (!entry.added && graphic != nullptr) Restore(*graphic, entry.after);
  }
  for (const SimUndoEntry& entry : record->entries) {
    const SimGraphicData* graphic = Graphic(entry.graphicId);
    if (entry.added && graphic != nullptr && !graphic->home && entry.home) Append(*entry.home, entry.graphicId);
  }
  record->state = SimUndoRecordData::State::Closed;
  drawing->undoStack.push_back(recordId);
  return true;
}

std::vector<std::u16string> SimModel::UndoCaptions(int32_t drawingId) const {
  std::vector<std::u16string> captions;
  const SimDrawingData* drawing = Drawing(drawingId);
  if (drawing == nullptr) return captions;
  for (int32_t id : drawing->undoStack) captions.push_back(undoRecords_.at(id).caption);
  return captions;
}
