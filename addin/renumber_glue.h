// The Renumber tool on the tool object's members: the stored choices go into the operation, and
// what it confirms comes back into the members.
#pragma once

#include "addin/tool_members.h"
#include "framework/code_page.h"
#include "framework/dialog.h"
#include "host/host_port.h"

// `app` is the tool object's HostApp at the call. A Terminate while the dialog is open takes the
// host references out of `members`: OK then writes nothing to the drawing and moves no running
// number, but keeps the chosen options, which the deferred save then stores.
HRESULT RunRenumberTool(ToolMembers& members, HostApp& app, DialogRunner& runner, const CodePage& codePage);
