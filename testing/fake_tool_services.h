// The tool object's stores and dialogs as the native tests stand them in.
#pragma once

#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "addin/tool/tool_services.h"
#include "options/stored_options.h"

// Stores and dialogs in memory: each call is recorded; the pick dialog answers from a queue
// (a text is OK with that text, none is Cancel).
class FakeToolServices : public ToolServices {
 public:
  void LoadSettings(StoredOptions&) override { calls.push_back("LoadSettings"); }
  void SaveSettings(const StoredOptions&) override { calls.push_back("SaveSettings"); }
  void LoadPickList(StoredOptions&) override { calls.push_back("LoadPickList"); }
  void SavePickList(StoredOptions&) override { calls.push_back("SavePickList"); }
  HRESULT ShowPickList(StoredOptions& options, std::u16string& pickText) override {
    calls.push_back("ShowPickList");
    if (insideDialog) insideDialog(options);
    if (picks.empty()) return S_FALSE;
    std::optional<std::u16string> pick = picks.front();
    picks.pop_front();
    if (!pick) return S_FALSE;
    pickText = *pick;
    return S_OK;
  }
  HRESULT ShowOptions(StoredOptions& options, int32_t& runningNumber) override {
    calls.push_back("ShowOptions");
    if (insideDialog) insideDialog(options);
    if (onOptions) onOptions(options, runningNumber);
    return S_OK;
  }
  HRESULT RenumberSelection(StoredOptions& options, int32_t& runningNumber, HostApp& app,
                            const std::function<bool()>& hostStillHeld) override {
    calls.push_back("RenumberSelection");
    if (renumber) return renumber(options, runningNumber, app, hostStillHeld);  // with a dialog of its own
    if (insideDialog) insideDialog(options);
    return hostStillHeld() ? renumberResult : E_FAIL;  // the operation stops for a host that let go
  }
  int Count(const std::string& call) const;

  std::vector<std::string> calls;
  std::deque<std::optional<std::u16string>> picks;
  void (*onOptions)(StoredOptions&, int32_t& runningNumber) = nullptr;
  // Runs inside every dialog these stand-ins show, as the host's calls that arrive in a dialog's
  // message loop.
  std::function<void(StoredOptions&)> insideDialog;
  HRESULT renumberResult = S_OK;
  // The Renumber tool itself, when a test sets it; renumberResult otherwise.
  std::function<HRESULT(StoredOptions&, int32_t&, HostApp&, const std::function<bool()>&)> renumber;
};
