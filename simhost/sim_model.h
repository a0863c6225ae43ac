// The simulated host's drawing data: drawings, graphics and the lists that hold them, the
// selection and the undo stacks. Plain data and the rules that keep it consistent (a graphic is
// in at most one list, ids are never reused, undo reverts exactly what a record noted). It knows
// nothing of calls, faults or events; SimHost adds those and the handles read and write here.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

#include "framework/status.h"
#include "host/host_names.h"

struct SimPoint {
  double x = 0.0;
  double y = 0.0;
  double z = 0.0;
};

inline bool operator==(const SimPoint& a, const SimPoint& b) {
  return a.x == b.x && a.y == b.y && a.z == b.z;
}

// What a test asks for when it puts a graphic into a drawing.
struct SimGraphicSpec {
  std::u16string typeName = kGraphicTypeName;
  std::u16string info;
  std::optional<std::u16string> layer;
  std::optional<std::u16string> block;
  std::vector<SimPoint> vertices;
};

// Which graphic list: the drawing's own (ownerGraphicId 0) or the child list of a graphic.
struct SimListRef {
  int32_t drawingId = 0;
  int32_t ownerGraphicId = 0;
};

inline bool operator==(const SimListRef& a, const SimListRef& b) {
  return a.drawingId == b.drawingId && a.ownerGraphicId == b.ownerGraphicId;
}

struct SimGraphicData {
  int32_t id = 0;
  int32_t drawingId = 0;  // the drawing the graphic was made in
  std::u16string typeName;
  std::u16string info;
  std::optional<std::u16string> layer;
  std::optional<std::u16string> block;
  std::vector<SimPoint> vertices;
  std::vector<int32_t> children;
  std::optional<SimListRef> home;  // the list the graphic is in; none after ExtractItem
  int updateCount = 0;
};

// The state of a graphic that an undo record restores.
struct SimGraphicSnapshot {
  std::u16string info;
  std::vector<int32_t> children;
  std::vector<SimPoint> vertices;
};

struct SimUndoEntry {
  int32_t graphicId = 0;
  bool added = false;
  SimGraphicSnapshot before;       // used when !added
  SimGraphicSnapshot after;        // taken by undo, for redo
  std::optional<SimListRef> home;  // where an added graphic was when undo took it out
};

struct SimUndoRecordData {
  enum class State { Open, Closed, Undone };
  int32_t id = 0;
  int32_t drawingId = 0;
  std::u16string caption;
  State state = State::Open;
  std::vector<SimUndoEntry> entries;
};

struct SimDrawingData {
  int32_t id = 0;
  std::vector<int32_t> graphics;
  std::vector<int32_t> selection;
  std::vector<int32_t> undoStack;  // closed record ids, oldest first
  std::vector<int32_t> redoStack;  // undone record ids, the next to redo last
  int refreshCount = 0;
};

// The host's command table (menu path -> command id).
constexpr int32_t kSimCommandSelect = 1001;
constexpr int32_t kSimCommandLeader = 2001;
constexpr int32_t kSimCommandFileOpen = 3001;
constexpr int32_t kSimCommandDrawLine = 4001;

// 0 for a path that is not in the table.
int32_t SimCommandIdOf(std::u16string_view menuPath);
bool IsSimCommand(int32_t id);

class SimModel {
 public:
  int32_t AddDrawing();
  SimDrawingData* Drawing(int32_t id);
  const SimDrawingData* Drawing(int32_t id) const;
  const std::map<int32_t, SimDrawingData>& Drawings() const { return drawings_; }

  // Makes a graphic in the drawing, as the last item of `home` when given. 0 when the drawing
  // or the list does not exist.
  int32_t AddGraphic(int32_t drawingId, const SimGraphicSpec& request, std::optional<SimListRef> home);
  // A live graphic (not deleted by undo); null otherwise.
  SimGraphicData* Graphic(int32_t id);
  const SimGraphicData* Graphic(int32_t id) const;

  // The items of a list; null when its drawing or owner graphic is gone.
  std::vector<int32_t>* ListItems(const SimListRef& list);
  const std::vector<int32_t>* ListItems(const SimListRef& list) const;
  int32_t OwnerDrawingOf(const SimListRef& list) const;  // 0 when the list is gone
  // Adds a graphic that is in no list as the last item. E_INVALIDARG for a graphic that is
  // gone, already in a list, or would end up inside itself.
  HRESULT Append(const SimListRef& list, int32_t graphicId);
  HRESULT Extract(const SimListRef& list, int32_t index, int32_t* graphicId);

  HRESULT SetSelection(int32_t drawingId, const std::vector<int32_t>& graphicIds);
  // Sets the graphic's "Info" text; E_INVALIDARG for a graphic that is gone.
  HRESULT SetInfo(int32_t graphicId, std::u16string info);

  int32_t OpenUndoRecord(int32_t drawingId, std::u16string caption);  // 0 when the drawing is gone
  SimUndoRecordData* FindUndoRecord(int32_t id);
  HRESULT NoteAdded(int32_t recordId, int32_t graphicId);
  HRESULT NoteChanged(int32_t recordId, int32_t graphicId);
  HRESULT CloseUndoRecord(int32_t recordId);
  // Reverts the newest closed record of the drawing; false when there is none.
  bool Undo(int32_t drawingId);
  // Applies the newest undone record again; false when there is none. Closing a new record
  // forgets what could be redone.
  bool Redo(int32_t drawingId);
  std::vector<std::u16string> UndoCaptions(int32_t drawingId) const;

  // The graphics whose picture may have changed since the last call, each once, in no order:
  // made, changed, moved into or out of a list (with the graphic that owns the list), selected
  // or no longer, taken away by undo or brought back by redo. A host that shows the drawing
  // paints again only these, and finds them without comparing the whole drawing.
  std::vector<int32_t> TakeChangedGraphics();

 private:
  void NoteChange(int32_t graphicId);
  void NoteListChange(const SimListRef& list, int32_t graphicId);
  void RemoveFromHome(SimGraphicData& graphic);
  // Undo keeps what it took away (with its children) aside, so that redo can bring it back.
  void Bury(int32_t id, bool top);
  void Unbury(int32_t id);
  void Forget(int32_t id);
  void Restore(SimGraphicData& graphic, const SimGraphicSnapshot& before);
  bool IsWithin(int32_t graphicId, int32_t ancestorId) const;
  SimUndoRecordData* FindOpenRecord(int32_t id);

  std::map<int32_t, SimDrawingData> drawings_;
  std::map<int32_t, SimGraphicData> graphics_;
  std::map<int32_t, SimUndoRecordData> undoRecords_;
  std::map<int32_t, SimGraphicData> buried_;
  std::unordered_set<int32_t> changed_;
  int32_t nextDrawingId_ = 1;
  int32_t nextGraphicId_ = 1;
  int32_t nextUndoRecordId_ = 1;
};
