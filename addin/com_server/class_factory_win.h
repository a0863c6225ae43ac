// The class factory of CTallyline: one new object per request, aggregation supported.
#pragma once

#include <unknwn.h>
#include <windows.h>

HRESULT CreateTallylineFactory(REFIID riid, void** ppv);
