// The picklist's store and dialog over the stored options and the pick text: the picklist
// subsystem works on plain values, and these copy the values it needs in and the results back.
#pragma once

#include <functional>

#include "framework/code_page.h"
#include "framework/dialog.h"
#include "framework/status.h"
#include "options/stored_options.h"
#include "pick_list/pick_list_store.h"

// PickListText from the file in DataPath.
void LoadPickList(PickListStore& store, StoredOptions& options);
// What PickListText (none counts as empty) holds that the file in DataPath does not, merged
// with what others saved there; PickListText then holds the list as saved. `closing`: the host
// is letting go of the add-in, and a list that cannot be merged goes beside the file. Gives what
// kept the change out of the file.
PickListProblem SavePickList(PickListStore& store, StoredOptions& options, bool closing = true);

// Runs `dialog`, which may change PickListText, on the list with what others saved meanwhile,
// and saves a change it confirms. When that change cannot be saved, a message through `runner`
// tells the user why and what becomes of it, once for each problem in the store's life.
// `dialog` learns whether the shared list's file is still unread.
HRESULT EditSharedPickList(PickListStore& store, StoredOptions& options, DialogRunner& runner,
                           const std::function<HRESULT(bool listUnread)>& dialog);

// The Picklist tool's dialog: on OK the picklist, TLPickAutoAdd and `pickText` change.
// `listUnread`: the dialog's caption says that the shared list could not be read.
HRESULT ShowPickList(StoredOptions& options, std::u16string& pickText, DialogRunner& runner, const CodePage& codePage,
                     bool listUnread = false);
// The same on the shared list: with what others saved meanwhile, and a changed picklist saved.
HRESULT ShowPickList(PickListStore& store, StoredOptions& options, std::u16string& pickText, DialogRunner& runner,
                     const CodePage& codePage);
