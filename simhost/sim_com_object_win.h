// The plumbing every COM object of the simulated host shares: reference counting, the interface
// set, IDispatch served from the host type library (embedded in the program as TYPELIB 2), the
// live-object count kept in the SimHost, and the conversions between the handles' plain results
// and automation out-parameters. Each object wraps one in-process handle and forwards to it, so
// the recording, faults and model rules live in one place only.
#pragma once

#include <windows.h>

#include <oaidl.h>
#include <wrl/client.h>

#include <new>
#include <string>
#include <utility>

#include "framework/com_owners_win.h"
#include "framework/com_try.h"
#include "host.h"
#include "host/host_com_values_win.h"
#include "host/host_port.h"
#include "simhost/sim_host.h"

// The private face of a simulated graphic: AppendGraphic and the undo record's notes need the
// handle behind the IHostGraphic they are given. Only objects of this host answer for it.
struct ISimGraphicHandle : public IUnknown {
  virtual HostGraphic* STDMETHODCALLTYPE Handle() = 0;
};
// {5B7E2C0A-3D64-4E8B-9C1F-7A2D44E1B903}
constexpr IID kIidSimGraphicHandle = {0x5b7e2c0a, 0x3d64, 0x4e8b, {0x9c, 0x1f, 0x7a, 0x2d, 0x44, 0xe1, 0xb9, 0x03}};

// The handle behind a graphic of this host; null for any other object.
HostGraphic* SimGraphicHandleOf(IHostGraphic* graphic);

// The vtable half of the dual interface `iid` in the host type library of this program.
HRESULT LoadHostTypeInfo(REFIID iid, ITypeInfo** typeInfo);

// Which handle class each interface wraps, and the other way round.
template <class Itf>
struct SimPortOf;
template <class Port>
struct SimComInterfaceOf;
#define SIM_COM_PORT(Itf, Port)    \
  template <>                      \
  struct SimPortOf<Itf> {          \
    using Type = Port;             \
  };                               \
  template <>                      \
  struct SimComInterfaceOf<Port> { \
    using Type = Itf;              \
  }
SIM_COM_PORT(IHostTool, HostTool);
SIM_COM_PORT(IHostApp, HostApp);
SIM_COM_PORT(IHostAddinServices, HostAddinServices);
SIM_COM_PORT(IHostCommands, HostCommands);
SIM_COM_PORT(IHostToolList, HostToolList);
SIM_COM_PORT(IHostLeaderTool, HostLeaderTool);
SIM_COM_PORT(IHostDrawing, HostDrawing);
SIM_COM_PORT(IHostGraphicList, HostGraphicList);
SIM_COM_PORT(IHostSelection, HostSelection);
SIM_COM_PORT(IHostView, HostView);
SIM_COM_PORT(IHostGraphic, HostGraphic);
SIM_COM_PORT(IHostPropertyList, HostPropertyList);
SIM_COM_PORT(IHostProperty, HostProperty);
SIM_COM_PORT(IHostVertexList, HostVertexList);
SIM_COM_PORT(IHostVertex, HostVertex);
SIM_COM_PORT(IHostLayer, HostLayer);
SIM_COM_PORT(IHostBlock, HostBlock);
SIM_COM_PORT(IHostUndoRecord, HostUndoRecord);
#undef SIM_COM_PORT

// A new COM object over the handle, holding it; one per interface the handles give out. The
// application's services and commands are tear-offs of the application object instead.
HRESULT WrapCom(SimHost& host, HostRef<HostTool> handle, IHostTool** object);
HRESULT WrapCom(SimHost& host, HostRef<HostApp> handle, IHostApp** object);
HRESULT WrapCom(SimHost& host, HostRef<HostToolList> handle, IHostToolList** object);
HRESULT WrapCom(SimHost& host, HostRef<HostLeaderTool> handle, IHostLeaderTool** object);
HRESULT WrapCom(SimHost& host, HostRef<HostDrawing> handle, IHostDrawing** object);
HRESULT WrapCom(SimHost& host, HostRef<HostGraphicList> handle, IHostGraphicList** object);
HRESULT WrapCom(SimHost& host, HostRef<HostSelection> handle, IHostSelection** object);
HRESULT WrapCom(SimHost& host, HostRef<HostView> handle, IHostView** object);
HRESULT WrapCom(SimHost& host, HostRef<HostGraphic> handle, IHostGraphic** object);
HRESULT WrapCom(SimHost& host, HostRef<HostPropertyList> handle, IHostPropertyList** object);
HRESULT WrapCom(SimHost& host, HostRef<HostProperty> handle, IHostProperty** object);
HRESULT WrapCom(SimHost& host, HostRef<HostVertexList> handle, IHostVertexList** object);
HRESULT WrapCom(SimHost& host, HostRef<HostVertex> handle, IHostVertex** object);
HRESULT WrapCom(SimHost& host, HostRef<HostLayer> handle, IHostLayer** object);
HRESULT WrapCom(SimHost& host, HostRef<HostBlock> handle, IHostBlock** object);
HRESULT WrapCom(SimHost& host, HostRef<HostUndoRecord> handle, IHostUndoRecord** object);

template <class Itf>
class SimComObject : public Itf {
 public:
  using Interface = Itf;
  using Port = typename SimPortOf<Itf>::Type;

  // `owner` makes a tear-off: an interface the owner answers for, which sends every other
  // QueryInterface back to the owner so that the object keeps one identity.
  SimComObject(SimHost& host, HostRef<Port> handle, IUnknown* owner = nullptr)
      : host_(host), handle_(std::move(handle)), owner_(owner) {
    host_.AddComObject(+1);
  }
  virtual ~SimComObject() { host_.AddComObject(-1); }
  SimComObject(const SimComObject&) = delete;
  SimComObject& operator=(const SimComObject&) = delete;

  STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override {
    RETURN_HR_IF_NULL(E_POINTER, ppv);
    *ppv = nullptr;
    const bool ownIdentity = owner_ == nullptr && (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IDispatch));
    if (ownIdentity || IsEqualIID(riid, __uuidof(Itf))) {
      *ppv = static_cast<Itf*>(this);
      AddRef();
      return S_OK;
    }
    if (owner_ != nullptr) return owner_->QueryInterface(riid, ppv);
    return QueryMore(riid, ppv);
  }
  STDMETHODIMP_(ULONG) AddRef() override { return ++refs_; }
  STDMETHODIMP_(ULONG) Release() override {
    const ULONG refs = --refs_;
    if (refs == 0) delete this;
    return refs;
  }

  STDMETHODIMP GetTypeInfoCount(UINT* count) override {
    RETURN_HR_IF_NULL(E_POINTER, count);
    *count = 1;
    return S_OK;
  }
  STDMETHODIMP GetTypeInfo(UINT index, LCID, ITypeInfo** typeInfo) override {
    RETURN_HR_IF_NULL(E_POINTER, typeInfo);
    *typeInfo = nullptr;
    RETURN_HR_IF(DISP_E_BADINDEX, index != 0);
    RETURN_IF_FAILED(EnsureTypeInfo());
    *typeInfo = typeInfo_.Get();
    typeInfo_->AddRef();
    return S_OK;
  }
  STDMETHODIMP GetIDsOfNames(REFIID riid, LPOLESTR* names, UINT count, LCID, DISPID* ids) override {
    RETURN_HR_IF(DISP_E_UNKNOWNINTERFACE, !IsEqualIID(riid, IID_NULL));
    RETURN_IF_FAILED(EnsureTypeInfo());
    return DispGetIDsOfNames(typeInfo_.Get(), names, count, ids);
  }
  STDMETHODIMP Invoke(DISPID id, REFIID riid, LCID, WORD flags, DISPPARAMS* params, VARIANT* result,
                      EXCEPINFO* excepInfo, UINT* argError) override {
    RETURN_HR_IF(DISP_E_UNKNOWNINTERFACE, !IsEqualIID(riid, IID_NULL));
    RETURN_HR_IF(E_INVALIDARG, params == nullptr);
    RETURN_IF_FAILED(EnsureTypeInfo());
    return ComTry([&] {
      return DispInvoke(static_cast<Itf*>(this), typeInfo_.Get(), id, flags, params, result, excepInfo, argError);
    });
  }

 protected:
  // Interfaces beyond Itf, IDispatch and IUnknown.
  virtual HRESULT QueryMore(REFIID, void**) { return E_NOINTERFACE; }

  // Runs a handle operation that gives an object and wraps the object for COM. No object from
  // the handle is a null pointer with the handle's status.
  template <class OutItf, class Call>
  HRESULT Give(OutItf** out, Call&& call) {
    RETURN_HR_IF_NULL(E_POINTER, out);
    *out = nullptr;
    return ComTry([&] {
      HostRef<typename SimPortOf<OutItf>::Type> handle;
      const HRESULT hr = call(&handle);
      if (FAILED(hr) || !handle) return hr;
      RETURN_IF_FAILED(WrapCom(host_, std::move(handle), out));
      return hr;
    });
  }

  template <class Call>
  HRESULT GiveText(BSTR* out, Call&& call) {
    RETURN_HR_IF_NULL(E_POINTER, out);
    *out = nullptr;
    return ComTry([&] {
      std::u16string text;
      const HRESULT hr = call(&text);
      RETURN_IF_FAILED(hr);
      RETURN_IF_FAILED(BstrFromText(text, out));
      return hr;
    });
  }

  // A scalar the handle gives in its own type (int32_t, double) for an automation out-parameter.
  template <class Value, class Wire, class Call>
  HRESULT GiveScalar(Wire* out, Call&& call) {
    RETURN_HR_IF_NULL(E_POINTER, out);
    return ComTry([&] {
      Value value{};
      const HRESULT hr = call(&value);
      if (SUCCEEDED(hr)) *out = static_cast<Wire>(value);
      return hr;
    });
  }

  template <class Call>
  HRESULT Run(Call&& call) {
    return ComTry([&] { return call(); });
  }

  SimHost& host_;
  HostRef<Port> handle_;

 private:
  HRESULT EnsureTypeInfo() {
    if (typeInfo_ != nullptr) return S_OK;
    return LoadHostTypeInfo(__uuidof(Itf), typeInfo_.ReleaseAndGetAddressOf());
  }

  ULONG refs_ = 1;  // the creation reference
  Microsoft::WRL::ComPtr<IUnknown> owner_;
  Microsoft::WRL::ComPtr<ITypeInfo> typeInfo_;
};

// Makes a ComClass object over the handle; *object takes the creation reference.
template <class ComClass>
HRESULT CreateSimCom(SimHost& host, HostRef<typename ComClass::Port> handle, typename ComClass::Interface** object,
                     IUnknown* owner = nullptr) {
  RETURN_HR_IF_NULL(E_POINTER, object);
  *object = nullptr;
  RETURN_HR_IF_NULL(E_POINTER, handle);
  ComClass* made = new (std::nothrow) ComClass(host, std::move(handle), owner);
  RETURN_HR_IF_NULL(E_OUTOFMEMORY, made);
  *object = made;
  return S_OK;
}
