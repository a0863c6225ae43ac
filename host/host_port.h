// The host as the core sees it: one abstract class per automation object of the host contract,
// made from the list of its methods (host_contract.h), with the same operations in the same
// order. The DLL implements them over the host's COM interfaces; the simulated host implements
// them in-process for the native tests.
//
// Conventions: every operation returns the host's status code; results go to the last
// parameter. An object result is owned by the caller (HostRef) and may be null where the host
// "may give none"; callers turn a missing object they need into E_POINTER. Indices count from 0.
// Texts are UTF-16; a null host string arrives as the empty text.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <type_traits>
#include <vector>

#include "framework/status.h"
#include "host/host_contract.h"

template <class T>
using HostRef = std::unique_ptr<T>;

#define TL_HOST_FORWARD(Port, Methods) class Port;
TL_HOST_INTERFACES(TL_HOST_FORWARD)
#undef TL_HOST_FORWARD

// A property value as the host hands it over (a VARIANT on the COM side).
struct HostValue {
  enum class Kind { Empty, Text, Integer, Real, Boolean, Other };
  Kind kind = Kind::Empty;
  std::u16string text;
  int32_t integer = 0;
  double real = 0.0;
  bool boolean = false;

  static HostValue FromText(std::u16string value) {
    HostValue v;
    v.kind = Kind::Text;
    v.text = std::move(value);
    return v;
  }
};

// A property is named ("Info") or indexed.
struct HostPropertyKey {
  std::u16string name;
  int32_t index = -1;  // used when name is empty
};

struct HostLocalMenu {
  std::vector<std::u16string> captions;
  std::vector<std::u16string> prompts;
  std::vector<bool> flags1;
  std::vector<bool> flags2;
};

// The argument kinds of the list. Each names the port's parameter, or void where only the COM
// form carries the argument; host_com_contract_win.h gives their automation types.
template <class P>
struct HostKind {
  using Port = P;
};
struct InLong : HostKind<int32_t> {};                // a long
struct InVariantLong : HostKind<int32_t> {};         // a VT_I4 VARIANT: an index, the event mask
struct InVariantULong : HostKind<uint32_t> {};       // a VT_UI4 VARIANT: the tool list's command id
struct InText : HostKind<const std::u16string&> {};  // a BSTR; a failed call's trace may show it
struct InKey : HostKind<const HostPropertyKey&> {};  // a VARIANT: a VT_BSTR name or a VT_I4 index
struct InValue : HostKind<const HostValue&> {};      // a VARIANT; a failed call's trace may show a text
struct InGraphic : HostKind<HostGraphic&> {};        // an IHostGraphic of the same host
struct InMenu : HostKind<const HostLocalMenu*> {};   // four VARIANT arrays, all omitted for a null menu
struct InAddin : HostKind<void> {};                  // the add-in's own IDispatch, which the adapters hold
struct InOmitted : HostKind<void> {};                // an optional VARIANT that the add-in leaves out
template <class Value>
struct OutScalar : HostKind<Value*> {};
using OutLong = OutScalar<int32_t>;             // a long*
using OutDouble = OutScalar<double>;            // a double*
struct OutText : HostKind<std::u16string*> {};  // a BSTR*
struct OutValue : HostKind<HostValue*> {};      // a VARIANT*
template <class Object>
struct OutObject : HostKind<HostRef<Object>*> {};  // an interface pointer, caller-released

template <class Kind>
inline constexpr bool kKindGivesObject = false;
template <class Object>
inline constexpr bool kKindGivesObject<OutObject<Object>> = true;

template <class... Kinds>
struct HostKinds {};

// A method's port parameters, in order.
template <class... P>
struct HostParams {
  using Fn = HRESULT(P...);
};
template <class Params, class Port>
struct HostParamsAppend;
template <class... P, class Port>
struct HostParamsAppend<HostParams<P...>, Port> {
  using Type = HostParams<P..., Port>;
};
template <class... P>
struct HostParamsAppend<HostParams<P...>, void> {
  using Type = HostParams<P...>;
};
template <class Params, class... Kinds>
struct HostParamsOf {
  using Type = Params;
};
template <class Params, class Kind, class... Kinds>
struct HostParamsOf<Params, Kind, Kinds...>
    : HostParamsOf<typename HostParamsAppend<Params, typename Kind::Port>::Type, Kinds...> {};

// One method of the list: its dispatch id, argument kinds and port parameters.
template <int Dispid, class... Kinds>
struct HostSpec {
  static constexpr int kDispid = Dispid;
  static constexpr bool kGivesObject = (kKindGivesObject<Kinds> || ...);
  static constexpr bool kTearOff = false;
  using KindList = HostKinds<Kinds...>;
  using Params = typename HostParamsOf<HostParams<>, Kinds...>::Type;
  using PortFn = typename Params::Fn;
};

// An interface the object answers for by QueryInterface: no dispatch id, the tear-off its result.
template <class Object>
struct HostQuerySpec : HostSpec<0, OutObject<Object>> {
  static constexpr bool kTearOff = true;
  using Target = Object;
};

#define TL_HOST_PURE_METHOD(Port, Method, ...) virtual HostSpec<__VA_ARGS__>::PortFn Method = 0;
#define TL_HOST_PURE_QUERY(Port, Method, Target) virtual HostQuerySpec<Target>::PortFn Method = 0;
#define TL_HOST_PORT_CLASS(Port, Methods)            \
  class Port {                                       \
   public:                                           \
    virtual ~Port() = default;                       \
    Methods(TL_HOST_PURE_METHOD, TL_HOST_PURE_QUERY) \
  };
TL_HOST_INTERFACES(TL_HOST_PORT_CLASS)
#undef TL_HOST_PORT_CLASS
#undef TL_HOST_PURE_QUERY
#undef TL_HOST_PURE_METHOD

// Declares the methods of one interface of the list in a class that implements its port, such
// as TL_DECLARE_HOST_METHODS(TL_HOST_GRAPHIC); the class defines each of them.
#define TL_HOST_METHOD_DECLARATION(Port, Method, ...) HostSpec<__VA_ARGS__>::PortFn Method;
#define TL_HOST_QUERY_DECLARATION(Port, Method, Target) HostQuerySpec<Target>::PortFn Method;
#define TL_DECLARE_HOST_METHODS(Methods) Methods(TL_HOST_METHOD_DECLARATION, TL_HOST_QUERY_DECLARATION)

// What the list says of a port method, found by the method: HostCall<&HostGraphic::ReadLayer>.
// kName is the call's name in the trace and in the simulated host's record.
template <auto Method>
struct HostCall;
#define TL_HOST_CALL_OF_METHOD(Port, Method, ...)          \
  template <>                                              \
  struct HostCall<&Port::Method> : HostSpec<__VA_ARGS__> { \
    static constexpr char kName[] = "I" #Port "." #Method; \
  };
#define TL_HOST_CALL_OF_QUERY(Port, Method, Target)                      \
  template <>                                                            \
  struct HostCall<&Port::Method> : HostQuerySpec<Target> {               \
    static constexpr char kName[] = TL_HOST_QUERY_NAME(I##Port, Target); \
  };
#define TL_HOST_CALLS_OF(Port, Methods) Methods(TL_HOST_CALL_OF_METHOD, TL_HOST_CALL_OF_QUERY)
TL_HOST_INTERFACES(TL_HOST_CALLS_OF)
#undef TL_HOST_CALLS_OF
#undef TL_HOST_CALL_OF_QUERY
#undef TL_HOST_CALL_OF_METHOD

// Every method of the list in its order, for the tables that must cover them all.
struct HostCallInfo {
  const char* name;    // "IHostGraphic.ReadLayer"
  const char* method;  // "ReadLayer"
  int dispid;
  bool givesObject;
};
#define TL_HOST_CALL_INFO(Port, Method, ...) \
  {HostCall<&Port::Method>::kName, #Method, HostCall<&Port::Method>::kDispid, HostCall<&Port::Method>::kGivesObject},
#define TL_HOST_NO_QUERY(Port, Method, Target)
#define TL_HOST_CALL_INFOS(Port, Methods) Methods(TL_HOST_CALL_INFO, TL_HOST_NO_QUERY)
inline constexpr HostCallInfo kHostCalls[] = {TL_HOST_INTERFACES(TL_HOST_CALL_INFOS)};
#undef TL_HOST_CALL_INFOS
#undef TL_HOST_NO_QUERY
#undef TL_HOST_CALL_INFO
