// One adapter per host automation object. Each holds its interface pointer (released with the
// adapter) and nothing else but the add-in's own dispatch pointer where the host asks for it.
// A method that gives an object wraps what it got; a host that gives none yields a null
// reference and the host's status, and the core decides whether that is an error.
#include "host/host_com_adapters_win.h"

#include <wrl/client.h>

#include <memory>

#include "framework/com_owners_win.h"
#include "framework/com_try.h"
#include "framework/failure_trace.h"
#include "host.h"
#include "host/host_com_values_win.h"

using Microsoft::WRL::ComPtr;

namespace {

// Runs a host method that gives an interface pointer and wraps it in Adapter.
template <class Adapter, class Port, class Call, class... Extra>
HRESULT GiveObject(HostRef<Port>* out, Call&& call, Extra... extra) {
  RETURN_HR_IF_NULL(E_POINTER, out);
  out->reset();
  ComPtr<typename Adapter::Interface> object;
  const HRESULT hr = call(object.GetAddressOf());
  if (FAILED(hr) || !object) return hr;
  return ComTry([&] {
    *out = std::make_unique<Adapter>(std::move(object), extra...);
    return hr;
  });
}

// Runs a host method that gives a scalar in its automation type (long, double).
template <class Wire, class Value, class Call>
HRESULT GiveScalar(Value* out, Call&& call) {
  RETURN_HR_IF_NULL(E_POINTER, out);
  Wire value{};
  const HRESULT hr = call(&value);
  if (SUCCEEDED(hr)) *out = static_cast<Value>(value);
  return hr;
}

template <class Call>
HRESULT GiveText(std::u16string* out, Call&& call) {
  RETURN_HR_IF_NULL(E_POINTER, out);
  UniqueBstr text;
  const HRESULT hr = call(text.put());
  RETURN_IF_FAILED(hr);
  return ComTry([&] {
    *out = TextFromBstr(text.get());
    return hr;
  });
}

HRESULT TakeBstr(const std::u16string& text, UniqueBstr* bstr) {
  return BstrFromText(text, bstr->put());
}

template <class Itf>
class AdapterBase {
 public:
  using Interface = Itf;
  explicit AdapterBase(ComPtr<Itf> object) : object_(std::move(object)) {}
  Itf* Get() const { return object_.Get(); }

 protected:
  ComPtr<Itf> object_;
};

class PropertyAdapter : public HostProperty, public AdapterBase<IHostProperty> {
 public:
  using AdapterBase::AdapterBase;
  HRESULT GetPropertyValue(int32_t index, HostValue* value) override {
    RETURN_HR_IF_NULL(E_POINTER, value);
    UniqueVariant read;
    const HRESULT hr = TraceHostCall("IHostProperty.GetPropertyValue", object_->GetPropertyValue(index, read.get()));
    RETURN_IF_FAILED(hr);
    RETURN_IF_FAILED(ValueFromVariant(*read.get(), value));
    return hr;
  }
  HRESULT SetPropertyValue(int32_t index, const HostValue& value) override {
    UniqueVariant written;
    RETURN_IF_FAILED(VariantFromValue(value, written.get()));
    return TraceHostCall("IHostProperty.SetPropertyValue", object_->SetPropertyValue(index, *written.get()),
                         value.kind == HostValue::Kind::Text ? &value.text : nullptr);
  }
};

class PropertyListAdapter : public HostPropertyList, public AdapterBase<IHostPropertyList> {
 public:
  using AdapterBase::AdapterBase;
  HRESULT PickProperty(const HostPropertyKey& key, HostRef<HostProperty>* property) override {
    UniqueVariant wire;
    if (property != nullptr) property->reset();
    RETURN_IF_FAILED(VariantFromKey(key, wire.get()));
    return GiveObject<PropertyAdapter>(property, [&](IHostProperty** p) {
      return TraceHostCall("IHostPropertyList.PickProperty", object_->PickProperty(*wire.get(), p));
    });
  }
};

class LeaderToolAdapter : public HostLeaderTool, public AdapterBase<IHostLeaderTool> {
 public:
  using AdapterBase::AdapterBase;
  HRESULT ReadParameterList(HostRef<HostPropertyList>* list) override {
    return GiveObject<PropertyListAdapter>(list, [&](IHostPropertyList** p) {
      return TraceHostCall("IHostLeaderTool.ReadParameterList", object_->ReadParameterList(p));
    });
  }
};

class ToolListAdapter : public HostToolList, public AdapterBase<IHostToolList> {
 public:
  using AdapterBase::AdapterBase;
  HRESULT PickItem(uint32_t commandId, HostRef<HostLeaderTool>* tool) override {
    return GiveObject<LeaderToolAdapter>(tool, [&](IHostLeaderTool** p) {
      return TraceHostCall("IHostToolList.PickItem", object_->PickItem(ULongVariant(commandId), p));
    });
  }
};

class VertexAdapter : public HostVertex, public AdapterBase<IHostVertex> {
 public:
  using AdapterBase::AdapterBase;
  HRESULT ReadX(double* x) override {
    return GiveScalar<double>(x, [&](double* v) { return TraceHostCall("IHostVertex.ReadX", object_->ReadX(v)); });
  }
  HRESULT ReadY(double* y) override {
    return GiveScalar<double>(y, [&](double* v) { return TraceHostCall("IHostVertex.ReadY", object_->ReadY(v)); });
  }
  HRESULT ReadZ(double* z) override {
    return GiveScalar<double>(z, [&](double* v) { return TraceHostCall("IHostVertex.ReadZ", object_->ReadZ(v)); });
  }
};

class VertexListAdapter : public HostVertexList, public AdapterBase<IHostVertexList> {
 public:
  using AdapterBase::AdapterBase;
  HRESULT CountItems(int32_t* count) override {
    return GiveScalar<long>(
        count, [&](long* v) { return TraceHostCall("IHostVertexList.CountItems", object_->CountItems(v)); });
  }
  HRESULT PickVertex(int32_t index, HostRef<HostVertex>* vertex) override {
    return GiveObject<VertexAdapter>(vertex, [&](IHostVertex** p) {
      return TraceHostCall("IHostVertexList.PickVertex", object_->PickVertex(LongVariant(index), p));
    });
  }
};

class LayerAdapter : public HostLayer, public AdapterBase<IHostLayer> {
 public:
  using AdapterBase::AdapterBase;
  HRESULT ReadLayerName(std::u16string* name) override {
    return GiveText(
        name, [&](BSTR* text) { return TraceHostCall("IHostLayer.ReadLayerName", object_->ReadLayerName(text)); });
  }
};

class BlockAdapter : public HostBlock, public AdapterBase<IHostBlock> {
 public:
  using AdapterBase::AdapterBase;
  HRESULT ReadBlockName(std::u16string* name) override {
    return GiveText(
        name, [&](BSTR* text) { return TraceHostCall("IHostBlock.ReadBlockName", object_->ReadBlockName(text)); });
  }
};

class GraphicAdapter : public HostGraphic, public AdapterBase<IHostGraphic> {
 public:
  using AdapterBase::AdapterBase;
  HRESULT ReadGraphicId(int32_t* id) override {
    return GiveScalar<long>(
        id, [&](long* v) { return TraceHostCall("IHostGraphic.ReadGraphicId", object_->ReadGraphicId(v)); });
  }
  HRESULT ReadTypeName(std::u16string* name) override {
    return GiveText(
        name, [&](BSTR* text) { return TraceHostCall("IHostGraphic.ReadTypeName", object_->ReadTypeName(text)); });
  }
  HRESULT ReadPropertyList(HostRef<HostPropertyList>* list) override {
    return GiveObject<PropertyListAdapter>(list, [&](IHostPropertyList** p) {
      return TraceHostCall("IHostGraphic.ReadPropertyList", object_->ReadPropertyList(p));
    });
  }
  HRESULT ReadChildGraphics(HostRef<HostGraphicList>* children) override;
  HRESULT ReadVertexList(HostRef<HostVertexList>* vertices) override {
    return GiveObject<VertexListAdapter>(vertices, [&](IHostVertexList** p) {
      return TraceHostCall("IHostGraphic.ReadVertexList", object_->ReadVertexList(p));
    });
  }
  HRESULT ReadLayer(HostRef<HostLayer>* layer) override {
    return GiveObject<LayerAdapter>(
        layer, [&](IHostLayer** p) { return TraceHostCall("IHostGraphic.ReadLayer", object_->ReadLayer(p)); });
  }
  HRESULT ReadBlock(HostRef<HostBlock>* block) override {
    return GiveObject<BlockAdapter>(
        block, [&](IHostBlock** p) { return TraceHostCall("IHostGraphic.ReadBlock", object_->ReadBlock(p)); });
  }
  HRESULT UpdateGraphic() override { return TraceHostCall("IHostGraphic.UpdateGraphic", object_->UpdateGraphic()); }
};

// The host's own interface behind a graphic the core holds; null for a graphic of another kind.
IHostGraphic* ComGraphicOf(HostGraphic& graphic) {
  const auto* adapter = dynamic_cast<const GraphicAdapter*>(&graphic);
  return adapter != nullptr ? adapter->Get() : nullptr;
}

class SelectionAdapter : public HostSelection, public AdapterBase<IHostSelection> {
 public:
  using AdapterBase::AdapterBase;
  HRESULT CountItems(int32_t* count) override {
    return GiveScalar<long>(
        count, [&](long* v) { return TraceHostCall("IHostSelection.CountItems", object_->CountItems(v)); });
  }
  HRESULT PickItem(int32_t index, HostRef<HostGraphic>* graphic) override {
    return GiveObject<GraphicAdapter>(graphic, [&](IHostGraphic** p) {
      return TraceHostCall("IHostSelection.PickItem", object_->PickItem(LongVariant(index), p));
    });
  }
  HRESULT ClearSelection() override {
    return TraceHostCall("IHostSelection.ClearSelection", object_->ClearSelection());
  }
};

class ViewAdapter : public HostView, public AdapterBase<IHostView> {
 public:
  using AdapterBase::AdapterBase;
  HRESULT RefreshView() override { return TraceHostCall("IHostView.RefreshView", object_->RefreshView()); }
};

class UndoRecordAdapter : public HostUndoRecord, public AdapterBase<IHostUndoRecord> {
 public:
  using AdapterBase::AdapterBase;
  HRESULT NoteAddedGraphic(HostGraphic& graphic) override {
    IHostGraphic* g = ComGraphicOf(graphic);
    RETURN_HR_IF_NULL(E_INVALIDARG, g);
    return TraceHostCall("IHostUndoRecord.NoteAddedGraphic", object_->NoteAddedGraphic(g));
  }
  HRESULT NoteChangedGraphic(HostGraphic& graphic) override {
    IHostGraphic* g = ComGraphicOf(graphic);
    RETURN_HR_IF_NULL(E_INVALIDARG, g);
    return TraceHostCall("IHostUndoRecord.NoteChangedGraphic", object_->NoteChangedGraphic(g));
  }
  HRESULT CloseUndoRecord() override {
    return TraceHostCall("IHostUndoRecord.CloseUndoRecord", object_->CloseUndoRecord());
  }
};

class DrawingAdapter : public HostDrawing, public AdapterBase<IHostDrawing> {
 public:
  using AdapterBase::AdapterBase;
  HRESULT ReadGraphicList(HostRef<HostGraphicList>* list) override;
  HRESULT ReadSelection(HostRef<HostSelection>* selection) override {
    return GiveObject<SelectionAdapter>(selection, [&](IHostSelection** p) {
      return TraceHostCall("IHostDrawing.ReadSelection", object_->ReadSelection(p));
    });
  }
  HRESULT ReadActiveView(HostRef<HostView>* view) override {
    return GiveObject<ViewAdapter>(
        view, [&](IHostView** p) { return TraceHostCall("IHostDrawing.ReadActiveView", object_->ReadActiveView(p)); });
  }
  HRESULT OpenUndoRecord(const std::u16string& caption, HostRef<HostUndoRecord>* record) override {
    if (record != nullptr) record->reset();
    UniqueBstr wire;
    RETURN_IF_FAILED(TakeBstr(caption, &wire));
    return GiveObject<UndoRecordAdapter>(record, [&](IHostUndoRecord** p) {
      return TraceHostCall("IHostDrawing.OpenUndoRecord", object_->OpenUndoRecord(wire.get(), p), &caption);
    });
  }
};

class GraphicListAdapter : public HostGraphicList, public AdapterBase<IHostGraphicList> {
 public:
  using AdapterBase::AdapterBase;
  HRESULT CountItems(int32_t* count) override {
    return GiveScalar<long>(
        count, [&](long* v) { return TraceHostCall("IHostGraphicList.CountItems", object_->CountItems(v)); });
  }
  HRESULT PickItem(int32_t index, HostRef<HostGraphic>* graphic) override {
    return GiveObject<GraphicAdapter>(graphic, [&](IHostGraphic** p) {
      return TraceHostCall("IHostGraphicList.PickItem", object_->PickItem(LongVariant(index), p));
    });
  }
  HRESULT ReadOwnerDrawing(HostRef<HostDrawing>* drawing) override {
    return GiveObject<DrawingAdapter>(drawing, [&](IHostDrawing** p) {
      return TraceHostCall("IHostGraphicList.ReadOwnerDrawing", object_->ReadOwnerDrawing(p));
    });
  }
  HRESULT AppendGraphic(HostGraphic& graphic) override {
    IHostGraphic* g = ComGraphicOf(graphic);
    RETURN_HR_IF_NULL(E_INVALIDARG, g);
    return TraceHostCall("IHostGraphicList.AppendGraphic",
                         object_->AppendGraphic(g, OmittedVariant(), OmittedVariant()));
  }
  HRESULT ExtractItem(int32_t index, HostRef<HostGraphic>* graphic) override {
    return GiveObject<GraphicAdapter>(graphic, [&](IHostGraphic** p) {
      return TraceHostCall("IHostGraphicList.ExtractItem", object_->ExtractItem(LongVariant(index), p));
    });
  }
  HRESULT FindById(int32_t id, HostRef<HostGraphic>* graphic) override {
    return GiveObject<GraphicAdapter>(graphic, [&](IHostGraphic** p) {
      return TraceHostCall("IHostGraphicList.FindById", object_->FindById(id, p));
    });
  }
};

HRESULT GraphicAdapter::ReadChildGraphics(HostRef<HostGraphicList>* children) {
  return GiveObject<GraphicListAdapter>(children, [&](IHostGraphicList** p) {
    return TraceHostCall("IHostGraphic.ReadChildGraphics", object_->ReadChildGraphics(p));
  });
}

HRESULT DrawingAdapter::ReadGraphicList(HostRef<HostGraphicList>* list) {
  return GiveObject<GraphicListAdapter>(list, [&](IHostGraphicList** p) {
    return TraceHostCall("IHostDrawing.ReadGraphicList", object_->ReadGraphicList(p));
  });
}

// Adapters that speak for the add-in pass its dispatch pointer along; they do not own it.
template <class Itf>
class AddinAdapter : public AdapterBase<Itf> {
 public:
  AddinAdapter(ComPtr<Itf> object, IDispatch* addin) : AdapterBase<Itf>(std::move(object)), addin_(addin) {}

 protected:
  IDispatch* addin_;
};

class AddinServicesAdapter : public HostAddinServices, public AddinAdapter<IHostAddinServices> {
 public:
  using AddinAdapter::AddinAdapter;
  HRESULT ShowPrompt(const std::u16string& text, int32_t flags) override {
    UniqueBstr wire;
    RETURN_IF_FAILED(TakeBstr(text, &wire));
    return TraceHostCall("IHostAddinServices.ShowPrompt", object_->ShowPrompt(addin_, wire.get(), flags), &text);
  }
  HRESULT SetLocalMenu(int32_t count, const HostLocalMenu* menu, int32_t last) override {
    UniqueVariant arrays[kMenuArrayCount];
    if (menu != nullptr) {
      VARIANT made[kMenuArrayCount];
      RETURN_IF_FAILED(VariantsFromMenu(*menu, made));
      for (int i = 0; i < kMenuArrayCount; ++i) *arrays[i].put() = made[i];
    } else {
      for (UniqueVariant& array : arrays) *array.put() = OmittedVariant();
    }
    return TraceHostCall("IHostAddinServices.SetLocalMenu",
                         object_->SetLocalMenu(addin_, count, *arrays[0].get(), *arrays[1].get(), *arrays[2].get(),
                                               *arrays[3].get(), last));
  }
};

class CommandsAdapter : public HostCommands, public AdapterBase<IHostCommands> {
 public:
  using AdapterBase::AdapterBase;
  HRESULT LookUpCommand(const std::u16string& menuPath, int32_t* id) override {
    UniqueBstr wire;
    RETURN_IF_FAILED(TakeBstr(menuPath, &wire));
    return GiveScalar<long>(id, [&](long* v) {
      return TraceHostCall("IHostCommands.LookUpCommand", object_->LookUpCommand(wire.get(), v), &menuPath);
    });
  }
  HRESULT StartCommand(int32_t id) override {
    return TraceHostCall("IHostCommands.StartCommand", object_->StartCommand(id));
  }
};

class AppAdapter : public HostApp, public AddinAdapter<IHostApp> {
 public:
  using AddinAdapter::AddinAdapter;
  HRESULT ReadActiveDrawing(HostRef<HostDrawing>* drawing) override {
    return GiveObject<DrawingAdapter>(drawing, [&](IHostDrawing** p) {
      return TraceHostCall("IHostApp.ReadActiveDrawing", object_->ReadActiveDrawing(p));
    });
  }
  HRESULT ReadToolList(HostRef<HostToolList>* list) override {
    return GiveObject<ToolListAdapter>(
        list, [&](IHostToolList** p) { return TraceHostCall("IHostApp.ReadToolList", object_->ReadToolList(p)); });
  }
  HRESULT ReadVersionText(int32_t what, std::u16string* text) override {
    return GiveText(
        text, [&](BSTR* v) { return TraceHostCall("IHostApp.ReadVersionText", object_->ReadVersionText(what, v)); });
  }
  HRESULT SubscribeEvents(int32_t mask, int32_t* cookie) override {
    return GiveScalar<long>(cookie, [&](long* v) {
      return TraceHostCall("IHostApp.SubscribeEvents", object_->SubscribeEvents(addin_, LongVariant(mask), v));
    });
  }
  HRESULT UnsubscribeEvents(int32_t cookie) override {
    return TraceHostCall("IHostApp.UnsubscribeEvents", object_->UnsubscribeEvents(cookie));
  }
  HRESULT QueryAddinServices(HostRef<HostAddinServices>* services) override {
    return GiveObject<AddinServicesAdapter>(
        services,
        [&](IHostAddinServices** p) {
          return TraceHostCall("IHostApp.QueryInterface(IHostAddinServices)",
                               object_->QueryInterface(IID_IHostAddinServices, reinterpret_cast<void**>(p)));
        },
        addin_);
  }
  HRESULT QueryCommands(HostRef<HostCommands>* commands) override {
    return GiveObject<CommandsAdapter>(commands, [&](IHostCommands** p) {
      return TraceHostCall("IHostApp.QueryInterface(IHostCommands)",
                           object_->QueryInterface(IID_IHostCommands, reinterpret_cast<void**>(p)));
    });
  }
};

class ToolAdapter : public HostTool, public AddinAdapter<IHostTool> {
 public:
  using AddinAdapter::AddinAdapter;
  HRESULT ReadApplication(HostRef<HostApp>* app) override {
    return GiveObject<AppAdapter>(
        app, [&](IHostApp** p) { return TraceHostCall("IHostTool.ReadApplication", object_->ReadApplication(p)); },
        addin_);
  }
  HRESULT ReadToolIndex(int32_t* index) override {
    const HRESULT hr = GiveScalar<long>(
        index, [&](long* v) { return TraceHostCall("IHostTool.ReadToolIndex", object_->ReadToolIndex(v)); });
    if (SUCCEEDED(hr) && FailureTraceOn()) NoteTracedTool(*index);  // the lines of the method in hand name its tool
    return hr;
  }
};

}  // namespace

HRESULT AdaptHostTool(IDispatch* thisTool, IDispatch* addin, HostRef<HostTool>* tool) {
  RETURN_HR_IF_NULL(E_POINTER, tool);
  tool->reset();
  RETURN_HR_IF_NULL(E_POINTER, thisTool);
  HRESULT hr = GiveObject<ToolAdapter>(
      tool,
      [&](IHostTool** p) {
        return TraceHostCall("ThisTool.QueryInterface(IHostTool)",
                             thisTool->QueryInterface(IID_IHostTool, reinterpret_cast<void**>(p)));
      },
      addin);
  // QueryInterface never succeeds without an object; a broken one must not give the core a null tool.
  return SUCCEEDED(hr) && !*tool ? E_NOINTERFACE : hr;
}

HRESULT AdaptHostDrawing(IDispatch* drawing, HostRef<HostDrawing>* out) {
  RETURN_HR_IF_NULL(E_POINTER, out);
  out->reset();
  RETURN_HR_IF_NULL(E_POINTER, drawing);
  HRESULT hr = GiveObject<DrawingAdapter>(out, [&](IHostDrawing** p) {
    return TraceHostCall("WhichDrawing.QueryInterface(IHostDrawing)",
                         drawing->QueryInterface(IID_IHostDrawing, reinterpret_cast<void**>(p)));
  });
  return SUCCEEDED(hr) && !*out ? E_NOINTERFACE : hr;
}
