// A port class with every method of the list served by one function of the class beneath it:
// HostServed<HostGraphic, Base> overrides each method of HostGraphic with
//   return this->Serve(HostCall<&HostGraphic::ReadLayer>{}, arguments...);
// where Base derives from the port class and defines Serve. The adapters over the COM interfaces
// are made so, and so are the objects that answer every call alike (HostAnswering).
#pragma once

#include "host/host_port.h"

// One class template per method, deriving from Base and overriding that method alone.
namespace host_served {
#define TL_SERVED_METHOD(Port, Method, ...)                                                        \
  template <class Base, class Params = HostCall<&Port::Method>::Params>                            \
  class Port##_##Method;                                                                           \
  template <class Base, class... P>                                                                \
  class Port##_##Method<Base, HostParams<P...>> : public Base {                                    \
   public:                                                                                         \
    using Base::Base;                                                                              \
    HRESULT Method(P... args) override { return this->Serve(HostCall<&Port::Method>{}, args...); } \
  };
#define TL_SERVED_METHODS(Port, Methods) Methods(TL_SERVED_METHOD, TL_SERVED_METHOD)
TL_HOST_INTERFACES(TL_SERVED_METHODS)
#undef TL_SERVED_METHODS
#undef TL_SERVED_METHOD
}  // namespace host_served

// The port's methods stacked on Base: host_served::HostView_RefreshView<Base>, and so on.
template <class Port, class Base>
struct HostServedOf;
#define TL_SERVED_OPEN(Port, Method, ...) host_served::Port##_##Method <
#define TL_SERVED_CLOSE(Port, Method, ...) >
#define TL_SERVED_STACK(Port, Methods)                                                                   \
  template <class Base>                                                                                  \
  struct HostServedOf<Port, Base> {                                                                      \
    using Type = Methods(TL_SERVED_OPEN, TL_SERVED_OPEN) Base Methods(TL_SERVED_CLOSE, TL_SERVED_CLOSE); \
  };
TL_HOST_INTERFACES(TL_SERVED_STACK)
#undef TL_SERVED_STACK
#undef TL_SERVED_CLOSE
#undef TL_SERVED_OPEN
template <class Port, class Base>
using HostServed = typename HostServedOf<Port, Base>::Type;

// Answers every call with one code and touches no argument.
template <class Port>
class HostAnswerBase : public Port {
 public:
  explicit HostAnswerBase(HRESULT answer) : answer_(answer) {}

 protected:
  template <auto Method, class... Args>
  HRESULT Serve(HostCall<Method>, Args&&...) const {
    return answer_;
  }

 private:
  HRESULT answer_;
};

// A port object that answers every call with the code it was made with: a stand-in for an
// object the host did not give.
template <class Port>
using HostAnswering = HostServed<Port, HostAnswerBase<Port>>;
