// The demo's drawing session: a Number placement in the simulated host, driven as a host does.
#pragma once

#include <oaidl.h>

// Each runs a session against the add-in and prints what the user would see; 0 when all went
// well. Both need a display: their user answers the real options and pick dialogs.
int RunNumberSession(IDispatch* addin);
int RunPicklistSession(IDispatch* addin);
// The Renumber tool on a selection of leaders, with and without Fix Order; needs a display too.
int RunRenumberSession(IDispatch* addin);
