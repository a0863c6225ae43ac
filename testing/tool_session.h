// A drawing session for the native tests: the tool object against the in-process simulated host,
// with in-memory stand-ins for the stores and dialogs, and the host's events delivered to the
// tool object as the host delivers them to the add-in.
#pragma once

#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "addin/tool_object.h"
#include "testing/windows1252_code_page.h"
#include "simhost/sim_host.h"

// Stores and dialogs in memory: each call is recorded; the pick dialog answers from a queue
// (a text is OK with that text, none is Cancel).
class FakeToolServices : public ToolServices {
 public:
  void LoadSettings(ToolMembers&) override { calls.push_back("LoadSettings"); }
  void SaveSettings(const ToolMembers&) override { calls.push_back("SaveSettings"); }
  void LoadPickList(ToolMembers&) override { calls.push_back("LoadPickList"); }
  void SavePickList(const ToolMembers&) override { calls.push_back("SavePickList"); }
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

// Hands the host's events to the tool object, as the COM class does with Invoke.
class ToolEventBridge : public SimEventTarget {
 public:
  explicit ToolEventBridge(ToolObject& tool) : tool_(tool) {}
  HRESULT Deliver(SimHost& host, const SimEvent& event) override;
  std::vector<int32_t> delivered;

 private:
  ToolObject& tool_;
};

class ToolSession {
 public:
  // Makes a host with one active, empty drawing and initializes the tool object for all tools.
  explicit ToolSession(const std::u16string& version = u"10.5");
  ~ToolSession();

  HRESULT Run(int32_t tool, bool* result = nullptr);
  HRESULT Poll(int32_t tool, ToolStatus* status = nullptr);
  void PollAll();
  HRESULT Initialize(int32_t tool, bool* result);
  HRESULT Terminate();
  int32_t AddGraphic(const SimGraphicSpec& request);
  std::u16string LeaderToolText() const { return host.LeaderToolText(); }
  ToolMembers& members() { return tool.Members(); }

  SimHost host;
  FakeToolServices services;
  Windows1252CodePage codePage;
  ToolObject tool{services, codePage};
  std::shared_ptr<ToolEventBridge> events;
  int32_t drawing = 0;
  bool terminated = false;
};
