// The demo's drawing session: a Number placement in the simulated host, driven as a host does.
#pragma once

#include <oaidl.h>

// Runs the session against the add-in and prints what the user would see; 0 when all went well.
int RunNumberSession(IDispatch* addin);
