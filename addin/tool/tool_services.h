// What the tool object asks of the subsystems around it: the settings and picklist stores, and
// the dialogs it opens (pick list, options, renumber). Each takes the values it works on: the
// stored options, and the pick text or the running number where it changes them.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "framework/status.h"
#include "host/host_port.h"

struct StoredOptions;

class ToolServices {
 public:
  virtual ~ToolServices() = default;

  // Fill the stored options (the picklist from the data folder they name) from the stores and
  // write them back. Their failures are the stores' own business: the add-in goes on with the
  // values in memory.
  virtual void LoadSettings(StoredOptions& options) = 0;
  virtual void SaveSettings(const StoredOptions& options) = 0;
  virtual void LoadPickList(StoredOptions& options) = 0;
  // Saves what is still unsaved of the picklist; PickListText may then hold what others saved.
  virtual void SavePickList(StoredOptions& options) = 0;

  // The pick dialog: on OK it replaces `pickText` (and may change and save the picklist).
  virtual HRESULT ShowPickList(StoredOptions& options, std::u16string& pickText) = 0;
  // The options dialog: on OK it changes the options and the running number.
  virtual HRESULT ShowOptions(StoredOptions& options, int32_t& runningNumber) = 0;
  // The Renumber tool: reads the selected leaders, asks the user and writes the new labels. It
  // asks `hostStillHeld` after each host call and stops once the host has let go of the add-in.
  virtual HRESULT RenumberSelection(StoredOptions& options, int32_t& runningNumber, HostApp& app,
                                    const std::function<bool()>& hostStillHeld) = 0;
};
