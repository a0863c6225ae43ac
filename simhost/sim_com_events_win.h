// Event delivery to an add-in over COM: what IHostApp::SubscribeEvents subscribes. Each event
// is one IDispatch::Invoke on the add-in with the DISPID and the arguments of its event method,
// the host objects built fresh for the call and released after it.
#pragma once

#include <windows.h>

#include <oaidl.h>
#include <wrl/client.h>

#include "simhost/sim_host.h"

class ComEventTarget final : public SimEventTarget {
 public:
  // Holds a reference on the add-in until the subscription ends (or the host goes).
  explicit ComEventTarget(IDispatch* addin) : addin_(addin) {}
  // The Invoke result; the method's own code when the add-in's method failed. No other
  // reference is held while the event is out, so an unsubscription inside it may drop the
  // add-in's last one, as a real host's does.
  HRESULT Deliver(SimHost& host, const SimEvent& event) override;
  void Unsubscribed() override { addin_.Reset(); }

 private:
  Microsoft::WRL::ComPtr<IDispatch> addin_;
};
