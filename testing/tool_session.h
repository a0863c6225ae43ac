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

#include "addin/tool/tool_object.h"
#include "testing/fake_tool_services.h"
#include "testing/tool_object_view.h"
#include "testing/windows1252_code_page.h"
#include "simhost/sim_host.h"

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
  // The tool object's own state, through the test-only view.
  StoredOptions& options() { return ToolObjectView(tool).options(); }
  PlacementMembers& placement() { return ToolObjectView(tool).placement(); }
  HostMembers& hostMembers() { return ToolObjectView(tool).host(); }

  SimHost host;
  FakeToolServices services;
  Windows1252CodePage codePage;
  ToolObject tool{services, codePage};
  std::shared_ptr<ToolEventBridge> events;
  int32_t drawing = 0;
  bool terminated = false;
};
