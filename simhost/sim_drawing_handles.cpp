// The drawing side of the simulated host: a drawing, its graphic lists (the drawing's own and a
// graphic's children), its selection and view, and its undo records.
#include <algorithm>
#include <memory>
#include <utility>

#include "simhost/sim_call.h"
#include "simhost/sim_handles.h"

int32_t SimGraphicIdOf(SimHost& host, HostGraphic& graphic) {
  auto* handle = dynamic_cast<SimGraphicHandle*>(&graphic);
  return handle != nullptr && &handle->Host() == &host ? handle->GraphicId() : 0;
}

HRESULT SimDrawingHandle::ReadGraphicList(HostRef<HostGraphicList>* list) {
  return SimCallRunObject<&HostDrawing::ReadGraphicList>(host_, list, [&]() -> HRESULT {
    RETURN_HR_IF(E_INVALIDARG, host_.Model().Drawing(drawingId_) == nullptr);
    *list = std::make_unique<SimGraphicListHandle>(host_, SimListRef{drawingId_, 0});
    return S_OK;
  });
}

HRESULT SimDrawingHandle::ReadSelection(HostRef<HostSelection>* selection) {
  return SimCallRunObject<&HostDrawing::ReadSelection>(host_, selection, [&]() -> HRESULT {
    RETURN_HR_IF(E_INVALIDARG, host_.Model().Drawing(drawingId_) == nullptr);
    *selection = std::make_unique<SimSelectionHandle>(host_, drawingId_);
    return S_OK;
  });
}

HRESULT SimDrawingHandle::ReadActiveView(HostRef<HostView>* view) {
  return SimCallRunObject<&HostDrawing::ReadActiveView>(host_, view, [&]() -> HRESULT {
    RETURN_HR_IF(E_INVALIDARG, host_.Model().Drawing(drawingId_) == nullptr);
    *view = std::make_unique<SimViewHandle>(host_, drawingId_);
    return S_OK;
  });
}

HRESULT SimDrawingHandle::OpenUndoRecord(const std::u16string& caption, HostRef<HostUndoRecord>* record) {
  return SimCallRunObject<&HostDrawing::OpenUndoRecord>(host_, record, [&]() -> HRESULT {
    const int32_t recordId = host_.Model().OpenUndoRecord(drawingId_, caption);
    RETURN_HR_IF(E_INVALIDARG, recordId == 0);
    *record = std::make_unique<SimUndoRecordHandle>(host_, recordId);
    return S_OK;
  });
}

HRESULT SimGraphicListHandle::CountItems(int32_t* count) {
  return SimCallRun<&HostGraphicList::CountItems>(host_, [&]() -> HRESULT {
    RETURN_HR_IF_NULL(E_POINTER, count);
    const std::vector<int32_t>* items = host_.Model().ListItems(list_);
    RETURN_HR_IF(E_INVALIDARG, items == nullptr);
    *count = static_cast<int32_t>(items->size());
    return S_OK;
  });
}

HRESULT SimGraphicListHandle::PickItem(int32_t index, HostRef<HostGraphic>* graphic) {
  return SimCallRunObject<&HostGraphicList::PickItem>(host_, graphic, [&]() -> HRESULT {
    const std::vector<int32_t>* items = host_.Model().ListItems(list_);
    RETURN_HR_IF(E_INVALIDARG, items == nullptr || index < 0 || index >= static_cast<int32_t>(items->size()));
    *graphic = std::make_unique<SimGraphicHandle>(host_, (*items)[static_cast<size_t>(index)]);
    return S_OK;
  });
}

HRESULT SimGraphicListHandle::ReadOwnerDrawing(HostRef<HostDrawing>* drawing) {
  return SimCallRunObject<&HostGraphicList::ReadOwnerDrawing>(host_, drawing, [&]() -> HRESULT {
    const int32_t drawingId = host_.Model().OwnerDrawingOf(list_);
    RETURN_HR_IF(E_INVALIDARG, drawingId == 0);
    *drawing = std::make_unique<SimDrawingHandle>(host_, drawingId);
    return S_OK;
  });
}

HRESULT SimGraphicListHandle::AppendGraphic(HostGraphic& graphic) {
  return SimCallRun<&HostGraphicList::AppendGraphic>(host_, [&]() -> HRESULT {
    const int32_t graphicId = SimGraphicIdOf(host_, graphic);
    RETURN_HR_IF(E_INVALIDARG, graphicId == 0);
    return host_.Model().Append(list_, graphicId);
  });
}

HRESULT SimGraphicListHandle::ExtractItem(int32_t index, HostRef<HostGraphic>* graphic) {
  return SimCallRunObject<&HostGraphicList::ExtractItem>(host_, graphic, [&]() -> HRESULT {
    const std::vector<int32_t>* items = host_.Model().ListItems(list_);
    RETURN_HR_IF(E_INVALIDARG, items == nullptr || index < 0 || index >= static_cast<int32_t>(items->size()));
    // The handle is made first so that running out of memory leaves the list as it was.
    auto extracted = std::make_unique<SimGraphicHandle>(host_, (*items)[static_cast<size_t>(index)]);
    int32_t graphicId = 0;
    RETURN_IF_FAILED(host_.Model().Extract(list_, index, &graphicId));
    *graphic = std::move(extracted);
    return S_OK;
  });
}

HRESULT SimGraphicListHandle::FindById(int32_t id, HostRef<HostGraphic>* graphic) {
  return SimCallRunObject<&HostGraphicList::FindById>(host_, graphic, [&]() -> HRESULT {
    const std::vector<int32_t>* items = host_.Model().ListItems(list_);
    RETURN_HR_IF(E_INVALIDARG, items == nullptr);
    // A graphic knows the list it is in: found by its id, as a drafting program's index finds it,
    // not by a search through the list.
    const SimGraphicData* found = host_.Model().Graphic(id);
    if (found != nullptr && found->home == list_) *graphic = std::make_unique<SimGraphicHandle>(host_, id);
    return S_OK;
  });
}

HRESULT SimSelectionHandle::CountItems(int32_t* count) {
  return SimCallRun<&HostSelection::CountItems>(host_, [&]() -> HRESULT {
    RETURN_HR_IF_NULL(E_POINTER, count);
    const SimDrawingData* drawing = host_.Model().Drawing(drawingId_);
    RETURN_HR_IF(E_INVALIDARG, drawing == nullptr);
    *count = static_cast<int32_t>(drawing->selection.size());
    return S_OK;
  });
}

HRESULT SimSelectionHandle::PickItem(int32_t index, HostRef<HostGraphic>* graphic) {
  return SimCallRunObject<&HostSelection::PickItem>(host_, graphic, [&]() -> HRESULT {
    const SimDrawingData* drawing = host_.Model().Drawing(drawingId_);
    RETURN_HR_IF(E_INVALIDARG,
                 drawing == nullptr || index < 0 || index >= static_cast<int32_t>(drawing->selection.size()));
    *graphic = std::make_unique<SimGraphicHandle>(host_, drawing->selection[static_cast<size_t>(index)]);
    return S_OK;
  });
}

HRESULT SimSelectionHandle::ClearSelection() {
  return SimCallRun<&HostSelection::ClearSelection>(
      host_, [&]() -> HRESULT { return host_.Model().SetSelection(drawingId_, {}); });
}

HRESULT SimViewHandle::RefreshView() {
  return SimCallRun<&HostView::RefreshView>(host_, [&]() -> HRESULT {
    SimDrawingData* drawing = host_.Model().Drawing(drawingId_);
    RETURN_HR_IF(E_INVALIDARG, drawing == nullptr);
    ++drawing->refreshCount;
    return S_OK;
  });
}

HRESULT SimUndoRecordHandle::NoteAddedGraphic(HostGraphic& graphic) {
  return SimCallRun<&HostUndoRecord::NoteAddedGraphic>(host_, [&]() -> HRESULT {
    const int32_t graphicId = SimGraphicIdOf(host_, graphic);
    RETURN_HR_IF(E_INVALIDARG, graphicId == 0);
    return host_.Model().NoteAdded(recordId_, graphicId);
  });
}

HRESULT SimUndoRecordHandle::NoteChangedGraphic(HostGraphic& graphic) {
  return SimCallRun<&HostUndoRecord::NoteChangedGraphic>(host_, [&]() -> HRESULT {
    const int32_t graphicId = SimGraphicIdOf(host_, graphic);
    RETURN_HR_IF(E_INVALIDARG, graphicId == 0);
    return host_.Model().NoteChanged(recordId_, graphicId);
  });
}

HRESULT SimUndoRecordHandle::CloseUndoRecord() {
  return SimCallRun<&HostUndoRecord::CloseUndoRecord>(
      host_, [&]() -> HRESULT { return host_.Model().CloseUndoRecord(recordId_); });
}
