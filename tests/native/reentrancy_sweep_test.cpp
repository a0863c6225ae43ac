// Re-entrancy: a host that pumps messages inside its calls may call back into the add-in from
// any of them. A whole session is played once for every host call it makes, with one hostile
// call of the add-in performed inside that host call. Under the sanitizers nothing may crash or
// touch freed memory; at the end no subscription, local menu, prompt or host object may be left, and
// the stores must have been written exactly once.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>

#include "addin/tool/renumber_glue.h"
#include "addin/tool/tool_table.h"
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

// A host that lets go of the add-in inside a call stops that call. Each call below meets a
// Terminate (and a Terminate followed by an Initialize) inside each of its host calls and inside
// its dialog. After it the call opens no dialog and asks nothing more of the host but to close
// the undo record and end the subscription it made, or to take back a prompt or menu it set after
// the Terminate had cleared them; no undo record stays open and nothing of the placement is left.
// The three calls whose status is checked give S_OK only when the Terminate came inside their
// last host call, when everything had been done.
struct InterruptedCall {
  const char* name;
  // Sets the scene and the user's answers, but for the OK that closes a dialog of the runner.
  std::function<void(ToolSession&, ScriptedDialogRunner&)> prepare;
  std::function<HRESULT(ToolSession&)> call;
  bool statusChecked = false;
  // Calls that finish a change begun before the host let go: a point leader's text, once out of
  // its leader, still lands in the drawing and in the undo record.
  std::vector<std::string> finishing = {};
};

std::vector<InterruptedCall> InterruptedCalls() {
  const auto optionsEntry = [](ToolSession& s) { return s.tool.DoLMCommand(1); };
  const auto poll = [](int32_t tool) { return [tool](ToolSession& s) { return s.Poll(tool); }; };
  return {
      {"Renumber",
       [](ToolSession& s, ScriptedDialogRunner& runner) {
         runner.DeclareEdit(kRenumberStartAt);
         runner.DeclareEdit(kRenumberPreview);
         s.services.renumber = [&s, &runner](StoredOptions& options, int32_t& runningNumber, HostApp& app,
                                             const std::function<bool()>& held) {
           return RunRenumberTool(options, runningNumber, app, runner, s.codePage, held);
         };
         s.host.Select({s.AddGraphic({u"TCW25DimLead", u"7"}), s.AddGraphic({u"GRAPHIC", u"part"}),
                        s.AddGraphic({u"TCW25DimLead", u"5"})});
         runner.Type(kRenumberStartAt, "1");
         runner.Check(kRenumberReset, kChecked);
       },
       [](ToolSession& s) { return s.Run(RenumberTool); }, true},
      {"options entry of Number",
       [](ToolSession& s, ScriptedDialogRunner&) {
         s.Run(NumberTool);
         s.services.onOptions = [](StoredOptions&, int32_t& runningNumber) { runningNumber = 40; };
       },
       optionsEntry, true},
      {"options entry of Picklist",
       [](ToolSession& s, ScriptedDialogRunner&) {
         s.services.picks = {u"Valve"};
         s.Run(PicklistTool);
       },
       optionsEntry, true},
      {"Run Number", [](ToolSession&, ScriptedDialogRunner&) {}, [](ToolSession& s) { return s.Run(NumberTool); }},
      {"Run Picklist", [](ToolSession& s, ScriptedDialogRunner&) { s.services.picks = {u"Valve"}; },
       [](ToolSession& s) { return s.Run(PicklistTool); }},
      {"Run Object",
       [](ToolSession& s, ScriptedDialogRunner&) {
         s.AddGraphic({u"GRAPHIC", u"A"});
       },
       [](ToolSession& s) { return s.Run(ObjectTool); }},
      {"poll after a leader",
       [](ToolSession& s, ScriptedDialogRunner&) {
         s.Run(NumberTool);
         s.host.PlaceLeader();
       },
       poll(NumberTool)},
      {"poll after a point leader",
       [](ToolSession& s, ScriptedDialogRunner&) {
         s.Run(NumberTool);
         s.host.PlaceLeader(1);
       },
       poll(NumberTool),
       false,
       {"IHostGraphicList.AppendGraphic", "IHostUndoRecord.NoteAddedGraphic"}},
      {"poll after a picklist leader",
       [](ToolSession& s, ScriptedDialogRunner&) {
         s.services.picks = {u"Valve", u"Gate"};
         s.Run(PicklistTool);
         s.host.PlaceLeader();
       },
       poll(PicklistTool)},
      {"selection of the base object",
       [](ToolSession& s, ScriptedDialogRunner&) {
         const int32_t object = s.AddGraphic({u"GRAPHIC", u"A"});
         s.Run(ObjectTool);
         s.host.Model().SetSelection(s.drawing, {object});  // the event follows in the call
       },
       [](ToolSession& s) {
         HostRef<HostDrawing> drawing = s.host.Drawing(s.drawing);
         return s.tool.SelectionChange(drawing.get());
       }},
      {"click during a placement", [](ToolSession& s, ScriptedDialogRunner&) { s.Run(NumberTool); },
       [](ToolSession& s) { return s.tool.MouseDown(); }},
  };
}

// What one interrupted call left behind.
struct Interruption {
  HRESULT status = E_UNEXPECTED;
  std::vector<std::string> callsAfter;  // the host calls made after the host let go
  size_t dialogsAfter = 0;
  bool undoRecordsClosed = false, placementLeft = false;
  bool textsRestored = false;  // one undo gives the selected graphics their texts back
};

// Plays `interrupted` with the host letting go inside host call `k` (0: inside the dialog).
Interruption Interrupt(const InterruptedCall& interrupted, int64_t k, bool initialize) {
  ToolSession s;
  ScriptedDialogRunner runner;
  interrupted.prepare(s, runner);
  s.host.ClearCalls();
  const int64_t before = s.host.CallCount();
  const auto texts = [&s] {
    std::vector<std::u16string> infos;
    for (const int32_t id : s.host.Model().Drawing(s.drawing)->selection)
      infos.push_back(s.host.Model().Graphic(id)->info);
    return infos;
  };
  const std::vector<std::u16string> textsBefore = texts();
  int64_t letGoAt = -1;
  size_t dialogsAt = 0;
  const auto dialogs = [&s, &runner] {
    return runner.ShownTemplates().size() + runner.Messages().size() +
           static_cast<size_t>(s.services.Count("ShowOptions") + s.services.Count("ShowPickList"));
  };
  const auto letGo = [&] {
    if (letGoAt != -1) return;
    s.Terminate();
    s.terminated = false;
    for (int32_t t = 0; initialize && t < kToolCount; ++t) {
      bool result = false;
      s.Initialize(t, &result);
    }
    letGoAt = s.host.CallCount();
    dialogsAt = dialogs();
  };
  if (k == 0) {
    s.services.insideDialog = [&letGo](StoredOptions&) { letGo(); };
    runner.Then([&letGo](ScriptedDialog&) { letGo(); });
  } else {
    s.host.DuringCall(k, letGo);
  }
  runner.Click(kIdOk);
  Interruption result;
  result.status = interrupted.call(s);
  if (letGoAt == -1) return result;
  const std::vector<SimCall>& made = s.host.Calls();
  for (size_t i = static_cast<size_t>(letGoAt - before); i < made.size(); ++i)
    result.callsAfter.push_back(made[i].name);
  result.dialogsAfter = dialogs() - dialogsAt;
  const auto count = [&made](const char* name) {
    return std::count_if(made.begin(), made.end(),
                         [name](const SimCall& c) { return c.name == name && SUCCEEDED(c.result); });
  };
  result.undoRecordsClosed = count("IHostDrawing.OpenUndoRecord") == count("IHostUndoRecord.CloseUndoRecord");
  result.placementLeft = s.host.SubscriberCount() != 0 || s.host.LocalMenuCount() != 0 || !s.host.Prompt().empty();
  if (count("IHostUndoRecord.CloseUndoRecord") > 0) s.host.Undo();
  result.textsRestored = texts() == textsBefore;
  s.Terminate();
  EXPECT_EQ(0, s.host.LiveHandles()) << interrupted.name << " " << k;
  return result;
}

TEST(ReentrancySweep, ATerminateInsideEveryHostCallStopsThatCall) {
  const std::vector<std::string> allowedAfter = {"IHostUndoRecord.CloseUndoRecord", "IHostApp.UnsubscribeEvents",
                                                 "IHostAddinServices.ShowPrompt", "IHostAddinServices.SetLocalMenu"};
  for (const InterruptedCall& interrupted : InterruptedCalls()) {
    std::vector<SimCall> clean;
    bool dialog = false;
    {
      ToolSession s;
      ScriptedDialogRunner runner;
      interrupted.prepare(s, runner);
      runner.Click(kIdOk);
      s.host.ClearCalls();
      const size_t dialogsBefore = s.services.calls.size();
      ASSERT_EQ(S_OK, interrupted.call(s)) << interrupted.name;
      clean = s.host.Calls();
      dialog = !runner.ShownTemplates().empty() || s.services.calls.size() != dialogsBefore;
    }
    const int64_t calls = static_cast<int64_t>(clean.size());
    for (const bool initialize : {false, true}) {
      for (int64_t k = dialog ? 0 : 1; k <= calls; ++k) {
        const std::string what = std::string(interrupted.name) + ": " +
                                 (initialize ? "Terminate and Initialize" : "Terminate") + " inside " +
                                 (k == 0 ? std::string("the dialog") : clean[static_cast<size_t>(k - 1)].name) + " (" +
                                 std::to_string(k) + ")";
        const Interruption result = Interrupt(interrupted, k, initialize);
        for (const std::string& call : result.callsAfter) {
          const auto& finishing = interrupted.finishing;
          EXPECT_TRUE(std::find(allowedAfter.begin(), allowedAfter.end(), call) != allowedAfter.end() ||
                      std::find(finishing.begin(), finishing.end(), call) != finishing.end())
              << what << ": " << call << " after the host let go";
        }
        EXPECT_EQ(0u, result.dialogsAfter) << what << ": a dialog after the host let go";
        EXPECT_TRUE(result.undoRecordsClosed) << what;
        EXPECT_FALSE(result.placementLeft) << what;
        if (interrupted.statusChecked) {
          EXPECT_EQ(k == calls ? S_OK : E_FAIL, result.status) << what;
        }
        EXPECT_TRUE(result.textsRestored) << what << ": what was written is undone in one step";
      }
      std::printf("re-entrancy sweep: %s inside %s%lld host calls of %s\n",
                  initialize ? "Terminate and Initialize" : "Terminate", dialog ? "the dialog and " : "",
                  static_cast<long long>(calls), interrupted.name);
    }
  }
}

}  // namespace
