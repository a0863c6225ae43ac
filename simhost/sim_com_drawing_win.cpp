// The drawing side of the simulated host over COM: the drawing, its graphic lists (the drawing's
// own and each graphic's children), the selection, the view and the undo record.
#include "simhost/sim_com_object_win.h"
#include "simhost/sim_com_win.h"

namespace {

class SimComView final : public SimComObject<IHostView> {
 public:
  using SimComObject::SimComObject;
  STDMETHODIMP RefreshView() override {
    return Run([&] { return handle_->RefreshView(); });
  }
};

class SimComSelection final : public SimComObject<IHostSelection> {
 public:
  using SimComObject::SimComObject;
  STDMETHODIMP CountItems(long* count) override {
    return GiveScalar<int32_t>(count, [&](int32_t* v) { return handle_->CountItems(v); });
  }
  STDMETHODIMP PickItem(VARIANT index, IHostGraphic** graphic) override {
    if (graphic != nullptr) *graphic = nullptr;
    int32_t at = 0;
    RETURN_IF_FAILED(LongFromVariant(index, &at));
    return Give(graphic, [&](HostRef<HostGraphic>* h) { return handle_->PickItem(at, h); });
  }
  STDMETHODIMP ClearSelection() override {
    return Run([&] { return handle_->ClearSelection(); });
  }
};

class SimComUndoRecord final : public SimComObject<IHostUndoRecord> {
 public:
  using SimComObject::SimComObject;
  STDMETHODIMP NoteAddedGraphic(IHostGraphic* g) override {
    RETURN_HR_IF_NULL(E_POINTER, g);
    HostGraphic* graphic = SimGraphicHandleOf(g);
    RETURN_HR_IF_NULL(E_INVALIDARG, graphic);
    return Run([&] { return handle_->NoteAddedGraphic(*graphic); });
  }
  STDMETHODIMP NoteChangedGraphic(IHostGraphic* g) override {
    RETURN_HR_IF_NULL(E_POINTER, g);
    HostGraphic* graphic = SimGraphicHandleOf(g);
    RETURN_HR_IF_NULL(E_INVALIDARG, graphic);
    return Run([&] { return handle_->NoteChangedGraphic(*graphic); });
  }
  STDMETHODIMP CloseUndoRecord() override {
    return Run([&] { return handle_->CloseUndoRecord(); });
  }
};

class SimComGraphicList final : public SimComObject<IHostGraphicList> {
 public:
  using SimComObject::SimComObject;
  STDMETHODIMP CountItems(long* count) override {
    return GiveScalar<int32_t>(count, [&](int32_t* v) { return handle_->CountItems(v); });
  }
  STDMETHODIMP PickItem(VARIANT index, IHostGraphic** graphic) override {
    if (graphic != nullptr) *graphic = nullptr;
    int32_t at = 0;
    RETURN_IF_FAILED(LongFromVariant(index, &at));
    return Give(graphic, [&](HostRef<HostGraphic>* h) { return handle_->PickItem(at, h); });
  }
  STDMETHODIMP ReadOwnerDrawing(IHostDrawing** drawing) override {
    return Give(drawing, [&](HostRef<HostDrawing>* h) { return handle_->ReadOwnerDrawing(h); });
  }
  // This host knows no use for the two optional arguments; it takes them only omitted.
  STDMETHODIMP AppendGraphic(IHostGraphic* g, VARIANT a, VARIANT b) override {
    RETURN_HR_IF(E_INVALIDARG, !IsOmitted(a) || !IsOmitted(b));
    RETURN_HR_IF_NULL(E_POINTER, g);
    HostGraphic* graphic = SimGraphicHandleOf(g);
    RETURN_HR_IF_NULL(E_INVALIDARG, graphic);
    return Run([&] { return handle_->AppendGraphic(*graphic); });
  }
  STDMETHODIMP ExtractItem(VARIANT index, IHostGraphic** graphic) override {
    if (graphic != nullptr) *graphic = nullptr;
    int32_t at = 0;
    RETURN_IF_FAILED(LongFromVariant(index, &at));
    return Give(graphic, [&](HostRef<HostGraphic>* h) { return handle_->ExtractItem(at, h); });
  }
  STDMETHODIMP FindById(long id, IHostGraphic** graphic) override {
    return Give(graphic, [&](HostRef<HostGraphic>* h) { return handle_->FindById(id, h); });
  }
};

class SimComDrawing final : public SimComObject<IHostDrawing> {
 public:
  using SimComObject::SimComObject;
  STDMETHODIMP ReadGraphicList(IHostGraphicList** list) override {
    return Give(list, [&](HostRef<HostGraphicList>* h) { return handle_->ReadGraphicList(h); });
  }
  STDMETHODIMP ReadSelection(IHostSelection** selection) override {
    return Give(selection, [&](HostRef<HostSelection>* h) { return handle_->ReadSelection(h); });
  }
  STDMETHODIMP ReadActiveView(IHostView** view) override {
    return Give(view, [&](HostRef<HostView>* h) { return handle_->ReadActiveView(h); });
  }
  STDMETHODIMP OpenUndoRecord(BSTR caption, IHostUndoRecord** record) override {
    return Give(record, [&](HostRef<HostUndoRecord>* h) { return handle_->OpenUndoRecord(TextFromBstr(caption), h); });
  }
};

}  // namespace

HRESULT WrapCom(SimHost& host, HostRef<HostDrawing> handle, IHostDrawing** object) {
  return CreateSimCom<SimComDrawing>(host, std::move(handle), object);
}

HRESULT WrapCom(SimHost& host, HostRef<HostGraphicList> handle, IHostGraphicList** object) {
  return CreateSimCom<SimComGraphicList>(host, std::move(handle), object);
}

HRESULT WrapCom(SimHost& host, HostRef<HostSelection> handle, IHostSelection** object) {
  return CreateSimCom<SimComSelection>(host, std::move(handle), object);
}

HRESULT WrapCom(SimHost& host, HostRef<HostView> handle, IHostView** object) {
  return CreateSimCom<SimComView>(host, std::move(handle), object);
}

HRESULT WrapCom(SimHost& host, HostRef<HostUndoRecord> handle, IHostUndoRecord** object) {
  return CreateSimCom<SimComUndoRecord>(host, std::move(handle), object);
}

HRESULT MakeComDrawing(SimHost& host, int32_t drawingId, IDispatch** drawing) {
  RETURN_HR_IF_NULL(E_POINTER, drawing);
  *drawing = nullptr;
  return ComTry([&] {
    HostRef<HostDrawing> handle = host.Drawing(drawingId);
    RETURN_HR_IF_NULL(E_INVALIDARG, handle);
    IHostDrawing* made = nullptr;
    RETURN_IF_FAILED(WrapCom(host, std::move(handle), &made));
    *drawing = made;
    return S_OK;
  });
}
