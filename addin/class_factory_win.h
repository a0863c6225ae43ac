// The class factory of CTallyline: one new object per request, aggregation supported.
#pragma once

#include <windows.h>
#include <unknwn.h>

HRESULT CreateTallylineFactory(REFIID riid, void** ppv);
