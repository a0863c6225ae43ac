// The picklist's store and dialog over the stored options and the pick text: the picklist
// subsystem works on plain values, and these copy the values it needs in and the results back.
#pragma once

#include "framework/code_page.h"
#include "framework/dialog.h"
#include "framework/status.h"
#include "options/stored_options.h"
#include "picklist/pick_list_store.h"

// PickListText from the file in DataPath.
void LoadPickList(PickListStore& store, StoredOptions& options);
// PickListText (none counts as empty) to the file in DataPath.
void SavePickList(PickListStore& store, const StoredOptions& options);

// The Picklist tool's dialog: on OK the picklist, TLPickAutoAdd and `pickText` change.
HRESULT ShowPickList(StoredOptions& options, std::u16string& pickText, DialogRunner& runner, const CodePage& codePage);
