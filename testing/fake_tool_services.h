// The tool object's stores and dialogs as the native tests stand them in.
#pragma once

#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "addin/tool_services.h"

// Stores and dialogs in memory: each call is recorded; the pick dialog answers from a queue
// (a text is OK with that text, none is Cancel).
class FakeToolServices : public ToolServices {
 public:
  void LoadSettings(ToolMembers&) override { calls.push_back("LoadSettings"); }
  void SaveSettings(const ToolMembers&) override { calls.push_back("SaveSettings"); }
  void LoadPickList(ToolMembers&) override { calls.push_back("LoadPickList"); }
  void SavePickList(ToolMembers&) override { calls.push_back("SavePickList"); }
  HRESULT ShowPickList(ToolMembers& members) override {
    calls.push_back("ShowPickList");
    if (insideDialog) insideDialog(members);
    if (picks.empty()) return S_FALSE;
    std::optional<std::u16string> pick = picks.front();
    picks.pop_front();
    if (!pick) return S_FALSE;
    members.CurrentPickText = *pick;
    return S_OK;
  }
  HRESULT ShowOptions(ToolMembers& members) override {
    calls.push_back("ShowOptions");
    if (insideDialog) insideDialog(members);
    if (onOptions) onOptions(members);
    return S_OK;
  }
  HRESULT RenumberSelection(ToolMembers& members, HostApp& app, const std::function<bool()>& hostStillHeld) override {
    calls.push_back("RenumberSelection");
    if (renumber) return renumber(members, app, hostStillHeld);  // with a dialog of its own
    if (insideDialog) insideDialog(members);
    return hostStillHeld() ? renumberResult : E_FAIL;  // the operation stops for a host that let go
  }
  int Count(const std::string& call) const;

  std::vector<std::string> calls;
  std::deque<std::optional<std::u16string>> picks;
  void (*onOptions)(ToolMembers&) = nullptr;
  // Runs inside every dialog these stand-ins show, as the host's calls that arrive in a dialog's
  // message loop.
  std::function<void(ToolMembers&)> insideDialog;
  HRESULT renumberResult = S_OK;
  // The Renumber tool itself, when a test sets it; renumberResult otherwise.
  std::function<HRESULT(ToolMembers&, HostApp&, const std::function<bool()>&)> renumber;
};
