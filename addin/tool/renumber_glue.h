// The Renumber tool on the stored options and the running number: the stored choices go into the
// operation, and what it confirms comes back.
#pragma once

#include "framework/code_page.h"
#include "framework/dialog.h"
#include "framework/files.h"
#include "host/host_port.h"
#include "options/stored_options.h"
#include "renumber/renumber_selection.h"

// `app` is the tool object's HostApp at the call; `hostStillHeld` tells whether the host still
// holds the add-in. A Terminate during the run stops it: after the dialog's OK nothing more is
// written and no running number moves, but the chosen options are kept for the deferred save.
// With `files`, the report checks the callouts against the parts list TLPartsList names and
// "E&xport..." saves the callout table.
HRESULT RunRenumberTool(StoredOptions& options, int32_t& runningNumber, HostApp& app, DialogRunner& runner,
                        const CodePage& codePage, const HostStillHeld& hostStillHeld, FileSystem* files = nullptr);
