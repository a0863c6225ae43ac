// The tool object's own state as the native tests read and set it, beyond what the host sees:
// the stored options, the running placement and the host references. Test-only; the DLL never
// links it.
#pragma once

#include "addin/tool/tool_members.h"
#include "addin/tool/tool_object.h"
#include "options/stored_options.h"

class ToolObjectView {
 public:
  explicit ToolObjectView(ToolObject& tool) : tool_(tool) {}

  StoredOptions& options() const { return *tool_.options_; }
  PlacementMembers& placement() const { return tool_.placement_; }
  HostMembers& host() const { return tool_.host_; }

 private:
  ToolObject& tool_;
};
