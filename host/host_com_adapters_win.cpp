// One adapter per host interface, made from the list of the host's methods: each holds its
// interface pointer (released with the adapter) and the add-in's own dispatch pointer (not
// owned), which it passes where a call asks for the add-in and to the adapters it gives out.
// Every method converts its arguments by their kinds, calls the COM method, traced under the
// call's name, and converts the result. A method that gives an object wraps what it got; a host
// that gives none yields a null reference and the host's status, and the core decides whether
// that is an error.
#include "host/host_com_adapters_win.h"

#include <wrl/client.h>

#include <memory>
#include <tuple>
#include <type_traits>

#include "framework/com_owners_win.h"
#include "framework/com_try.h"
#include "framework/failure_trace.h"
#include "host/host_com_contract_win.h"
#include "host/host_com_values_win.h"
#include "host/host_served.h"

using Microsoft::WRL::ComPtr;

namespace {

// One call on its way to the host.
struct AdaptedCall {
  const char* name;
  IDispatch* addin;
  const std::u16string* traced = nullptr;  // what the call carried, for the trace of its failure
};

template <class Itf>
HostRef<HostPortOf<Itf>> MakeAdapter(ComPtr<Itf> object, IDispatch* addin);
IHostGraphic* ComGraphicOf(HostGraphic& graphic);

// How an argument of each kind goes to the host: Pass converts the core's value, hands its
// automation form to the rest of the call (`next`) and converts the result that comes back.
template <class Kind>
struct Adapted;

template <>
struct Adapted<InLong> {
  template <class Next>
  static HRESULT Pass(AdaptedCall&, int32_t value, Next&& next) {
    return next(static_cast<long>(value));
  }
};

template <>
struct Adapted<InVariantLong> {
  template <class Next>
  static HRESULT Pass(AdaptedCall&, int32_t value, Next&& next) {
    return next(LongVariant(value));
  }
};

template <>
struct Adapted<InVariantULong> {
  template <class Next>
  static HRESULT Pass(AdaptedCall&, uint32_t value, Next&& next) {
    return next(ULongVariant(value));
  }
};

template <>
struct Adapted<InText> {
  template <class Next>
  static HRESULT Pass(AdaptedCall& call, const std::u16string& text, Next&& next) {
    UniqueBstr wire;
    RETURN_IF_FAILED(BstrFromText(text, wire.put()));
    call.traced = &text;
    return next(wire.get());
  }
};

template <>
struct Adapted<InKey> {
  template <class Next>
  static HRESULT Pass(AdaptedCall&, const HostPropertyKey& key, Next&& next) {
    UniqueVariant wire;
    RETURN_IF_FAILED(VariantFromKey(key, wire.get()));
    return next(*wire.get());
  }
};

template <>
struct Adapted<InValue> {
  template <class Next>
  static HRESULT Pass(AdaptedCall& call, const HostValue& value, Next&& next) {
    UniqueVariant wire;
    RETURN_IF_FAILED(VariantFromValue(value, wire.get()));
    if (value.kind == HostValue::Kind::Text) call.traced = &value.text;
    return next(*wire.get());
  }
};

template <>
struct Adapted<InGraphic> {
  template <class Next>
  static HRESULT Pass(AdaptedCall&, HostGraphic& graphic, Next&& next) {
    IHostGraphic* g = ComGraphicOf(graphic);
    RETURN_HR_IF_NULL(E_INVALIDARG, g);
    return next(g);
  }
};

template <>
struct Adapted<InMenu> {
  template <class Next>
  static HRESULT Pass(AdaptedCall&, const HostLocalMenu* menu, Next&& next) {
    UniqueVariant arrays[kMenuArrayCount];
    if (menu != nullptr) {
      VARIANT made[kMenuArrayCount];
      RETURN_IF_FAILED(VariantsFromMenu(*menu, made));
      for (int i = 0; i < kMenuArrayCount; ++i) *arrays[i].put() = made[i];
    } else {
      for (UniqueVariant& array : arrays) *array.put() = OmittedVariant();
    }
    return next(*arrays[0].get(), *arrays[1].get(), *arrays[2].get(), *arrays[3].get());
  }
};

template <>
struct Adapted<InAddin> {
  template <class Next>
  static HRESULT Pass(AdaptedCall& call, Next&& next) {
    return next(call.addin);
  }
};

template <>
struct Adapted<InOmitted> {
  template <class Next>
  static HRESULT Pass(AdaptedCall&, Next&& next) {
    return next(OmittedVariant());
  }
};

template <class Value>
struct Adapted<OutScalar<Value>> {
  template <class Next>
  static HRESULT Pass(AdaptedCall&, Value* out, Next&& next) {
    RETURN_HR_IF_NULL(E_POINTER, out);
    HostWireScalar<Value> value{};
    const HRESULT hr = next(&value);
    if (SUCCEEDED(hr)) *out = static_cast<Value>(value);
    return hr;
  }
};

template <>
struct Adapted<OutText> {
  template <class Next>
  static HRESULT Pass(AdaptedCall&, std::u16string* out, Next&& next) {
    RETURN_HR_IF_NULL(E_POINTER, out);
    UniqueBstr text;
    const HRESULT hr = next(text.put());
    RETURN_IF_FAILED(hr);
    return ComTry([&] {
      *out = TextFromBstr(text.get());
      return hr;
    });
  }
};

template <>
struct Adapted<OutValue> {
  template <class Next>
  static HRESULT Pass(AdaptedCall&, HostValue* out, Next&& next) {
    RETURN_HR_IF_NULL(E_POINTER, out);
    UniqueVariant read;
    const HRESULT hr = next(read.get());
    RETURN_IF_FAILED(hr);
    RETURN_IF_FAILED(ValueFromVariant(*read.get(), out));
    return hr;
  }
};

template <class Object>
struct Adapted<OutObject<Object>> {
  template <class Next>
  static HRESULT Pass(AdaptedCall& call, HostRef<Object>* out, Next&& next) {
    RETURN_HR_IF_NULL(E_POINTER, out);
    out->reset();
    ComPtr<HostComOf<Object>> object;
    const HRESULT hr = next(object.GetAddressOf());
    if (FAILED(hr) || !object) return hr;
    return ComTry([&] {
      *out = MakeAdapter(std::move(object), call.addin);
      return hr;
    });
  }
};

// Passes the arguments of the kinds from the `Port`-th port argument on, each kind taking its
// argument from `ports` (none where the add-in supplies it), and then calls the host with all the
// automation forms they gave.
template <size_t Port, class... Kinds>
struct AdaptedArgs {
  template <class Host, class Ports, class... Wire>
  static HRESULT Pass(AdaptedCall& call, Host& host, const Ports&, Wire... wire) {
    return TraceHostCall(call.name, host(wire...), call.traced);
  }
};
template <size_t Port, class Kind, class... Kinds>
struct AdaptedArgs<Port, Kind, Kinds...> {
  template <class Host, class Ports, class... Wire>
  static HRESULT Pass(AdaptedCall& call, Host& host, const Ports& ports, Wire... wire) {
    constexpr bool kTakesPort = !std::is_void_v<typename Kind::Port>;
    const auto next = [&](auto... more) {
      return AdaptedArgs<Port + (kTakesPort ? 1 : 0), Kinds...>::Pass(call, host, ports, wire..., more...);
    };
    if constexpr (kTakesPort) {
      return Adapted<Kind>::Pass(call, std::get<Port>(ports), next);
    } else {
      return Adapted<Kind>::Pass(call, next);
    }
  }
};
template <class KindList>
struct AdaptedKinds;
template <class... Kinds>
struct AdaptedKinds<HostKinds<Kinds...>> {
  using Steps = AdaptedArgs<0, Kinds...>;
};

// What every adapter of the interface Itf holds, and how its port's methods reach the host.
template <class Itf>
class AdapterBase : public HostPortOf<Itf> {
 public:
  AdapterBase(ComPtr<Itf> object, IDispatch* addin) : object_(std::move(object)), addin_(addin) {}
  Itf* Get() const { return object_.Get(); }

 protected:
  template <auto Method, class... Args>
  HRESULT Serve(HostCall<Method>, Args&... args) {
    using Call = HostCall<Method>;
    // Object results start as null, whatever fails.
    if constexpr (Call::kGivesObject) {
      auto* out = std::get<sizeof...(Args) - 1>(std::forward_as_tuple(args...));
      if (out != nullptr) out->reset();
    }
    AdaptedCall call{Call::kName, addin_};
    using Steps = typename AdaptedKinds<typename Call::KindList>::Steps;
    if constexpr (Call::kTearOff) {
      const auto host = [this](HostComOf<typename Call::Target>** p) {
        return object_->QueryInterface(__uuidof(HostComOf<typename Call::Target>), reinterpret_cast<void**>(p));
      };
      return Steps::Pass(call, host, std::forward_as_tuple(args...));
    } else {
      const auto host = [this](auto... wire) { return (object_.Get()->*HostComMethod<Method>::kPointer)(wire...); };
      return Steps::Pass(call, host, std::forward_as_tuple(args...));
    }
  }

  ComPtr<Itf> object_;
  IDispatch* addin_;
};

// The host's own interface behind a graphic the core holds; null for a graphic of another kind.
IHostGraphic* ComGraphicOf(HostGraphic& graphic) {
  const auto* adapter = dynamic_cast<const AdapterBase<IHostGraphic>*>(&graphic);
  return adapter != nullptr ? adapter->Get() : nullptr;
}

// Notes the tool index it reads: the trace's lines of the method in hand name its tool.
class ToolAdapter final : public HostServed<HostTool, AdapterBase<IHostTool>> {
 public:
  using Served = HostServed<HostTool, AdapterBase<IHostTool>>;
  using Served::Served;
  HRESULT ReadToolIndex(int32_t* index) override {
    const HRESULT hr = Served::ReadToolIndex(index);
    if (SUCCEEDED(hr) && FailureTraceOn()) NoteTracedTool(*index);
    return hr;
  }
};

template <class Itf>
struct AdapterOf {
  using Type = HostServed<HostPortOf<Itf>, AdapterBase<Itf>>;
};
template <>
struct AdapterOf<IHostTool> {
  using Type = ToolAdapter;
};

template <class Itf>
HostRef<HostPortOf<Itf>> MakeAdapter(ComPtr<Itf> object, IDispatch* addin) {
  return std::make_unique<typename AdapterOf<Itf>::Type>(std::move(object), addin);
}

// An object the host passes the add-in, asked for the port's interface. QueryInterface never
// succeeds without an object; a broken one must not give the core a null reference.
template <class Port>
HRESULT AdaptQueried(const char* name, IUnknown* object, IDispatch* addin, HostRef<Port>* out) {
  RETURN_HR_IF_NULL(E_POINTER, out);
  out->reset();
  RETURN_HR_IF_NULL(E_POINTER, object);
  AdaptedCall call{name, addin};
  const HRESULT hr = Adapted<OutObject<Port>>::Pass(call, out, [&](HostComOf<Port>** p) {
    return TraceHostCall(name, object->QueryInterface(__uuidof(HostComOf<Port>), reinterpret_cast<void**>(p)));
  });
  return SUCCEEDED(hr) && !*out ? E_NOINTERFACE : hr;
}

}  // namespace

HRESULT AdaptHostTool(IDispatch* thisTool, IDispatch* addin, HostRef<HostTool>* tool) {
  return AdaptQueried(TL_HOST_QUERY_NAME(ThisTool, HostTool), thisTool, addin, tool);
}

HRESULT AdaptHostDrawing(IDispatch* drawing, HostRef<HostDrawing>* out) {
  return AdaptQueried(TL_HOST_QUERY_NAME(WhichDrawing, HostDrawing), drawing, nullptr, out);
}
