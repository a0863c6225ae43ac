// The simulated host's COM objects as a host program hands them to the add-in: the tool object
// passed as ThisTool, and a drawing (the argument of the drawing events). Everything else the
// add-in reaches from these. Each object counts itself in SimHost::LiveComObjects and must be
// released before the SimHost goes.
#pragma once

#include <windows.h>

#include <oaidl.h>

#include <cstdint>

#include "simhost/sim_host.h"

HRESULT MakeComTool(SimHost& host, int32_t toolIndex, IDispatch** tool);
// E_INVALIDARG for a drawing that does not exist.
HRESULT MakeComDrawing(SimHost& host, int32_t drawingId, IDispatch** drawing);
