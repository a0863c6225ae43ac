// The stores and dialogs of the add-in as the DLL provides them to the tool object: the settings
// in the registry, the picklist in its file, the dialogs from the module's templates.
#pragma once

#include "addin/pick_list_glue.h"
#include "addin/settings_store.h"
#include "addin/tool_services.h"
#include "framework/code_page.h"
#include "framework/dialog_win.h"
#include "framework/files_win.h"
#include "framework/list_box_fill_win.h"
#include "framework/registry_win.h"
#include "picklist/pick_list_store.h"

class DllToolServices : public ToolServices {
 public:
  explicit DllToolServices(const CodePage& codePage)
      : codePage_(codePage),
        dialogs_(codePage),
        settings_(registry_),
        pickList_(files_, codePage, SystemListBoxOrder) {}

  void LoadSettings(ToolMembers& members) override { settings_.Load(members); }
  void SaveSettings(const ToolMembers& members) override { settings_.Save(members); }
  void LoadPickList(ToolMembers& members) override { ::LoadPickList(pickList_, members); }
  void SavePickList(ToolMembers& members) override { ::SavePickList(pickList_, members); }
  HRESULT ShowPickList(ToolMembers& members) override;
  HRESULT ShowOptions(ToolMembers& members) override;
  HRESULT RenumberSelection(ToolMembers& members, HostApp& app, const std::function<bool()>& hostStillHeld) override;

 private:
  const CodePage& codePage_;
  WindowsRegistry registry_;
  WindowsFileSystem files_;
  WindowsDialogRunner dialogs_;
  SettingsStore settings_;
  PickListStore pickList_;
};
