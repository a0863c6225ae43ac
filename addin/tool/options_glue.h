// The tool object's ShowOptions: the running options go into the options dialog as plain values
// and come back into the members only when the user confirms.
#pragma once

#include "addin/tool/tool_members.h"
#include "framework/code_page.h"
#include "framework/dialog.h"
#include "framework/status.h"

// Always S_OK: the callers go on with whatever the members then hold.
HRESULT ShowOptions(ToolMembers& members, DialogRunner& runner, const CodePage& codePage);
