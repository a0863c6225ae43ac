// The tool object's ShowOptions: the stored options and the running number go into the options
// dialog as plain values and come back only when the user confirms.
#pragma once

#include "framework/code_page.h"
#include "framework/dialog.h"
#include "framework/status.h"
#include "options/stored_options.h"

// Always S_OK: the callers go on with whatever the options then hold.
HRESULT ShowOptions(StoredOptions& options, int32_t& runningNumber, DialogRunner& runner, const CodePage& codePage);
