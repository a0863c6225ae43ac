// A graphic of the simulated host over COM and what hangs off it: its properties (also the
// leader tool's parameters), its vertices, its layer and block.
#include "simhost/sim_com_object_win.h"

namespace {

class SimComProperty final : public SimComObject<IHostProperty> {
 public:
  using SimComObject::SimComObject;
  STDMETHODIMP GetPropertyValue(long index, VARIANT* value) override {
    RETURN_HR_IF_NULL(E_POINTER, value);
    VariantInit(value);
    return Run([&] {
      HostValue read;
      const HRESULT hr = handle_->GetPropertyValue(index, &read);
      RETURN_IF_FAILED(hr);
      RETURN_IF_FAILED(VariantFromValue(read, value));
      return hr;
    });
  }
  STDMETHODIMP SetPropertyValue(long index, VARIANT value) override {
    return Run([&] {
      HostValue written;
      RETURN_IF_FAILED(ValueFromVariant(value, &written));
      return handle_->SetPropertyValue(index, written);
    });
  }
};

class SimComPropertyList final : public SimComObject<IHostPropertyList> {
 public:
  using SimComObject::SimComObject;
  STDMETHODIMP PickProperty(VARIANT nameOrIndex, IHostProperty** property) override {
    if (property != nullptr) *property = nullptr;
    HostPropertyKey key;
    RETURN_IF_FAILED(KeyFromVariant(nameOrIndex, &key));
    return Give(property, [&](HostRef<HostProperty>* h) { return handle_->PickProperty(key, h); });
  }
};

class SimComVertex final : public SimComObject<IHostVertex> {
 public:
  using SimComObject::SimComObject;
  STDMETHODIMP ReadX(double* x) override {
    return GiveScalar<double>(x, [&](double* v) { return handle_->ReadX(v); });
  }
  STDMETHODIMP ReadY(double* y) override {
    return GiveScalar<double>(y, [&](double* v) { return handle_->ReadY(v); });
  }
  STDMETHODIMP ReadZ(double* z) override {
    return GiveScalar<double>(z, [&](double* v) { return handle_->ReadZ(v); });
  }
};

class SimComVertexList final : public SimComObject<IHostVertexList> {
 public:
  using SimComObject::SimComObject;
  STDMETHODIMP CountItems(long* count) override {
    return GiveScalar<int32_t>(count, [&](int32_t* v) { return handle_->CountItems(v); });
  }
  STDMETHODIMP PickVertex(VARIANT index, IHostVertex** vertex) override {
    if (vertex != nullptr) *vertex = nullptr;
    int32_t at = 0;
    RETURN_IF_FAILED(LongFromVariant(index, &at));
    return Give(vertex, [&](HostRef<HostVertex>* h) { return handle_->PickVertex(at, h); });
  }
};

class SimComLayer final : public SimComObject<IHostLayer> {
 public:
  using SimComObject::SimComObject;
  STDMETHODIMP ReadLayerName(BSTR* name) override {
    return GiveText(name, [&](std::u16string* v) { return handle_->ReadLayerName(v); });
  }
};

class SimComBlock final : public SimComObject<IHostBlock> {
 public:
  using SimComObject::SimComObject;
  STDMETHODIMP ReadBlockName(BSTR* name) override {
    return GiveText(name, [&](std::u16string* v) { return handle_->ReadBlockName(v); });
  }
};

// Also answers for ISimGraphicHandle, so that lists and undo records of this host can take it.
class SimComGraphic final : public SimComObject<IHostGraphic>, public ISimGraphicHandle {
 public:
  using SimComObject::SimComObject;
  STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override { return SimComObject::QueryInterface(riid, ppv); }
  STDMETHODIMP_(ULONG) AddRef() override { return SimComObject::AddRef(); }
  STDMETHODIMP_(ULONG) Release() override { return SimComObject::Release(); }
  HostGraphic* STDMETHODCALLTYPE Handle() override { return handle_.get(); }

  STDMETHODIMP ReadGraphicId(long* id) override {
    return GiveScalar<int32_t>(id, [&](int32_t* v) { return handle_->ReadGraphicId(v); });
  }
  STDMETHODIMP ReadTypeName(BSTR* name) override {
    return GiveText(name, [&](std::u16string* v) { return handle_->ReadTypeName(v); });
  }
  STDMETHODIMP ReadPropertyList(IHostPropertyList** list) override {
    return Give(list, [&](HostRef<HostPropertyList>* h) { return handle_->ReadPropertyList(h); });
  }
  STDMETHODIMP ReadChildGraphics(IHostGraphicList** children) override {
    return Give(children, [&](HostRef<HostGraphicList>* h) { return handle_->ReadChildGraphics(h); });
  }
  STDMETHODIMP ReadVertexList(IHostVertexList** vertices) override {
    return Give(vertices, [&](HostRef<HostVertexList>* h) { return handle_->ReadVertexList(h); });
  }
  STDMETHODIMP ReadLayer(IHostLayer** layer) override {
    return Give(layer, [&](HostRef<HostLayer>* h) { return handle_->ReadLayer(h); });
  }
  STDMETHODIMP ReadBlock(IHostBlock** block) override {
    return Give(block, [&](HostRef<HostBlock>* h) { return handle_->ReadBlock(h); });
  }
  STDMETHODIMP UpdateGraphic() override {
    return Run([&] { return handle_->UpdateGraphic(); });
  }

 protected:
  HRESULT QueryMore(REFIID riid, void** ppv) override {
    RETURN_HR_IF(E_NOINTERFACE, !IsEqualIID(riid, kIidSimGraphicHandle));
    *ppv = static_cast<ISimGraphicHandle*>(this);
    AddRef();
    return S_OK;
  }
};

}  // namespace

HRESULT WrapCom(SimHost& host, HostRef<HostGraphic> handle, IHostGraphic** object) {
  return CreateSimCom<SimComGraphic>(host, std::move(handle), object);
}

HRESULT WrapCom(SimHost& host, HostRef<HostPropertyList> handle, IHostPropertyList** object) {
  return CreateSimCom<SimComPropertyList>(host, std::move(handle), object);
}

HRESULT WrapCom(SimHost& host, HostRef<HostProperty> handle, IHostProperty** object) {
  return CreateSimCom<SimComProperty>(host, std::move(handle), object);
}

HRESULT WrapCom(SimHost& host, HostRef<HostVertexList> handle, IHostVertexList** object) {
  return CreateSimCom<SimComVertexList>(host, std::move(handle), object);
}

HRESULT WrapCom(SimHost& host, HostRef<HostVertex> handle, IHostVertex** object) {
  return CreateSimCom<SimComVertex>(host, std::move(handle), object);
}

HRESULT WrapCom(SimHost& host, HostRef<HostLayer> handle, IHostLayer** object) {
  return CreateSimCom<SimComLayer>(host, std::move(handle), object);
}

HRESULT WrapCom(SimHost& host, HostRef<HostBlock> handle, IHostBlock** object) {
  return CreateSimCom<SimComBlock>(host, std::move(handle), object);
}
