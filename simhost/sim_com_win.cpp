// The simulated host's COM objects: each interface's object made from the list of the host's
// methods, the two that do more than forward (the application subscribes the add-in's own
// dispatch interface; a graphic shows its handle to the lists and undo records of this host),
// and the objects a host program hands the add-in.
#include "simhost/sim_com_win.h"

#include <memory>

#include "simhost/sim_com_events_win.h"
#include "simhost/sim_com_object_win.h"

namespace {

class SimComApp final : public SimComServed<IHostApp> {
 public:
  using Served = SimComServed<IHostApp>;
  using Served::Served;
  // Over COM the subscriber is the add-in's dispatch interface, not the host's default target.
  STDMETHODIMP SubscribeEvents(IDispatch* addin, VARIANT mask, long* cookie) override {
    RETURN_HR_IF(E_POINTER, addin == nullptr || cookie == nullptr);
    int32_t maskValue = 0;
    RETURN_IF_FAILED(LongFromVariant(mask, &maskValue));
    return ComTry([&] {
      int32_t value = 0;
      const HRESULT hr = host_.SubscribeWith(std::make_shared<ComEventTarget>(addin), maskValue, &value);
      if (SUCCEEDED(hr)) *cookie = value;
      return hr;
    });
  }
};

// Also answers for ISimGraphicHandle, so that lists and undo records of this host can take it.
class SimComGraphic final : public SimComServed<IHostGraphic>, public ISimGraphicHandle {
 public:
  using Served = SimComServed<IHostGraphic>;
  using Served::Served;
  STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override { return Served::QueryInterface(riid, ppv); }
  STDMETHODIMP_(ULONG) AddRef() override { return Served::AddRef(); }
  STDMETHODIMP_(ULONG) Release() override { return Served::Release(); }
  HostGraphic* STDMETHODCALLTYPE Handle() override { return handle_.get(); }

 protected:
  HRESULT QueryMore(REFIID riid, void** ppv) override {
    RETURN_HR_IF(E_NOINTERFACE, !IsEqualIID(riid, kIidSimGraphicHandle));
    *ppv = static_cast<ISimGraphicHandle*>(this);
    AddRef();
    return S_OK;
  }
};

template <class Itf>
struct SimComClassOf {
  using Type = SimComServed<Itf>;
};
template <>
struct SimComClassOf<IHostApp> {
  using Type = SimComApp;
};
template <>
struct SimComClassOf<IHostGraphic> {
  using Type = SimComGraphic;
};

}  // namespace

template <class Port>
HRESULT WrapCom(SimHost& host, HostRef<Port> handle, HostComOf<Port>** object, IUnknown* owner) {
  RETURN_HR_IF_NULL(E_POINTER, object);
  *object = nullptr;
  RETURN_HR_IF_NULL(E_POINTER, handle);
  auto* made = new (std::nothrow) typename SimComClassOf<HostComOf<Port>>::Type(host, std::move(handle), owner);
  RETURN_HR_IF_NULL(E_OUTOFMEMORY, made);
  *object = made;  // the creation reference
  return S_OK;
}
#define TL_SIM_WRAP_COM(Port, Methods) template HRESULT WrapCom(SimHost&, HostRef<Port>, HostComOf<Port>**, IUnknown*);
TL_HOST_INTERFACES(TL_SIM_WRAP_COM)
#undef TL_SIM_WRAP_COM

HRESULT MakeComTool(SimHost& host, int32_t toolIndex, IDispatch** tool) {
  RETURN_HR_IF_NULL(E_POINTER, tool);
  *tool = nullptr;
  return ComTry([&] {
    IHostTool* made = nullptr;
    RETURN_IF_FAILED(WrapCom(host, host.Tool(toolIndex), &made));
    *tool = made;
    return S_OK;
  });
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
