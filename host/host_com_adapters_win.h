// The host port over the host's COM interfaces: how the DLL hands the core the objects that the
// host passes it. Each adapter holds one interface pointer and converts arguments and results
// between the port's plain values and their automation forms.
#pragma once

#include <windows.h>

#include <oaidl.h>

#include "host/host_port.h"

// `thisTool` is the object the host passed as ThisTool (asked for IHostTool); `addin` is the
// add-in's own dispatch interface, which the adapters pass to SubscribeEvents, ShowPrompt and
// SetLocalMenu. The adapters do not hold a reference on `addin`: the add-in owns them.
HRESULT AdaptHostTool(IDispatch* thisTool, IDispatch* addin, HostRef<HostTool>* tool);

// A drawing the host passes as an event argument (asked for IHostDrawing).
HRESULT AdaptHostDrawing(IDispatch* drawing, HostRef<HostDrawing>* out);
