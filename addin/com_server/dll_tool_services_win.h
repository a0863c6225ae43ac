// The stores and dialogs of the add-in as the DLL provides them to the tool object: the settings
// in the registry, the picklist in its file, the dialogs from the module's templates.
#pragma once

#include "addin/tool/pick_list_glue.h"
#include "addin/tool/options_store.h"
#include "addin/tool/tool_services.h"
#include "framework/code_page.h"
#include "framework/dialog_win.h"
#include "framework/files_win.h"
#include "framework/list_box_fill_win.h"
#include "framework/registry_win.h"
#include "pick_list/pick_list_store.h"

class DllToolServices : public ToolServices {
 public:
  explicit DllToolServices(const CodePage& codePage)
      : codePage_(codePage),
        dialogs_(codePage),
        settings_(registry_),
        pickList_(files_, codePage, SystemListBoxOrder) {}

  void LoadSettings(StoredOptions& options) override { settings_.Load(options); }
  void SaveSettings(const StoredOptions& options) override { settings_.Save(options); }
  void LoadPickList(StoredOptions& options) override { ::LoadPickList(pickList_, options); }
  void SavePickList(StoredOptions& options) override { ::SavePickList(pickList_, options); }
  HRESULT ShowPickList(StoredOptions& options, std::u16string& pickText) override;
  HRESULT ShowOptions(StoredOptions& options, int32_t& runningNumber) override;
  HRESULT RenumberSelection(StoredOptions& options, int32_t& runningNumber, HostApp& app,
                            const std::function<bool()>& hostStillHeld) override;

 private:
  const CodePage& codePage_;
  WindowsRegistry registry_;
  WindowsFileSystem files_;
  WindowsDialogRunner dialogs_;
  OptionsStore settings_;
  PickListStore pickList_;
};
