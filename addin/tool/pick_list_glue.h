// The picklist's store and dialog over the stored options and the pick text: the picklist
// subsystem works on plain values, and these copy the values it needs in and the results back.
#pragma once

#include <functional>

#include "framework/code_page.h"
#include "framework/dialog.h"
#include "framework/status.h"
#include "options/stored_options.h"
#include "picklist/pick_list_store.h"

// PickListText from the file in DataPath.
void LoadPickList(PickListStore& store, StoredOptions& options);
// What PickListText (none counts as empty) holds that the file in DataPath does not, merged
// with what others saved there; PickListText then holds the list as saved. `closing`: the host
// is letting go of the add-in, and a list that cannot be merged goes beside the file.
void SavePickList(PickListStore& store, StoredOptions& options, bool closing = true);

// Runs `dialog`, which may change PickListText, on the list with what others saved meanwhile,
// and saves a change it confirms.
HRESULT EditSharedPickList(PickListStore& store, StoredOptions& options, const std::function<HRESULT()>& dialog);

// The Picklist tool's dialog: on OK the picklist, TLPickAutoAdd and `pickText` change.
HRESULT ShowPickList(StoredOptions& options, std::u16string& pickText, DialogRunner& runner, const CodePage& codePage);
// The same on the shared list: with what others saved meanwhile, and a changed picklist saved.
HRESULT ShowPickList(PickListStore& store, StoredOptions& options, std::u16string& pickText, DialogRunner& runner,
                     const CodePage& codePage);
