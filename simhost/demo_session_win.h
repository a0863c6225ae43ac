// The demo's drawing session: a Number placement in the simulated host, driven as a host does.
#pragma once

#include <oaidl.h>

// Each runs a session against the add-in and prints what the user would see; 0 when all went
// well. The Picklist session needs a display: its user answers the pick dialog.
int RunNumberSession(IDispatch* addin);
int RunPicklistSession(IDispatch* addin);
// The Renumber tool on a selection of leaders, with and without Fix Order; needs a display too.
int RunRenumberSession(IDispatch* addin);
