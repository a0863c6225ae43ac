// The stores and dialogs of the add-in as the DLL provides them to the tool object.
#pragma once

#include "addin/tool_services.h"

class DllToolServices : public ToolServices {
 public:
  void LoadSettings(ToolMembers& members) override;
  void SaveSettings(const ToolMembers& members) override;
  void LoadPickList(ToolMembers& members) override;
  void SavePickList(const ToolMembers& members) override;
  HRESULT ShowPickList(ToolMembers& members) override;
  HRESULT ShowOptions(ToolMembers& members) override;
  HRESULT RenumberSelection(ToolMembers& members, HostApp& app) override;
};
