// Re-entrancy: a host that pumps messages inside its calls may call back into the add-in from
// any of them. A whole session is played once for every host call it makes, with one hostile
// call of the add-in performed inside that host call. Under the sanitizers nothing may crash or
// touch freed memory; at the end no subscription, local menu, prompt or host object may be left, and
// the stores must have been written exactly once.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>

#include "addin/renumber_tool.h"
#include "addin/tool_table.h"
#include "renumber/renumber_dialog.h"
#include "testing/scripted_dialog_runner.h"
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

// A host that lets go of the add-in inside a call stops that call: a Renumber run (reading, the
// dialog answered OK, writing) and the local menu's options entry in a Number and a Picklist
// placement meet a Terminate (and a Terminate followed by an Initialize) inside each of their host
// calls and inside their dialog. After it the call opens no dialog and makes no host call but the
// close of its undo record; its status is S_OK only when the Terminate came inside its last call.
struct InterruptedCall {
  const char* name;
  // Sets the scene and the user's answers, but for the OK that closes a dialog of the runner.
  std::function<void(ToolSession&, ScriptedDialogRunner&)> prepare;
  std::function<HRESULT(ToolSession&)> call;
};

std::vector<InterruptedCall> InterruptedCalls() {
  const auto optionsEntry = [](ToolSession& s) { return s.tool.DoLMCommand(1); };
  return {
      {"Renumber",
       [](ToolSession& s, ScriptedDialogRunner& runner) {
         runner.DeclareEdit(kRenumberStartAt);
         runner.DeclareEdit(kRenumberPreview);
         s.services.renumber = [&s, &runner](ToolMembers& members, HostApp& app, const std::function<bool()>& held) {
           return RunRenumberTool(members, app, runner, s.codePage, held);
         };
         s.host.Select({s.AddGraphic({u"TCW25DimLead", u"7"}), s.AddGraphic({u"GRAPHIC", u"part"}),
                        s.AddGraphic({u"TCW25DimLead", u"5"})});
         runner.Type(kRenumberStartAt, "1");
         runner.Check(kRenumberReset, kChecked);  // the test adds the OK
       },
       [](ToolSession& s) { return s.Run(RenumberTool); }},
      {"options entry of Number",
       [](ToolSession& s, ScriptedDialogRunner&) {
         s.Run(NumberTool);
         s.services.onOptions = [](ToolMembers& members) { members.RunningNumber = 40; };
       },
       optionsEntry},
      {"options entry of Picklist",
       [](ToolSession& s, ScriptedDialogRunner&) {
         s.services.picks = {u"Valve"};
         s.Run(PicklistTool);
       },
       optionsEntry},
  };
}

TEST(ReentrancySweep, ATerminateInsideEveryHostCallStopsThatCall) {
  const struct Hostile {
    const char* name;
    bool initialize;
  } hostiles[] = {{"Terminate", false}, {"Terminate and Initialize", true}};
  for (const InterruptedCall& interrupted : InterruptedCalls()) {
    std::vector<SimCall> clean;
    {
      ToolSession s;
      ScriptedDialogRunner runner;
      interrupted.prepare(s, runner);
      runner.Click(kIdOk);
      s.host.ClearCalls();
      ASSERT_EQ(S_OK, interrupted.call(s)) << interrupted.name;
      clean = s.host.Calls();
    }
    const int64_t calls = static_cast<int64_t>(clean.size());
    ASSERT_GE(calls, 3) << interrupted.name;
    for (const Hostile& hostile : hostiles) {
      // Point 0 is the dialog; point k the k-th host call of the clean run.
      for (int64_t k = 0; k <= calls; ++k) {
        const std::string what = std::string(interrupted.name) + ": " + hostile.name + " inside " +
                                 (k == 0 ? std::string("the dialog") : clean[static_cast<size_t>(k - 1)].name);
        ToolSession s;
        ScriptedDialogRunner runner;
        interrupted.prepare(s, runner);
        s.host.ClearCalls();
        const int64_t before = s.host.CallCount();
        int64_t letGoAt = -1;
        size_t dialogsAt = 0;
        const auto dialogs = [&s, &runner] {
          return runner.ShownTemplates().size() + runner.Messages().size() +
                 static_cast<size_t>(s.services.Count("ShowOptions") + s.services.Count("ShowPickList"));
        };
        const auto letGo = [&] {
          s.Terminate();
          s.terminated = false;
          if (hostile.initialize) {
            for (int32_t t = 0; t < kToolCount; ++t) {
              bool result = false;
              s.Initialize(t, &result);
            }
          }
          letGoAt = s.host.CallCount();
          dialogsAt = dialogs();
        };
        if (k == 0) {
          s.services.insideDialog = [&letGo](ToolMembers&) { letGo(); };
          runner.Then([&letGo](ScriptedDialog&) { letGo(); });
        } else {
          s.host.DuringCall(k, letGo);
        }
        runner.Click(kIdOk);
        const HRESULT hr = interrupted.call(s);
        ASSERT_NE(-1, letGoAt) << what;
        const std::vector<SimCall>& made = s.host.Calls();
        for (size_t i = static_cast<size_t>(letGoAt - before); i < made.size(); ++i) {
          EXPECT_EQ("IHostUndoRecord.CloseUndoRecord", made[i].name) << what << ": a call after the host let go";
        }
        EXPECT_EQ(dialogsAt, dialogs()) << what << ": a dialog after the host let go";
        const auto count = [&made](const char* name) {
          return std::count_if(made.begin(), made.end(),
                               [name](const SimCall& c) { return c.name == name && SUCCEEDED(c.result); });
        };
        EXPECT_EQ(count("IHostDrawing.OpenUndoRecord"), count("IHostUndoRecord.CloseUndoRecord")) << what;
        EXPECT_EQ(k == calls ? S_OK : E_FAIL, hr) << what;
        // Labels written before the host let go are undone in one step.
        if (count("IHostProperty.SetPropertyValue") > 0 && interrupted.name == std::string("Renumber")) {
          ASSERT_TRUE(s.host.Undo()) << what;
          for (const int32_t id : s.host.Model().Drawing(s.drawing)->selection) {
            const std::u16string info = s.host.Model().Graphic(id)->info;
            EXPECT_TRUE(info == u"7" || info == u"part" || info == u"5") << what;
          }
        }
        s.Terminate();
        EXPECT_EQ(0, s.host.SubscriberCount()) << what;
        EXPECT_EQ(0, s.host.LocalMenuCount()) << what;
        EXPECT_EQ(0, s.host.LiveHandles()) << what;
      }
      std::printf("re-entrancy sweep: %s inside the dialog and %lld host calls of %s\n", hostile.name,
                  static_cast<long long>(calls), interrupted.name);
    }
  }
}

}  // namespace
