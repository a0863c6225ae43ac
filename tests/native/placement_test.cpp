// Leader placement against the simulated host: the Number, Picklist and Object tools from start
// to end, the progress check of the status polls, and the point-leader conversion.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <vector>

#include "addin/tool/placement_constants.h"
#include "addin/tool/tool_table.h"
#include "labels/label_format.h"
#include "testing/tool_session.h"

namespace {

constexpr int32_t kLeaderCommand = 2001;
constexpr int32_t kSelectCommand = 1001;

TEST(NumberPlacement, RunStartsTheLeaderCommandWithTheCurrentLabel) {
  ToolSession s;
  bool result = false;
  ASSERT_EQ(S_OK, s.Run(NumberTool, &result));
  EXPECT_TRUE(result);
  EXPECT_EQ(kLeaderCommand, s.host.ActiveCommand());
  EXPECT_EQ(u"1", s.LeaderToolText());
  EXPECT_EQ(NumberTool, s.placement().ActiveTool);
  EXPECT_EQ(Placing, s.placement().PlacementState);
  ASSERT_EQ(1, s.host.SubscriberCount());
  EXPECT_EQ(kPlacementEventMask, s.host.SubscribedMask(s.placement().EventCookie));
  EXPECT_EQ(2, s.host.LocalMenuCount());
  EXPECT_EQ(-1, s.host.LocalMenuLast());
}

TEST(NumberPlacement, RunningTheToolAgainEndsThePlacement) {
  ToolSession s;
  ASSERT_EQ(S_OK, s.Run(NumberTool));
  s.host.SetLeaderToolText(u"typed by the user");
  bool result = false;
  ASSERT_EQ(S_OK, s.Run(NumberTool, &result));
  EXPECT_TRUE(result);
  EXPECT_EQ(u"", s.host.Prompt());
  EXPECT_EQ(0, s.host.LocalMenuCount());
  EXPECT_EQ(0, s.host.SubscriberCount());
  EXPECT_EQ(-1, s.placement().ActiveTool);
  EXPECT_EQ(-1, s.placement().EventCookie);
  EXPECT_EQ(Idle, s.placement().PlacementState);
  EXPECT_EQ(u"typed by the user", s.LeaderToolText()) << "the second run starts nothing";
}

TEST(NumberPlacement, EachLeaderAdvancesTheNumber) {
  ToolSession s;
  ASSERT_EQ(S_OK, s.Run(NumberTool));
  std::vector<std::u16string> infos;
  for (int i = 0; i < 3; ++i) {
    const int32_t leader = s.host.PlaceLeader();
    ASSERT_NE(0, leader);
    infos.push_back(s.host.Model().Graphic(leader)->info);
    s.PollAll();
  }
  EXPECT_EQ((std::vector<std::u16string>{u"1", u"2", u"3"}), infos);
  EXPECT_EQ(4, s.placement().RunningNumber);
  EXPECT_EQ(u"4", s.LeaderToolText());
}

TEST(NumberPlacement, TwoLeadersBetweenPollsAdvanceByTwo) {
  ToolSession s;
  s.options().TLDefConvertPoint = false;
  ASSERT_EQ(S_OK, s.Run(NumberTool));
  s.host.PlaceLeader();
  s.host.PlaceLeader();
  ASSERT_EQ(S_OK, s.Poll(NumberTool));
  EXPECT_EQ(3, s.placement().RunningNumber);
  EXPECT_EQ(u"3", s.LeaderToolText());
}

TEST(NumberPlacement, UndoTakesTheNumberBackButNotBelowTheStart) {
  ToolSession s;
  s.AddGraphic({});  // a graphic from before the placement
  ASSERT_EQ(S_OK, s.Run(NumberTool));
  s.host.PlaceLeader();
  s.Poll(NumberTool);
  s.host.PlaceLeader();
  s.Poll(NumberTool);
  ASSERT_EQ(3, s.placement().RunningNumber);
  ASSERT_TRUE(s.host.Undo());
  s.Poll(NumberTool);
  EXPECT_EQ(2, s.placement().RunningNumber);
  EXPECT_EQ(u"2", s.LeaderToolText());
  ASSERT_TRUE(s.host.Undo());
  s.Poll(NumberTool);
  EXPECT_EQ(1, s.placement().RunningNumber);
  EXPECT_EQ(u"1", s.LeaderToolText());
}

TEST(NumberPlacement, NumberNeverFallsBelowOne) {
  ToolSession s;
  ASSERT_EQ(S_OK, s.Run(NumberTool));
  s.host.PlaceLeader();
  s.host.PlaceLeader();
  s.Poll(NumberTool);               // 3
  s.placement().RunningNumber = 1;  // the user stepped it down from the local menu
  s.host.Undo();
  s.Poll(NumberTool);
  EXPECT_EQ(1, s.placement().RunningNumber);
}

TEST(NumberPlacement, CountBelowTheStartOnlyRewritesTheText) {
  ToolSession s;
  s.AddGraphic({});
  ASSERT_EQ(S_OK, s.Run(NumberTool));
  // The user deletes an older graphic by undoing a record that added it.
  HostRef<HostDrawing> drawing = s.host.Drawing(s.drawing);
  HostRef<HostUndoRecord> record;
  ASSERT_EQ(S_OK, drawing->OpenUndoRecord(u"add", &record));
  HostRef<HostGraphicList> list;
  ASSERT_EQ(S_OK, drawing->ReadGraphicList(&list));
  HostRef<HostGraphic> graphic;
  ASSERT_EQ(S_OK, list->PickItem(0, &graphic));
  ASSERT_EQ(S_OK, record->NoteAddedGraphic(*graphic));
  list.reset();
  ASSERT_EQ(S_OK, record->CloseUndoRecord());
  graphic.reset();
  record.reset();
  drawing.reset();
  ASSERT_TRUE(s.host.Undo());
  s.host.SetLeaderToolText(u"changed");
  ASSERT_EQ(S_OK, s.Poll(NumberTool));
  EXPECT_EQ(1, s.placement().RunningNumber);
  EXPECT_EQ(1, s.placement().LastGraphicCount) << "the count is kept";
  EXPECT_EQ(u"1", s.LeaderToolText());
}

TEST(NumberPlacement, LabelFormatsAndTheRangeText) {
  ToolSession s;
  s.options().TLDefFormat = Letters;
  s.placement().RunningNumber = 27;
  ASSERT_EQ(S_OK, s.Run(NumberTool));
  EXPECT_EQ(u"AA", s.LeaderToolText());
  s.Run(NumberTool);

  s.options().TLDefFormat = -1;  // a negative format counts as Arabic
  s.placement().RunningNumber = 12;
  ASSERT_EQ(S_OK, s.Run(NumberTool));
  EXPECT_EQ(u"12", s.LeaderToolText());
  s.Run(NumberTool);
}

// Each leader advances by the step, a removed one and the local menu go one step back; at 0 the
// range text stands without the prefix.
TEST(NumberPlacement, PrefixAndStep) {
  ToolSession s;
  s.options().TLDefPrefix = "P-";
  s.options().TLDefStep = 10;
  ASSERT_EQ(S_OK, s.Run(NumberTool));
  s.host.PlaceLeader();
  s.host.PlaceLeader();
  ASSERT_EQ(S_OK, s.Poll(NumberTool));
  EXPECT_EQ(u"P-21", s.LeaderToolText());
  ASSERT_TRUE(s.host.Undo());
  ASSERT_EQ(S_OK, s.Poll(NumberTool));
  EXPECT_EQ(u"P-11", s.LeaderToolText());
  EXPECT_EQ(S_OK, s.tool.DoLMCommand(0));
  EXPECT_EQ(u"P-1", s.LeaderToolText());
  EXPECT_EQ(S_OK, s.tool.DoLMCommand(0));
  EXPECT_EQ(u"E!Range 1 - 999", s.LeaderToolText());
}

TEST(NumberPlacement, NumberOutOfRangeWritesTheRangeTextAndStillPlaces) {
  ToolSession s;
  s.options().TLDefFormat = Letters;
  s.placement().RunningNumber = 702;
  bool result = false;
  ASSERT_EQ(S_OK, s.Run(NumberTool, &result));
  EXPECT_EQ(u"ZZ", s.LeaderToolText());
  s.host.PlaceLeader();
  EXPECT_EQ(E_FAIL, s.Poll(NumberTool)) << "the label's failure goes to the host";
  EXPECT_EQ(u"E!Range 1 - 702", s.LeaderToolText()) << "never the previous label again";
  const int32_t leader = s.host.PlaceLeader();
  EXPECT_EQ(u"E!Range 1 - 702", s.host.Model().Graphic(leader)->info);

  ToolSession t;
  t.placement().RunningNumber = 1000;
  result = false;
  EXPECT_EQ(S_OK, t.Run(NumberTool, &result)) << "a running placement is no failure";
  EXPECT_TRUE(result) << "the placement completes";
  EXPECT_EQ(Placing, t.placement().PlacementState);
  EXPECT_EQ(1, t.host.SubscriberCount());
  EXPECT_EQ(u"E!Range 1 - 999", t.LeaderToolText());
}

// With "continue" the Number tool starts one past the drawing's highest label in its format.
// Each host call of that reading failing (or giving no object) ends Run with its failure before
// the leader command starts.
TEST(NumberPlacement, ContinuesAfterTheDrawingsHighestLabel) {
  const auto scene = [](ToolSession& s, bool continues) {
    s.options().TLDefContinue = continues;
    s.options().TLDefFormat = Letters;
    for (const char16_t* text : {u"C", u"12", u"E", u"Note"}) s.AddGraphic({u"TCW25DimLead", text});
    s.AddGraphic({u"GRAPHIC", u"Z"});
    s.host.ClearCalls();
  };
  for (const bool continues : {false, true}) {
    ToolSession s;
    scene(s, continues);
    ASSERT_EQ(S_OK, s.Run(NumberTool));
    EXPECT_EQ(continues ? u"F" : u"A", s.LeaderToolText());
  }
  ToolSession clean;
  scene(clean, true);
  clean.Run(NumberTool);
  std::vector<SimCall> calls = clean.host.Calls();
  const auto refresh =
      std::find_if(calls.begin(), calls.end(), [](const SimCall& c) { return c.name == "IHostView.RefreshView"; });
  const ptrdiff_t first = refresh - calls.begin() + 1, reads = 2 + 5 * 2 + 4 * 3;  // list, graphics, texts
  ASSERT_EQ("IHostProperty.GetPropertyValue", calls[static_cast<size_t>(first + reads - 3)].name);
  for (ptrdiff_t k = first; k < first + reads; ++k) {
    for (const bool none : {false, true}) {
      if (none && !calls[static_cast<size_t>(k)].gaveObject) continue;
      ToolSession s;
      scene(s, true);
      none ? s.host.GiveNoObject(k + 1) : s.host.FailCall(k + 1, E_ACCESSDENIED);
      EXPECT_EQ(none ? E_POINTER : E_ACCESSDENIED, s.Run(NumberTool)) << calls[static_cast<size_t>(k)].name;
      EXPECT_NE(kLeaderCommand, s.host.ActiveCommand()) << calls[static_cast<size_t>(k)].name;
      EXPECT_EQ(1, s.placement().RunningNumber);
    }
  }
}

// A failure from Run means nothing was started: a format the labels do not know fails before
// the leader command starts; a negative one counts as Arabic.
TEST(NumberPlacement, UnknownFormatStartsNothing) {
  for (int32_t format : {3, 7, -4}) {
    ToolSession s;
    s.options().TLDefFormat = format;
    s.host.SetLeaderToolText(u"before");
    bool result = false;
    const HRESULT hr = s.Run(NumberTool, &result);
    if (format < 0) {
      EXPECT_EQ(S_OK, hr);
      EXPECT_EQ(u"1", s.LeaderToolText());
      continue;
    }
    EXPECT_TRUE(FAILED(hr)) << format;
    EXPECT_FALSE(result) << format;
    EXPECT_EQ(u"before", s.LeaderToolText()) << format;
    EXPECT_EQ(0, s.host.ActiveCommand()) << format;
    EXPECT_EQ(0, s.host.SubscriberCount()) << format;
    EXPECT_EQ(0, s.host.LocalMenuCount()) << format;
    EXPECT_EQ(-1, s.placement().ActiveTool) << format;
  }
}

TEST(NumberPlacement, MouseDownRewritesTheTextOnlyWhilePlacing) {
  ToolSession s;
  s.host.MouseDown(1, 0, 10, 20);  // no subscriber: nothing arrives
  EXPECT_TRUE(s.events->delivered.empty());
  ASSERT_EQ(S_OK, s.Run(NumberTool));
  s.host.SetLeaderToolText(u"overwritten");
  s.host.MouseDown(1, 0, 10, 20);
  EXPECT_EQ(u"1", s.LeaderToolText());
  EXPECT_EQ(S_OK, s.tool.MouseDown());
  s.Run(NumberTool);
  s.host.SetLeaderToolText(u"kept");
  EXPECT_EQ(S_OK, s.tool.MouseDown());
  EXPECT_EQ(u"kept", s.LeaderToolText());
}

TEST(NumberPlacement, HostToolOrDrawingEventEndsThePlacement) {
  for (int32_t dispid : {kDispRunTool, kDispBeforeExit, kDispDrawingNew, kDispDrawingOpen, kDispDrawingActivate,
                         kDispDrawingDeactivate, kDispDrawingBeforeClose, kDispDrawingBeforeSave}) {
    ToolSession s;
    ASSERT_EQ(S_OK, s.Run(NumberTool));
    if (dispid == kDispRunTool) {
      s.host.UserPicksHostTool(4001);
    } else {
      s.host.RaiseDrawingEvent(dispid);
    }
    EXPECT_EQ(-1, s.placement().ActiveTool) << dispid;
    EXPECT_EQ(0, s.host.SubscriberCount()) << dispid;
    EXPECT_EQ(0, s.host.LocalMenuCount()) << dispid;
  }
}

TEST(PicklistPlacement, RunWhileNumberRunsEndsItOnly) {
  ToolSession s;
  ASSERT_EQ(S_OK, s.Run(NumberTool));
  ASSERT_EQ(S_OK, s.Run(PicklistTool));
  EXPECT_EQ(-1, s.placement().ActiveTool);
  EXPECT_EQ(0, s.host.SubscriberCount());
  EXPECT_EQ(0, s.services.Count("ShowPickList"));
  s.services.picks = {u"Valve"};
  ASSERT_EQ(S_OK, s.Run(PicklistTool));
  EXPECT_EQ(PicklistTool, s.placement().ActiveTool);
  EXPECT_EQ(u"Valve", s.LeaderToolText());
}

TEST(PicklistPlacement, AutoPickAsksAgainAfterEachLeader) {
  ToolSession s;
  s.services.picks = {u"Valve", u"Pump", std::nullopt};
  ASSERT_EQ(S_OK, s.Run(PicklistTool));
  const int32_t first = s.host.PlaceLeader();
  s.PollAll();
  EXPECT_EQ(u"Pump", s.LeaderToolText());
  const int32_t second = s.host.PlaceLeader();
  s.PollAll();
  EXPECT_EQ(u"Pump", s.LeaderToolText()) << "Cancel keeps the text";
  EXPECT_EQ(u"Valve", s.host.Model().Graphic(first)->info);
  EXPECT_EQ(u"Pump", s.host.Model().Graphic(second)->info);
  EXPECT_EQ(3, s.services.Count("ShowPickList"));

  s.Run(PicklistTool);
  s.options().TLPickAutoPick = false;
  s.Run(PicklistTool);
  s.host.PlaceLeader();
  s.PollAll();
  EXPECT_EQ(4, s.services.Count("ShowPickList")) << "only the start asks";
}

TEST(PicklistPlacement, EmptyPickTextIsWritten) {
  ToolSession s;
  s.host.SetLeaderToolText(u"old");
  ASSERT_EQ(S_OK, s.Run(PicklistTool));
  EXPECT_EQ(u"", s.LeaderToolText());
}

// ---- Point-leader conversion ----

int32_t CountGraphics(ToolSession& s) {
  return static_cast<int32_t>(s.host.Model().Drawing(s.drawing)->graphics.size());
}

TEST(PointLeader, TextBecomesAGraphicOfItsOwnUnderOneUndoRecord) {
  ToolSession s;
  ASSERT_EQ(S_OK, s.Run(NumberTool));
  const int32_t leader = s.host.PlaceLeader(1);
  ASSERT_EQ(S_OK, s.Poll(NumberTool));
  EXPECT_EQ(2, CountGraphics(s));
  EXPECT_EQ(4u, s.host.Model().Graphic(leader)->children.size());
  const std::vector<std::u16string> captions = s.host.UndoCaptions();
  ASSERT_FALSE(captions.empty());
  EXPECT_EQ(u"TL Text", captions.back());
  EXPECT_EQ(2, s.placement().RunningNumber);
  // The appended text is no new leader: the next poll does not skip a number.
  ASSERT_EQ(S_OK, s.Poll(NumberTool));
  EXPECT_EQ(2, s.placement().RunningNumber);
  EXPECT_EQ(u"2", s.LeaderToolText());
  s.host.PlaceLeader(1);
  s.Poll(NumberTool);
  EXPECT_EQ(3, s.placement().RunningNumber);
}

TEST(PointLeader, UndoGivesTheTextBackToTheLeader) {
  ToolSession s;
  ASSERT_EQ(S_OK, s.Run(NumberTool));
  const int32_t leader = s.host.PlaceLeader(1);
  s.Poll(NumberTool);
  ASSERT_TRUE(s.host.Undo());
  EXPECT_EQ(5u, s.host.Model().Graphic(leader)->children.size());
  EXPECT_EQ(1, CountGraphics(s));
}

// Undoing a conversion takes its text out of the drawing: no leader went away, so neither the
// number falls nor the pick dialog comes up; undoing the leader itself counts.
TEST(PointLeader, UndoingTheConversionIsNoLeaderTakenBack) {
  for (int32_t tool : {NumberTool, PicklistTool}) {
    ToolSession s;
    s.services.picks = {u"A", u"B", u"C"};
    ASSERT_EQ(S_OK, s.Run(tool));
    s.host.PlaceLeader(1);
    s.Poll(tool);
    const int picksBefore = s.services.Count("ShowPickList");
    ASSERT_EQ(2, s.placement().RunningNumber - (tool == PicklistTool ? -1 : 0));
    ASSERT_TRUE(s.host.Undo());  // the text goes back into its leader
    s.Poll(tool);
    EXPECT_EQ(picksBefore, s.services.Count("ShowPickList")) << tool;
    EXPECT_EQ(tool == NumberTool ? 2 : 1, s.placement().RunningNumber) << tool;
    ASSERT_TRUE(s.host.Undo());  // the leader itself
    s.Poll(tool);
    EXPECT_EQ(1, s.placement().RunningNumber) << tool;
    if (tool == NumberTool) {
      const int32_t again = s.host.PlaceLeader();
      EXPECT_EQ(u"1", s.host.Model().Graphic(again)->info) << "no label is given twice";
    } else {
      EXPECT_EQ(picksBefore + 1, s.services.Count("ShowPickList")) << "a leader went away";
    }
  }
}

// Undoing the second point leader's conversion and the leader itself between two polls takes back
// the one leader and its text: the next label is 2 again, never a repeated 1.
TEST(PointLeader, UndoingConversionAndLeaderBetweenPollsTakesBackOne) {
  ToolSession s;
  ASSERT_EQ(S_OK, s.Run(NumberTool));
  s.host.PlaceLeader(1);
  s.Poll(NumberTool);
  s.host.PlaceLeader(1);
  s.Poll(NumberTool);
  ASSERT_EQ(4, CountGraphics(s));
  ASSERT_TRUE(s.host.Undo());  // the second conversion
  ASSERT_TRUE(s.host.Undo());  // the second leader
  ASSERT_EQ(S_OK, s.Poll(NumberTool));
  EXPECT_EQ(2, s.placement().RunningNumber);
  EXPECT_EQ(u"2", s.LeaderToolText());
}

// A host that answers with another success code the call whose code a method hands on (its last
// call; the unsubscription when a placement ends) sees that code from the method, never S_OK.
TEST(NumberPlacement, TheLastCallsSuccessCodeGoesToTheHost) {
  struct Case {
    const char* name;
    std::function<void(ToolSession&)> setup;
    std::function<HRESULT(ToolSession&)> act;
    const char* answering;  // the last call of this name
  };
  const Case cases[] = {
      {"Run starting Number", [](ToolSession&) {}, [](ToolSession& s) { return s.Run(NumberTool); },
       "IHostApp.SubscribeEvents"},
      {"Run starting Object", [](ToolSession& s) { s.AddGraphic({}); },
       [](ToolSession& s) { return s.Run(ObjectTool); }, "IHostAddinServices.ShowPrompt"},
      {"Run ending a placement", [](ToolSession& s) { s.Run(NumberTool); },
       [](ToolSession& s) { return s.Run(PicklistTool); }, "IHostApp.UnsubscribeEvents"},
      {"poll writing the next text",
       [](ToolSession& s) {
         s.Run(NumberTool);
         s.host.PlaceLeader();
       },
       [](ToolSession& s) { return s.Poll(NumberTool); }, "IHostProperty.SetPropertyValue"},
      {"poll seeing no change", [](ToolSession& s) { s.Run(NumberTool); },
       [](ToolSession& s) { return s.Poll(NumberTool); }, "IHostGraphicList.CountItems"},
  };
  for (const Case& c : cases) {
    int64_t last = 0;
    {
      ToolSession clean;
      c.setup(clean);
      clean.host.ClearCalls();
      ASSERT_EQ(S_OK, c.act(clean)) << c.name;
      const std::vector<SimCall>& calls = clean.host.Calls();
      for (size_t i = 0; i < calls.size(); ++i) {
        if (calls[i].name == c.answering) last = static_cast<int64_t>(i) + 1;
      }
      ASSERT_GT(last, 0) << c.name;
    }
    ToolSession s;
    c.setup(s);
    s.host.SucceedCallWith(last, S_FALSE);
    EXPECT_EQ(S_FALSE, c.act(s)) << c.name;
  }
}

TEST(PointLeader, LeadersThatAreNotPointLeadersStayWhole) {
  struct Case {
    int children;
    int vertices;
  };
  for (Case c : {Case{5, 2}, Case{4, 1}, Case{3, 1}, Case{5, 0}}) {
    ToolSession s;
    ASSERT_EQ(S_OK, s.Run(NumberTool));
    const int32_t leader = s.host.PlaceLeaderWithChildren(c.children, c.vertices);
    ASSERT_EQ(S_OK, s.Poll(NumberTool));
    EXPECT_EQ(static_cast<size_t>(c.children), s.host.Model().Graphic(leader)->children.size());
    EXPECT_EQ(u"1", s.host.Model().Graphic(leader)->info) << "the leader keeps its text";
    EXPECT_EQ(1, CountGraphics(s));
    EXPECT_EQ(2, s.placement().RunningNumber);
  }
}

TEST(PointLeader, ConversionOffLeavesTheLeader) {
  ToolSession s;
  s.options().TLDefConvertPoint = false;
  ASSERT_EQ(S_OK, s.Run(NumberTool));
  const int32_t leader = s.host.PlaceLeader(1);
  s.Poll(NumberTool);
  EXPECT_EQ(5u, s.host.Model().Graphic(leader)->children.size());
}

TEST(PointLeader, FailedAppendGivesTheTextBack) {
  ToolSession s;
  ASSERT_EQ(S_OK, s.Run(NumberTool));
  const int32_t leader = s.host.PlaceLeader(1);
  HostRef<HostDrawing> drawing = s.host.Drawing(s.drawing);
  HostRef<HostGraphicList> list;
  ASSERT_EQ(S_OK, drawing->ReadGraphicList(&list));
  // Calls: CountItems, PickItem, ReadChildGraphics, CountItems, ReadOwnerDrawing, PickItem,
  // ReadVertexList, CountItems, OpenUndoRecord, NoteChangedGraphic, ExtractItem, AppendGraphic.
  s.host.ClearCalls();
  s.host.FailCall(12, E_FAIL);
  int32_t appended = -1;
  EXPECT_EQ(E_FAIL, s.tool.ConvertPointLeader(*list, &appended));
  EXPECT_EQ("IHostGraphicList.AppendGraphic", s.host.Calls().at(11).name);
  EXPECT_EQ(0, appended);
  EXPECT_EQ(5u, s.host.Model().Graphic(leader)->children.size()) << "the text is back in its leader";
}

// ---- Object tool ----

TEST(ObjectPlacement, WaitsForAnObjectAndTakesTheFirstSelected) {
  ToolSession s;
  const int32_t a = s.AddGraphic({u"GRAPHIC", u"Pump P-101"});
  const int32_t b = s.AddGraphic({u"GRAPHIC", u"Valve"});
  const int32_t c = s.AddGraphic({u"GRAPHIC", u"Tank"});
  ASSERT_EQ(S_OK, s.Run(ObjectTool));
  EXPECT_EQ(AwaitingObject, s.placement().PlacementState);
  EXPECT_EQ(kSelectCommand, s.host.ActiveCommand());
  EXPECT_EQ(kObjectPrompt, s.host.Prompt());
  EXPECT_TRUE(s.placement().EndOnRunTool);
  EXPECT_EQ(ObjectTool, s.placement().ActiveTool) << "the select command's RunTool did not end it";

  s.host.Select({});
  EXPECT_EQ(E_FAIL, s.tool.SelectionChange(s.host.Drawing(s.drawing).get()));
  EXPECT_EQ(AwaitingObject, s.placement().PlacementState);
  EXPECT_EQ(kObjectPrompt, s.host.Prompt());

  s.host.Select({b, c, a});
  EXPECT_EQ(Placing, s.placement().PlacementState);
  EXPECT_EQ(kLeaderCommand, s.host.ActiveCommand());
  EXPECT_EQ(u"Valve", s.LeaderToolText());
  EXPECT_EQ(u"", s.host.Prompt());
  EXPECT_EQ(ObjectTool, s.placement().ActiveTool);
}

TEST(ObjectPlacement, RearmsAfterOneLeaderNotAfterTwo) {
  ToolSession s;
  const int32_t a = s.AddGraphic({u"GRAPHIC", u"A"});
  ASSERT_EQ(S_OK, s.Run(ObjectTool));
  s.host.Select({a});
  s.host.PlaceLeader();
  ASSERT_EQ(S_OK, s.Poll(ObjectTool));
  EXPECT_EQ(AwaitingObject, s.placement().PlacementState);
  EXPECT_EQ(kSelectCommand, s.host.ActiveCommand());
  EXPECT_EQ(kObjectPrompt, s.host.Prompt());

  s.host.Select({a});
  s.host.PlaceLeader();
  s.host.PlaceLeader();
  ASSERT_EQ(S_OK, s.Poll(ObjectTool));
  EXPECT_EQ(Placing, s.placement().PlacementState);
  EXPECT_EQ(kLeaderCommand, s.host.ActiveCommand());
}

TEST(ObjectPlacement, HostToolAfterTheBaseObjectEndsIt) {
  ToolSession s;
  const int32_t a = s.AddGraphic({u"GRAPHIC", u"A"});
  ASSERT_EQ(S_OK, s.Run(ObjectTool));
  s.host.Select({a});
  ASSERT_EQ(Placing, s.placement().PlacementState);
  s.host.UserPicksHostTool(4001);
  EXPECT_EQ(Idle, s.placement().PlacementState);
  EXPECT_EQ(-1, s.placement().ActiveTool);
  EXPECT_EQ(0, s.host.SubscriberCount());
}

TEST(ObjectPlacement, FailedCommandStartIsForgottenByTheNextPlacement) {
  ToolSession s;
  s.AddGraphic({});
  s.host.ClearCalls();
  // Run: ReadToolIndex, ReadActiveDrawing, ReadGraphicList, CountItems, ReadSelection,
  // ClearSelection, ReadActiveView, RefreshView, SubscribeEvents, ShowPrompt, SetLocalMenu x2,
  // StartCommand (the select command).
  s.host.FailCall(13, E_ACCESSDENIED);
  EXPECT_EQ(E_ACCESSDENIED, s.Run(ObjectTool));
  EXPECT_EQ("IHostCommands.StartCommand", s.host.Calls().at(12).name);
  EXPECT_FALSE(s.placement().EndOnRunTool);
  ASSERT_EQ(S_OK, s.Run(ObjectTool));  // ends the half-started placement
  EXPECT_TRUE(s.placement().EndOnRunTool);
  ASSERT_EQ(S_OK, s.Run(NumberTool));
  s.host.UserPicksHostTool(4001);
  EXPECT_EQ(-1, s.placement().ActiveTool) << "RunTool ends placements again";
}

TEST(Termination, EndsARunningPlacementAndStillSucceeds) {
  ToolSession s;
  ASSERT_EQ(S_OK, s.Run(NumberTool));
  s.host.FailCall(1, E_FAIL);  // the prompt cannot be cleared; the rest is still done
  EXPECT_EQ(S_OK, s.Terminate());
  EXPECT_EQ(0, s.host.SubscriberCount());
  EXPECT_EQ(0, s.host.LocalMenuCount());
  EXPECT_EQ(-1, s.placement().EventCookie);
  EXPECT_EQ(Idle, s.placement().PlacementState);
  EXPECT_EQ(0, s.host.LiveHandles());
}

}  // namespace
