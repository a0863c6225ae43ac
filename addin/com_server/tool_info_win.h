// GetToolInfo: fills the host's arrays with the tool table.
#pragma once

#include <oaidl.h>
#include <windows.h>

struct ToolInfoArrays {
  VARIANT* commandNames;
  VARIANT* menuCaptions;
  VARIANT* statusPrompts;
  VARIANT* toolTips;
  VARIANT* enabled;
  VARIANT* wantsUpdates;
};

// Makes the fresh caption array; SafeArrayCreate, or a failing stand-in in tests.
using ArrayCreator = SAFEARRAY*(WINAPI*)(VARTYPE type, UINT dimensions, SAFEARRAYBOUND* bounds);

// Resizes the five one-dimensional arrays to the five tools, replaces the caption array by a
// fresh 5 by 2 array, and fills them all. Writes the tool count to *count.
HRESULT FillToolInfo(const ToolInfoArrays& arrays, LONG* count, ArrayCreator createArray = SafeArrayCreate);
