// Fault injection: for each entry point of the tool protocol, every host call in turn fails (and
// every call that gives an object gives none instead). The method must return what the tool
// protocol prescribes - the failing call's code (E_POINTER for a missing object) where the
// operation has to stop, its usual result where the call's outcome is ignored - never crash,
// and leave no host object behind.
#include <gtest/gtest.h>

#include <functional>
#include <set>

#include "addin/tool/tool_table.h"
#include "testing/tool_session.h"

namespace {

constexpr HRESULT kInjected = static_cast<HRESULT>(0x8004F00D);

struct Scenario {
  std::string name;
  std::function<void(ToolSession&)> setup;  // brings the session to the state before the call
  std::function<HRESULT(ToolSession&)> act;
  // Indices (into the clean run's calls) whose failure the method ignores.
  std::function<std::set<size_t>(const std::vector<SimCall>&)> ignored;
};

bool Is(const SimCall& call, const char* name) {
  return call.name == name;
}

// SetupLocalMenu's three calls: the prompt cleared, the old menu removed, the new one set.
std::set<size_t> LocalMenuSetup(const std::vector<SimCall>& calls) {
  std::set<size_t> ignored;
  for (size_t i = 0; i + 2 < calls.size(); ++i) {
    if (Is(calls[i], "IHostAddinServices.ShowPrompt") && Is(calls[i + 1], "IHostAddinServices.SetLocalMenu") &&
        Is(calls[i + 2], "IHostAddinServices.SetLocalMenu")) {
      ignored.insert({i, i + 1, i + 2});
    }
  }
  return ignored;
}

// Everything from `first` (a call name, first occurrence at or after `from`) up to the end, or
// up to the call before `until`.
std::set<size_t> Span(const std::vector<SimCall>& calls, size_t from, const char* until) {
  std::set<size_t> span;
  for (size_t i = from; i < calls.size() && !(until && Is(calls[i], until)); ++i) span.insert(i);
  return span;
}

size_t IndexOf(const std::vector<SimCall>& calls, const char* name, size_t occurrence = 0) {
  for (size_t i = 0; i < calls.size(); ++i) {
    if (Is(calls[i], name) && occurrence-- == 0) return i;
  }
  return calls.size();
}

std::set<size_t> None(const std::vector<SimCall>&) {
  return {};
}

void StartNumber(ToolSession& s) {
  s.Run(NumberTool);
}

HRESULT PollTool(ToolSession& s, int32_t tool) {
  ToolStatus status;
  return s.Poll(tool, &status);
}

std::vector<Scenario> Scenarios() {
  std::vector<Scenario> all;
  all.push_back(
      {"Initialize", [](ToolSession&) {},
       [](ToolSession& s) {
         FakeToolServices services;
         ToolObject fresh(services, s.codePage);
         HostRef<HostTool> thisTool = s.host.Tool(0);
         bool result = false;
         const HRESULT hr = fresh.Initialize(thisTool.get(), &result);
         fresh.Terminate();
         return hr;
       },
       [](const std::vector<SimCall>& c) { return std::set<size_t>{IndexOf(c, "IHostApp.ReadVersionText")}; }});
  for (int32_t tool : {NumberTool, PicklistTool}) {
    all.push_back({tool == NumberTool ? "Run Number" : "Run Picklist", [](ToolSession&) {},
                   [tool](ToolSession& s) { return s.Run(tool); }, LocalMenuSetup});
  }
  all.push_back({"Run Object", [](ToolSession& s) { s.AddGraphic({}); },
                 [](ToolSession& s) { return s.Run(ObjectTool); }, LocalMenuSetup});
  all.push_back({"Run Number to end it", StartNumber, [](ToolSession& s) { return s.Run(NumberTool); }, None});
  for (int32_t tool = 0; tool < 5; ++tool) {
    all.push_back({"UpdateToolStatus idle, tool " + std::to_string(tool),
                   [](ToolSession& s) {
                     s.AddGraphic({u"TCW25DimLead"});
                     s.host.Select({1});
                   },
                   [tool](ToolSession& s) { return PollTool(s, tool); }, None});
  }
  // A poll that sees a new point leader: the conversion's calls are ignored, the text's are not.
  all.push_back({"UpdateToolStatus after a point leader",
                 [](ToolSession& s) {
                   s.Run(NumberTool);
                   s.host.PlaceLeader(1);
                 },
                 [](ToolSession& s) { return PollTool(s, NumberTool); },
                 [](const std::vector<SimCall>& c) {
                   return Span(c, IndexOf(c, "IHostGraphicList.CountItems") + 1, "IHostLeaderTool.ReadParameterList");
                 }});
  all.push_back({"UpdateToolStatus Object after a leader",
                 [](ToolSession& s) {
                   s.AddGraphic({u"GRAPHIC", u"A"});
                   s.Run(ObjectTool);
                   s.host.Select({1});
                   s.host.PlaceLeader(1);
                 },
                 [](ToolSession& s) { return PollTool(s, ObjectTool); },
                 [](const std::vector<SimCall>& c) {
                   return Span(c, IndexOf(c, "IHostGraphicList.CountItems", 1) + 1, "IHostCommands.StartCommand");
                 }});
  all.push_back({"SelectionChange",
                 [](ToolSession& s) {
                   s.AddGraphic({u"GRAPHIC", u"A"});
                   s.Run(ObjectTool);
                   s.host.Model().Drawing(s.drawing)->selection = {1};  // selected, no event yet
                 },
                 [](ToolSession& s) {
                   HostRef<HostDrawing> drawing = s.host.Drawing(s.drawing);
                   return s.tool.SelectionChange(drawing.get());
                 },
                 [](const std::vector<SimCall>& c) {
                   // After the leader command starts and the count is read, only the text follows.
                   return Span(c, IndexOf(c, "IHostGraphicList.CountItems") + 1, nullptr);
                 }});
  for (int32_t cmd : {0, 1}) {
    all.push_back({"DoLMCommand Number " + std::to_string(cmd), StartNumber,
                   [cmd](ToolSession& s) { return s.tool.DoLMCommand(cmd); },
                   [](const std::vector<SimCall>& c) { return Span(c, 0, nullptr); }});
    all.push_back({"DoLMCommand Object " + std::to_string(cmd),
                   [](ToolSession& s) {
                     s.AddGraphic({});
                     s.Run(ObjectTool);
                   },
                   [cmd](ToolSession& s) { return s.tool.DoLMCommand(cmd); },
                   [](const std::vector<SimCall>& c) { return Span(c, 0, nullptr); }});
  }
  all.push_back({"EndPlacement", StartNumber, [](ToolSession& s) { return s.tool.EndPlacement(); }, None});
  all.push_back({"Terminate during a placement", StartNumber, [](ToolSession& s) { return s.Terminate(); },
                 [](const std::vector<SimCall>& c) { return Span(c, 0, nullptr); }});
  return all;
}

struct Outcome {
  HRESULT hr;
  std::vector<SimCall> calls;
};

// Runs a scenario in a fresh session with the fault armed by `arm`, then ends the session and
// checks that every host object was released.
Outcome RunScenario(const Scenario& scenario, const std::function<void(SimHost&)>& arm, const std::string& what) {
  Outcome outcome;
  {
    auto session = std::make_unique<ToolSession>();
    scenario.setup(*session);
    session->host.ClearFaults();
    session->host.ClearCalls();
    arm(session->host);
    outcome.hr = scenario.act(*session);
    outcome.calls = session->host.Calls();
    session->host.ClearFaults();
    session->Terminate();
    EXPECT_EQ(0, session->host.LiveHandles()) << what;
  }
  return outcome;
}

TEST(FaultSweep, EveryHostCallFailingOrGivingNoObject) {
  int tried = 0, survived = 0;
  for (const Scenario& scenario : Scenarios()) {
    const Outcome clean = RunScenario(
        scenario, [](SimHost&) {}, scenario.name);
    ASSERT_FALSE(clean.calls.empty()) << scenario.name;
    const std::set<size_t> ignored = scenario.ignored(clean.calls);
    for (size_t i = 0; i < clean.calls.size(); ++i) {
      const std::string what = scenario.name + ", call " + std::to_string(i + 1) + " " + clean.calls[i].name;
      const bool mustStop = ignored.count(i) == 0;
      const Outcome failed = RunScenario(
          scenario, [i](SimHost& h) { h.FailCall(static_cast<int64_t>(i) + 1, kInjected); }, what + " failing");
      ++tried;
      const HRESULT expected = mustStop ? kInjected : clean.hr;
      EXPECT_EQ(expected, failed.hr) << what << " failing";
      survived += failed.hr == expected;
      if (!clean.calls[i].gaveObject) continue;
      // A call that gives no object: E_POINTER where the object is needed. Only the active
      // drawing of a status poll may be missing.
      const Outcome none = RunScenario(
          scenario, [i](SimHost& h) { h.GiveNoObject(static_cast<int64_t>(i) + 1); }, what + " giving none");
      ++tried;
      const bool mayBeNone =
          scenario.name.rfind("UpdateToolStatus", 0) == 0 && clean.calls[i].name == "IHostApp.ReadActiveDrawing";
      if (mayBeNone) {
        EXPECT_TRUE(SUCCEEDED(none.hr)) << what << " giving none";
        survived += SUCCEEDED(none.hr);
      } else {
        const HRESULT expectedNone = mustStop ? E_POINTER : clean.hr;
        EXPECT_EQ(expectedNone, none.hr) << what << " giving none";
        survived += none.hr == expectedNone;
      }
    }
  }
  std::printf("fault sweep: %d points tried, %d survived\n", tried, survived);
  EXPECT_GT(tried, 200);
}

}  // namespace
