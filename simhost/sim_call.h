// How a handle performs one call of the host contract: the call is recorded under its name,
// takes its place in the fault count, runs the model operation only when no failure is armed,
// and keeps any exception inside. Object outputs start as null and stay null on failure.
#pragma once

#include "framework/com_try.h"
#include "framework/status.h"
#include "host/host_port.h"
#include "simhost/sim_host.h"

// A call that gives no object.
template <class Body>
HRESULT SimCallRun(SimHost& host, const char* name, Body&& body) noexcept {
  const SimHost::CallTicket ticket = host.BeginCall(name);
  HRESULT hr = FAILED(ticket.forcedFailure) ? ticket.forcedFailure : ComTry(body);
  if (SUCCEEDED(hr) && ticket.successCode != S_OK) hr = ticket.successCode;
  host.EndCall(ticket, hr, false);
  return hr;
}

// A call that gives an object through `out`.
template <class T, class Body>
HRESULT SimCallRunObject(SimHost& host, const char* name, HostRef<T>* out, Body&& body) noexcept {
  const SimHost::CallTicket ticket = host.BeginCall(name);
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
