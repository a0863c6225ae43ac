// Re-entrancy: a host that pumps messages inside its calls may call back into the add-in from
// any of them. A whole session is played once for every host call it makes, with one hostile
// call of the add-in performed inside that host call. Under the sanitizers nothing may crash or
// touch freed memory; at the end no subscription, local menu, prompt or host object may be left, and
// the stores must have been written exactly once.
#include <gtest/gtest.h>

#include <functional>
#include <memory>

#include "addin/tool_table.h"
#include "testing/tool_session.h"

namespace {

struct HostileAction {
  const char* name;
  std::function<void(ToolSession&)> act;
};

std::vector<HostileAction> Actions() {
  return {
      {"Terminate of every tool",
       [](ToolSession& s) {
         for (int i = 0; i < kToolCount; ++i) s.tool.Terminate();
       }},
      {"Run Number", [](ToolSession& s) { s.Run(NumberTool); }},
      {"Run Object", [](ToolSession& s) { s.Run(ObjectTool); }},
      {"status poll", [](ToolSession& s) { s.PollAll(); }},
      {"local-menu command", [](ToolSession& s) { s.tool.DoLMCommand(0); }},
      {"BeforeExit", [](ToolSession& s) { s.tool.PlacementEndingEvent(); }},
      {"RunTool", [](ToolSession& s) { s.tool.RunTool(); }},
  };
}

// Every tool once: leaders, a point leader and its undo, the local menu, a click, the pick
// dialog, the user's own host tool, an object and its leader, a drawing event, the Renumber
// and Options tools, and the host's Terminate of every tool.
void PlaySession(ToolSession& s) {
  const int32_t object = s.AddGraphic({u"GRAPHIC", u"A"});
  s.PollAll();
  s.Run(NumberTool);
  s.host.PlaceLeader();
  s.PollAll();
  s.host.PlaceLeader(1);
  s.PollAll();
  s.host.Undo();
  s.PollAll();
  s.tool.DoLMCommand(0);
  s.host.MouseDown(1, 0, 10, 10);
  s.Run(NumberTool);
  s.services.picks = {u"A", u"B", u"C"};
  s.Run(PicklistTool);
  s.host.PlaceLeader();
  s.PollAll();
  s.tool.DoLMCommand(0);
  s.host.UserPicksHostTool(kSimCommandDrawLine);
  s.Run(ObjectTool);
  s.host.Select({object});
  s.host.PlaceLeader();
  s.PollAll();
  s.host.RaiseDrawingEvent(kDispBeforeExit);
  s.host.Select({object});
  s.Run(RenumberTool);
  s.Run(OptionsTool);
  s.Terminate();
}

TEST(ReentrancySweep, AHostileCallInsideEveryHostCall) {
  std::vector<SimCall> calls;
  {
    ToolSession clean;
    clean.host.ClearCalls();
    PlaySession(clean);
    calls = clean.host.Calls();
  }
  const int64_t sessionCalls = static_cast<int64_t>(calls.size());
  ASSERT_GT(sessionCalls, 100);
  for (const HostileAction& action : Actions()) {
    int swept = 0;
    for (int64_t k = 1; k <= sessionCalls; ++k) {
      const std::string what =
          std::string(action.name) + " inside call " + std::to_string(k) + " " + calls[static_cast<size_t>(k - 1)].name;
      auto session = std::make_unique<ToolSession>();
      ToolSession& s = *session;
      s.host.DuringCall(k, [&s, &action] { action.act(s); });
      PlaySession(s);
      ++swept;
      const bool clean = s.host.SubscriberCount() == 0 && s.host.LocalMenuCount() == 0 && s.host.Prompt().empty() &&
                         s.host.LiveHandles() == 0 && s.services.Count("SaveSettings") == 1 &&
                         s.services.Count("SavePickList") == 1;
      EXPECT_EQ(0, s.host.SubscriberCount()) << what;
      EXPECT_EQ(0, s.host.LocalMenuCount()) << what;
      EXPECT_EQ(u"", s.host.Prompt()) << what;
      EXPECT_EQ(0, s.host.LiveHandles()) << what;
      EXPECT_EQ(1, s.services.Count("SaveSettings")) << what;
      EXPECT_EQ(1, s.services.Count("SavePickList")) << what;
      if (!clean) break;  // the first failing point of an action tells enough
    }
    std::printf("re-entrancy sweep: %s inside %d host calls\n", action.name, swept);
  }
}

}  // namespace
