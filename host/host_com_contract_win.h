// The list of the host's methods (host_contract.h) in its COM form: the interface behind each
// port class, the automation parameters of each argument kind, and the COM method of each call.
// The adapters call those methods and the simulated host's COM objects override them, so a list
// that says otherwise than resources/host.idl does not compile.
#pragma once

#include <windows.h>

#include <oaidl.h>

#include "host.h"
#include "host/host_port.h"

// The interface of each port class, and the other way round.
template <class Port>
struct HostComOfPort;
template <class Itf>
struct HostPortOfCom;
#define TL_HOST_COM_PAIR(Port, Methods) \
  template <>                           \
  struct HostComOfPort<Port> {          \
    using Type = I##Port;               \
  };                                    \
  template <>                           \
  struct HostPortOfCom<I##Port> {       \
    using Type = Port;                  \
  };
TL_HOST_INTERFACES(TL_HOST_COM_PAIR)
#undef TL_HOST_COM_PAIR
template <class Port>
using HostComOf = typename HostComOfPort<Port>::Type;
template <class Itf>
using HostPortOf = typename HostPortOfCom<Itf>::Type;

// The automation type of a scalar result.
template <class Value>
struct HostWireScalarOf;
template <>
struct HostWireScalarOf<int32_t> {
  using Type = long;
};
template <>
struct HostWireScalarOf<double> {
  using Type = double;
};
template <class Value>
using HostWireScalar = typename HostWireScalarOf<Value>::Type;

// The automation parameters an argument of each kind takes, in the IDL's order.
template <class... W>
struct HostWireList {
  static constexpr size_t kCount = sizeof...(W);
};
template <class Kind>
struct HostWireOf;
#define TL_HOST_WIRE(Kind, ...)             \
  template <>                               \
  struct HostWireOf<Kind> {                 \
    using Type = HostWireList<__VA_ARGS__>; \
  };
TL_HOST_WIRE(InLong, long)
TL_HOST_WIRE(InVariantLong, VARIANT)
TL_HOST_WIRE(InVariantULong, VARIANT)
TL_HOST_WIRE(InText, BSTR)
TL_HOST_WIRE(InKey, VARIANT)
TL_HOST_WIRE(InValue, VARIANT)
TL_HOST_WIRE(InGraphic, IHostGraphic*)
TL_HOST_WIRE(InMenu, VARIANT, VARIANT, VARIANT, VARIANT)  // captions, prompts, flags1, flags2
TL_HOST_WIRE(InAddin, IDispatch*)
TL_HOST_WIRE(InOmitted, VARIANT)
TL_HOST_WIRE(OutText, BSTR*)
TL_HOST_WIRE(OutValue, VARIANT*)
#undef TL_HOST_WIRE
template <class Value>
struct HostWireOf<OutScalar<Value>> {
  using Type = HostWireList<HostWireScalar<Value>*>;
};
template <class Object>
struct HostWireOf<OutObject<Object>> {
  using Type = HostWireList<HostComOf<Object>**>;
};
template <class Kind>
inline constexpr size_t kWireCount = HostWireOf<Kind>::Type::kCount;

template <class... Lists>
struct HostWireJoin {
  using Type = HostWireList<>;
};
template <class... W, class... V, class... Lists>
struct HostWireJoin<HostWireList<W...>, HostWireList<V...>, Lists...>
    : HostWireJoin<HostWireList<W..., V...>, Lists...> {};
template <class... W>
struct HostWireJoin<HostWireList<W...>> {
  using Type = HostWireList<W...>;
};
template <class Kinds>
struct HostWireParamsOf;
template <class... Kinds>
struct HostWireParamsOf<HostKinds<Kinds...>> {
  using Type = typename HostWireJoin<typename HostWireOf<Kinds>::Type...>::Type;
};
// The COM method's parameters for a call of the list: HostWireParams<&HostGraphic::ReadLayer>.
template <auto Method>
using HostWireParams = typename HostWireParamsOf<typename HostCall<Method>::KindList>::Type;

// The COM method of each call: HostComMethod<&HostGraphic::ReadLayer>::kPointer is
// &IHostGraphic::ReadLayer.
template <auto Method>
struct HostComMethod;
#define TL_HOST_COM_METHOD(Port, Method, ...)          \
  template <>                                          \
  struct HostComMethod<&Port::Method> {                \
    static constexpr auto kPointer = &I##Port::Method; \
  };
#define TL_HOST_COM_NO_QUERY(Port, Method, Target)
#define TL_HOST_COM_METHODS(Port, Methods) Methods(TL_HOST_COM_METHOD, TL_HOST_COM_NO_QUERY)
TL_HOST_INTERFACES(TL_HOST_COM_METHODS)
#undef TL_HOST_COM_METHODS
#undef TL_HOST_COM_METHOD

// The interface of each call of kHostCalls, in the same order.
#define TL_HOST_COM_CALL_IID(Port, Method, ...) &IID_I##Port,
#define TL_HOST_COM_CALL_IIDS(Port, Methods) Methods(TL_HOST_COM_CALL_IID, TL_HOST_COM_NO_QUERY)
inline const IID* const kHostCallInterfaces[] = {TL_HOST_INTERFACES(TL_HOST_COM_CALL_IIDS)};
#undef TL_HOST_COM_CALL_IIDS
#undef TL_HOST_COM_CALL_IID
#undef TL_HOST_COM_NO_QUERY
