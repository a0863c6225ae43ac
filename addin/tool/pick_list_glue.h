// The picklist's store and dialog over the tool object's members: the picklist subsystem works
// on plain values, and these copy the members it needs in and the results back.
#pragma once

#include "addin/tool/tool_members.h"
#include "framework/code_page.h"
#include "framework/dialog.h"
#include "framework/status.h"
#include "picklist/pick_list_store.h"

// PickListText from the file in DataPath.
void LoadPickList(PickListStore& store, ToolMembers& members);
// PickListText (none counts as empty) to the file in DataPath.
void SavePickList(PickListStore& store, const ToolMembers& members);

// The Picklist tool's dialog: on OK the picklist, TLPickAutoAdd and CurrentPickText change.
HRESULT ShowPickList(ToolMembers& members, DialogRunner& runner, const CodePage& codePage);
