// The plumbing every COM object of the simulated host shares: reference counting, the interface
// set, IDispatch served from the host type library (embedded in the program as TYPELIB 2), the
// live-object count kept in the SimHost, and the methods of each interface, made from the list of
// the host's methods: each converts its automation arguments by their kinds, forwards to the
// in-process handle that the object wraps and converts the result back. So the recording, faults
// and model rules live in one place only.
#pragma once

#include <windows.h>

#include <oaidl.h>
#include <wrl/client.h>

#include <new>
#include <string>
#include <tuple>
#include <utility>

#include "framework/com_owners_win.h"
#include "framework/com_try.h"
#include "host/host_com_contract_win.h"
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

// A new COM object over the handle, holding it: one per interface the handles give out, or with
// `owner` a tear-off of the owner, such as the application's services and commands.
template <class Port>
HRESULT WrapCom(SimHost& host, HostRef<Port> handle, HostComOf<Port>** object, IUnknown* owner = nullptr);

// How an argument of each kind comes from the automation call to the handle. Prepare looks at an
// argument the handle never sees and clears a result before anything can fail; Pass converts the
// argument, hands the port's value to the rest of the call (`next`) and converts a result back.
struct SimComArgBase {
  template <class... Wire>
  static HRESULT Prepare(Wire...) {
    return S_OK;
  }
};
template <class Kind>
struct SimComArg;

template <>
struct SimComArg<InLong> : SimComArgBase {
  template <class Next>
  static HRESULT Pass(SimHost&, long value, Next&& next) {
    return next(static_cast<int32_t>(value));
  }
};

template <>
struct SimComArg<InVariantLong> : SimComArgBase {
  template <class Next>
  static HRESULT Pass(SimHost&, VARIANT wire, Next&& next) {
    int32_t value = 0;
    RETURN_IF_FAILED(LongFromVariant(wire, &value));
    return next(value);
  }
};

template <>
struct SimComArg<InVariantULong> : SimComArgBase {
  template <class Next>
  static HRESULT Pass(SimHost&, VARIANT wire, Next&& next) {
    uint32_t value = 0;
    RETURN_IF_FAILED(ULongFromVariant(wire, &value));
    return next(value);
  }
};

template <>
struct SimComArg<InText> : SimComArgBase {
  template <class Next>
  static HRESULT Pass(SimHost&, BSTR text, Next&& next) {
    return next(TextFromBstr(text));
  }
};

template <>
struct SimComArg<InKey> : SimComArgBase {
  template <class Next>
  static HRESULT Pass(SimHost&, VARIANT wire, Next&& next) {
    HostPropertyKey key;
    RETURN_IF_FAILED(KeyFromVariant(wire, &key));
    return next(key);
  }
};

template <>
struct SimComArg<InValue> : SimComArgBase {
  template <class Next>
  static HRESULT Pass(SimHost&, VARIANT wire, Next&& next) {
    HostValue value;
    RETURN_IF_FAILED(ValueFromVariant(wire, &value));
    return next(value);
  }
};

template <>
struct SimComArg<InGraphic> : SimComArgBase {
  template <class Next>
  static HRESULT Pass(SimHost&, IHostGraphic* g, Next&& next) {
    RETURN_HR_IF_NULL(E_POINTER, g);
    HostGraphic* graphic = SimGraphicHandleOf(g);
    RETURN_HR_IF_NULL(E_INVALIDARG, graphic);
    return next(*graphic);
  }
};

template <>
struct SimComArg<InMenu> : SimComArgBase {
  template <class Next>
  static HRESULT Pass(SimHost&, VARIANT captions, VARIANT prompts, VARIANT flags1, VARIANT flags2, Next&& next) {
    const VARIANT arrays[kMenuArrayCount] = {captions, prompts, flags1, flags2};
    bool hasMenu = false;
    HostLocalMenu menu;
    RETURN_IF_FAILED(MenuFromVariants(arrays, &hasMenu, &menu));
    return next(hasMenu ? &menu : nullptr);
  }
};

// `addin` names the caller to a real host; this one serves one add-in and only checks it is there.
template <>
struct SimComArg<InAddin> {
  static HRESULT Prepare(IDispatch* addin) { return addin != nullptr ? S_OK : E_POINTER; }
  template <class Next>
  static HRESULT Pass(SimHost&, IDispatch*, Next&& next) {
    return next();
  }
};

// This host knows no use for the optional arguments; it takes them only omitted.
template <>
struct SimComArg<InOmitted> {
  static HRESULT Prepare(const VARIANT& wire) { return IsOmitted(wire) ? S_OK : E_INVALIDARG; }
  template <class Next>
  static HRESULT Pass(SimHost&, VARIANT, Next&& next) {
    return next();
  }
};

// A scalar the handle gives in its own type (int32_t, double) for an automation out-parameter.
template <class Value>
struct SimComArg<OutScalar<Value>> : SimComArgBase {
  template <class Next>
  static HRESULT Pass(SimHost&, HostWireScalar<Value>* out, Next&& next) {
    RETURN_HR_IF_NULL(E_POINTER, out);
    Value value{};
    const HRESULT hr = next(&value);
    if (SUCCEEDED(hr)) *out = static_cast<HostWireScalar<Value>>(value);
    return hr;
  }
};

template <>
struct SimComArg<OutText> {
  static HRESULT Prepare(BSTR* out) {
    if (out != nullptr) *out = nullptr;
    return S_OK;
  }
  template <class Next>
  static HRESULT Pass(SimHost&, BSTR* out, Next&& next) {
    RETURN_HR_IF_NULL(E_POINTER, out);
    std::u16string text;
    const HRESULT hr = next(&text);
    RETURN_IF_FAILED(hr);
    RETURN_IF_FAILED(BstrFromText(text, out));
    return hr;
  }
};

template <>
struct SimComArg<OutValue> {
  static HRESULT Prepare(VARIANT* out) {
    if (out != nullptr) VariantInit(out);
    return S_OK;
  }
  template <class Next>
  static HRESULT Pass(SimHost&, VARIANT* out, Next&& next) {
    RETURN_HR_IF_NULL(E_POINTER, out);
    HostValue read;
    const HRESULT hr = next(&read);
    RETURN_IF_FAILED(hr);
    RETURN_IF_FAILED(VariantFromValue(read, out));
    return hr;
  }
};

// No object from the handle is a null pointer with the handle's status.
template <class Object>
struct SimComArg<OutObject<Object>> {
  static HRESULT Prepare(HostComOf<Object>** out) {
    if (out != nullptr) *out = nullptr;
    return S_OK;
  }
  template <class Next>
  static HRESULT Pass(SimHost& host, HostComOf<Object>** out, Next&& next) {
    RETURN_HR_IF_NULL(E_POINTER, out);
    HostRef<Object> handle;
    const HRESULT hr = next(&handle);
    if (FAILED(hr) || !handle) return hr;
    RETURN_IF_FAILED(WrapCom(host, std::move(handle), out));
    return hr;
  }
};

// Calls `f` with the `Count` automation arguments from the `Offset`-th on.
template <size_t Offset, class Wires, class F, size_t... I>
HRESULT WithWireAt(const Wires& wires, F&& f, std::index_sequence<I...>) {
  return f(std::get<Offset + I>(wires)...);
}
template <size_t Offset, size_t Count, class Wires, class F>
HRESULT WithWire(const Wires& wires, F&& f) {
  return WithWireAt<Offset>(wires, f, std::make_index_sequence<Count>{});
}

// The arguments of the kinds from the `Wire`-th automation argument on: first each is prepared,
// then each passes its value on, and the handle is called with them all.
template <size_t Wire, class... Kinds>
struct SimComArgs {
  template <class Wires>
  static HRESULT Prepare(const Wires&) {
    return S_OK;
  }
  template <class Handle, class Wires, class... Port>
  static HRESULT Pass(SimHost&, Handle& handle, const Wires&, Port&&... port) {
    return handle(std::forward<Port>(port)...);
  }
};
template <size_t Wire, class Kind, class... Kinds>
struct SimComArgs<Wire, Kind, Kinds...> {
  using Rest = SimComArgs<Wire + kWireCount<Kind>, Kinds...>;
  template <class Wires>
  static HRESULT Prepare(const Wires& wires) {
    const HRESULT hr =
        WithWire<Wire, kWireCount<Kind>>(wires, [](const auto&... w) { return SimComArg<Kind>::Prepare(w...); });
    return FAILED(hr) ? hr : Rest::Prepare(wires);
  }
  template <class Handle, class Wires, class... Port>
  static HRESULT Pass(SimHost& host, Handle& handle, const Wires& wires, Port&&... port) {
    const auto next = [&](auto&&... more) {
      return Rest::Pass(host, handle, wires, std::forward<Port>(port)..., std::forward<decltype(more)>(more)...);
    };
    return WithWire<Wire, kWireCount<Kind>>(wires,
                                            [&](const auto&... w) { return SimComArg<Kind>::Pass(host, w..., next); });
  }
};
template <class KindList>
struct SimComKinds;
template <class... Kinds>
struct SimComKinds<HostKinds<Kinds...>> {
  using Steps = SimComArgs<0, Kinds...>;
};

template <class Itf>
class SimComObject : public Itf {
 public:
  using Port = HostPortOf<Itf>;

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

  // Serves the interface's method `Method` of the list by the handle's.
  template <auto Method, class... Wire>
  HRESULT Serve(HostCall<Method>, Wire... wire) {
    using Steps = typename SimComKinds<typename HostCall<Method>::KindList>::Steps;
    const std::tuple<Wire...> wires(wire...);
    return ComTry([&] {
      RETURN_IF_FAILED(Steps::Prepare(wires));
      const auto handle = [this](auto&&... port) {
        return (handle_.get()->*Method)(std::forward<decltype(port)>(port)...);
      };
      return Steps::Pass(host_, handle, wires);
    });
  }

  // Serves the tear-off of the list's `Method` (QueryAddinServices) as QueryInterface does.
  template <auto Method>
  HRESULT ServeQuery(HostCall<Method>, void** ppv) {
    using Target = typename HostCall<Method>::Target;
    HostRef<Target> handle;
    RETURN_IF_FAILED(ComTry([&] { return (handle_.get()->*Method)(&handle); }));
    return WrapCom(host_, std::move(handle), reinterpret_cast<HostComOf<Target>**>(ppv),
                   static_cast<IUnknown*>(static_cast<Itf*>(this)));
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

// One class template per method of the list, deriving from Base and overriding that method of
// the COM interface alone, or for a tear-off QueryMore.
namespace sim_com_served {
#define TL_SIM_COM_METHOD(Port, Method, ...)                                                            \
  template <class Base, class Wire = HostWireParams<&Port::Method>>                                     \
  class Port##_##Method;                                                                                \
  template <class Base, class... W>                                                                     \
  class Port##_##Method<Base, HostWireList<W...>> : public Base {                                       \
   public:                                                                                              \
    using Base::Base;                                                                                   \
    STDMETHODIMP Method(W... wire) override { return this->Serve(HostCall<&Port::Method>{}, wire...); } \
  };
#define TL_SIM_COM_QUERY(Port, Method, Target)                                       \
  template <class Base>                                                              \
  class Port##_##Method : public Base {                                              \
   public:                                                                           \
    using Base::Base;                                                                \
                                                                                     \
   protected:                                                                        \
    HRESULT QueryMore(REFIID riid, void** ppv) override {                            \
      if (!IsEqualIID(riid, __uuidof(I##Target))) return Base::QueryMore(riid, ppv); \
      return this->ServeQuery(HostCall<&Port::Method>{}, ppv);                       \
    }                                                                                \
  };
#define TL_SIM_COM_METHODS(Port, Methods) Methods(TL_SIM_COM_METHOD, TL_SIM_COM_QUERY)
TL_HOST_INTERFACES(TL_SIM_COM_METHODS)
#undef TL_SIM_COM_METHODS
#undef TL_SIM_COM_QUERY
#undef TL_SIM_COM_METHOD
}  // namespace sim_com_served

// The COM object of the port's interface with all its methods served by the handle.
template <class Port>
struct SimComServedOf;
#define TL_SIM_COM_OPEN(Port, Method, ...) sim_com_served::Port##_##Method <
#define TL_SIM_COM_CLOSE(Port, Method, ...) >
#define TL_SIM_COM_STACK(Port, Methods)                                                                        \
  template <>                                                                                                  \
  struct SimComServedOf<Port> {                                                                                \
    using Object = SimComObject<I##Port>;                                                                      \
    using Type = Methods(TL_SIM_COM_OPEN, TL_SIM_COM_OPEN) Object Methods(TL_SIM_COM_CLOSE, TL_SIM_COM_CLOSE); \
  };
TL_HOST_INTERFACES(TL_SIM_COM_STACK)
#undef TL_SIM_COM_STACK
#undef TL_SIM_COM_CLOSE
#undef TL_SIM_COM_OPEN
template <class Itf>
using SimComServed = typename SimComServedOf<HostPortOf<Itf>>::Type;
