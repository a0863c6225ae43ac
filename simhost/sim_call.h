// How a handle performs one call of the host contract: the call is recorded under its name from
// the list (SimCallRun<&HostGraphic::ReadLayer> records "IHostGraphic.ReadLayer"), takes its
// place in the fault count, runs the model operation only when no failure is armed, and keeps any
// exception inside. Object outputs start as null and stay null on failure.
#pragma once

#include "framework/com_try.h"
#include "framework/status.h"
#include "host/host_port.h"
#include "simhost/sim_host.h"

// A call that gives no object.
template <auto Method, class Body>
HRESULT SimCallRun(SimHost& host, Body&& body) noexcept {
  const SimHost::CallTicket ticket = host.BeginCall(HostCall<Method>::kName);
  HRESULT hr = FAILED(ticket.forcedFailure) ? ticket.forcedFailure : ComTry(body);
  if (SUCCEEDED(hr) && ticket.successCode != S_OK) hr = ticket.successCode;
  host.EndCall(ticket, hr, false);
  return hr;
}

// A call that gives an object through `out`.
template <auto Method, class T, class Body>
HRESULT SimCallRunObject(SimHost& host, HostRef<T>* out, Body&& body) noexcept {
  const SimHost::CallTicket ticket = host.BeginCall(HostCall<Method>::kName);
  HRESULT hr = E_POINTER;
  if (out != nullptr) {
    out->reset();
    hr = FAILED(ticket.forcedFailure) ? ticket.forcedFailure : ComTry(body);
    if (SUCCEEDED(hr) && ticket.successCode != S_OK) hr = ticket.successCode;
    if (FAILED(hr) || ticket.noObject) out->reset();
  }
  host.EndCall(ticket, hr, out != nullptr && *out != nullptr);
  return hr;
}
