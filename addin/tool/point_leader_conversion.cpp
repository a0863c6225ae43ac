// Point-leader conversion: a leader whose third child holds a single vertex (placed with a
// double click) has its text child taken out as a graphic of its own, under one undo record.
#include "addin/tool/placement_constants.h"
#include "addin/tool/tool_object.h"

namespace {
constexpr int32_t kLeaderChildCount = 5;
constexpr int32_t kLeaderVertexChild = 2;
constexpr int32_t kTextChild = 4;
}  // namespace

HRESULT ToolObject::ConvertPointLeader(HostGraphicList& list, int32_t* appended) {
  RETURN_HR_IF(E_POINTER, appended == nullptr);
  *appended = 0;
  int32_t count = 0;
  RETURN_IF_FAILED(Step(list.CountItems(&count)));
  RETURN_HR_IF(E_FAIL, count < 1);
  HostRef<HostGraphic> leader;  // the newest graphic: the leader just placed
  RETURN_IF_FAILED(Step(list.PickItem(count - 1, &leader)));
  RETURN_HR_IF_NULL(E_POINTER, leader);
  HostRef<HostGraphicList> children;
  RETURN_IF_FAILED(Step(leader->ReadChildGraphics(&children)));
  RETURN_HR_IF_NULL(E_POINTER, children);
  int32_t childCount = 0;
  RETURN_IF_FAILED(Step(children->CountItems(&childCount)));
  RETURN_HR_IF(E_FAIL, childCount < kLeaderChildCount);  // the text is the fifth child

  HostRef<HostDrawing> drawing;
  RETURN_IF_FAILED(Step(list.ReadOwnerDrawing(&drawing)));
  RETURN_HR_IF_NULL(E_POINTER, drawing);
  HostRef<HostGraphic> vertexChild;
  RETURN_IF_FAILED(Step(children->PickItem(kLeaderVertexChild, &vertexChild)));
  RETURN_HR_IF_NULL(E_POINTER, vertexChild);
  HostRef<HostVertexList> vertices;
  RETURN_IF_FAILED(Step(vertexChild->ReadVertexList(&vertices)));
  RETURN_HR_IF_NULL(E_POINTER, vertices);
  int32_t vertexCount = 0;
  RETURN_IF_FAILED(Step(vertices->CountItems(&vertexCount)));
  if (vertexCount != 1) return S_OK;  // not a point leader

  // The record is open before the leader changes, so that undoing it gives the text back.
  HostRef<HostUndoRecord> record;
  RETURN_IF_FAILED(drawing->OpenUndoRecord(kConvertUndoCaption, &record));
  RETURN_HR_IF_NULL(E_POINTER, record);
  // A host that let go before the leader changed gets its record closed, empty. Once the text is
  // out of its leader the move goes to its end: it must land in the drawing, noted in the record,
  // or the drawing would lose it or undo would not give it back.
  if (LetGo()) {
    record->CloseUndoRecord();
    return E_FAIL;
  }
  HRESULT hr = Step(record->NoteChangedGraphic(*leader));
  HostRef<HostGraphic> text;
  if (SUCCEEDED(hr)) hr = children->ExtractItem(kTextChild, &text);
  if (SUCCEEDED(hr) && !text) hr = E_POINTER;
  if (SUCCEEDED(hr)) {
    hr = list.AppendGraphic(*text);
    if (FAILED(hr)) {
      children->AppendGraphic(*text);  // nothing may be lost: the text goes back to its leader
    } else {
      *appended = 1;
      record->NoteAddedGraphic(*text);
      int32_t textId = 0;
      if (!LetGo() && SUCCEEDED(text->ReadGraphicId(&textId))) convertedTexts_.push_back(textId);
    }
  }
  record->CloseUndoRecord();
  RETURN_IF_FAILED(hr);
  RETURN_HR_IF(E_FAIL, LetGo());

  HostRef<HostView> view;
  if (SUCCEEDED(Step(drawing->ReadActiveView(&view))) && view) view->RefreshView();
  return S_OK;
}
