// What the tool object asks of the subsystems around it: the settings and picklist stores, and
// the dialogs it opens (pick list, options, renumber). Each works on the tool object's members.
#pragma once

#include <functional>

#include "addin/tool_members.h"
#include "framework/status.h"

class ToolServices {
 public:
  virtual ~ToolServices() = default;

  // Fill the persisted members from the stores and write them back. Their failures are the
  // stores' own business: the add-in goes on with the values in memory.
  virtual void LoadSettings(ToolMembers& members) = 0;
  virtual void SaveSettings(const ToolMembers& members) = 0;
  virtual void LoadPickList(ToolMembers& members) = 0;
  // Saves what is still unsaved of the picklist; PickListText may then hold what others saved.
  virtual void SavePickList(ToolMembers& members) = 0;

  // The pick dialog: on OK it replaces CurrentPickText (and may change and save the picklist).
  virtual HRESULT ShowPickList(ToolMembers& members) = 0;
  // The options dialog: on OK it changes the running options.
  virtual HRESULT ShowOptions(ToolMembers& members) = 0;
  // The Renumber tool: reads the selected leaders, asks the user and writes the new labels. It
  // asks `hostStillHeld` after each host call and stops once the host has let go of the add-in.
  virtual HRESULT RenumberSelection(ToolMembers& members, HostApp& app, const std::function<bool()>& hostStillHeld) = 0;
};
