// Whole drawing sessions: the real DLL placing leaders in the simulated host, driven through
// Invoke as a host drives it, with the host's events coming back to the add-in by Invoke.
#include <gtest/gtest.h>

#include "addin_session.h"

namespace {

constexpr int32_t kNumber = 0, kPicklist = 1, kObject = 2, kRenumber = 3, kOptions = 4;
constexpr int32_t kLeaderCommand = 2001, kSelectCommand = 1001, kLineCommand = 4001;
const std::u16string kObjectPrompt = u"Varnkit_TL : Select the object you wish to base the leader on";

TEST(PlacementSession, NumberToolTwiceStartsThenEnds) {
  AddinSession s;
  VARIANT_BOOL result = 0;
  ASSERT_EQ(S_OK, s.Run(kNumber, &result));
  EXPECT_EQ(1, result) << "1, never -1";
  EXPECT_EQ(kLeaderCommand, s.host.ActiveCommand());
  EXPECT_EQ(u"1", s.host.LeaderToolText());
  EXPECT_EQ(1, s.host.SubscriberCount());
  EXPECT_EQ(2, s.host.LocalMenuCount());
  EXPECT_EQ(u"(TL) Decrement Num", s.host.LocalMenu().captions.at(0));

  s.host.SetLeaderToolText(u"typed");
  ASSERT_EQ(S_OK, s.Run(kNumber, &result));
  EXPECT_EQ(u"", s.host.Prompt());
  EXPECT_EQ(0, s.host.LocalMenuCount());
  EXPECT_EQ(0, s.host.SubscriberCount());
  EXPECT_EQ(u"typed", s.host.LeaderToolText());
}

TEST(PlacementSession, LeadersCarryTheRunningNumber) {
  AddinSession s;
  ASSERT_EQ(S_OK, s.Run(kNumber));
  const int32_t first = s.host.PlaceLeader();
  s.PollAll();
  const int32_t second = s.host.PlaceLeader();
  const int32_t third = s.host.PlaceLeader();  // two leaders between two polls
  s.PollAll();
  EXPECT_EQ(u"1", s.Info(first));
  EXPECT_EQ(u"2", s.Info(second));
  EXPECT_EQ(u"2", s.Info(third)) << "placed before the poll that advanced the number";
  EXPECT_EQ(u"4", s.host.LeaderToolText());
  VARIANT_BOOL enabled = 0, checked = 0;
  EXPECT_EQ(S_OK, s.Poll(kNumber, &enabled, &checked));
  EXPECT_EQ(1, enabled);
  EXPECT_EQ(1, checked);
  EXPECT_EQ(S_OK, s.Poll(kPicklist, &enabled, &checked));
  EXPECT_EQ(0, checked);
}

TEST(PlacementSession, UndoTakesTheNumberBackButNotBelowTheStart) {
  AddinSession s;
  ASSERT_EQ(S_OK, s.Run(kNumber));
  s.host.PlaceLeader();
  s.PollAll();
  s.host.PlaceLeader();
  s.PollAll();
  ASSERT_EQ(u"3", s.host.LeaderToolText());
  ASSERT_TRUE(s.host.Undo());
  s.PollAll();
  EXPECT_EQ(u"2", s.host.LeaderToolText());
  ASSERT_TRUE(s.host.Undo());
  s.PollAll();
  EXPECT_EQ(u"1", s.host.LeaderToolText());
  s.host.SetLeaderToolText(u"x");
  s.PollAll();
  EXPECT_EQ(u"x", s.host.LeaderToolText()) << "no change in count, nothing written";
}

TEST(PlacementSession, PicklistRunWhileNumberRunsEndsNumberOnly) {
  AddinSession s;
  ASSERT_EQ(S_OK, s.Run(kNumber));
  VARIANT_BOOL result = 0;
  ASSERT_EQ(S_OK, s.Run(kPicklist, &result));
  EXPECT_EQ(1, result);
  EXPECT_EQ(0, s.host.SubscriberCount());
  EXPECT_EQ(0, s.host.LocalMenuCount());
  ASSERT_EQ(S_OK, s.Run(kPicklist));
  EXPECT_EQ(1, s.host.SubscriberCount());
  EXPECT_EQ(u"(TL) Reselect Picklist", s.host.LocalMenu().captions.at(0));
}

TEST(PlacementSession, ObjectToolWaitsTakesTheFirstAndRearms) {
  AddinSession s;
  const int32_t pump = s.AddGraphic(Graphic(u"GRAPHIC", u"Pump"));
  const int32_t valve = s.AddGraphic(Graphic(u"GRAPHIC", u"Valve"));
  const int32_t tank = s.AddGraphic(Graphic(u"GRAPHIC", u"Tank"));
  ASSERT_EQ(S_OK, s.Run(kObject));
  EXPECT_EQ(kSelectCommand, s.host.ActiveCommand());
  EXPECT_EQ(kObjectPrompt, s.host.Prompt());

  s.host.Select({});
  EXPECT_EQ(E_FAIL, s.SelectionChange()) << "an empty selection";
  EXPECT_EQ(kObjectPrompt, s.host.Prompt()) << "still waiting";
  EXPECT_EQ(kSelectCommand, s.host.ActiveCommand());

  s.host.Select({valve, tank, pump});
  EXPECT_EQ(kLeaderCommand, s.host.ActiveCommand());
  EXPECT_EQ(u"Valve", s.host.LeaderToolText());
  const int32_t leader = s.host.PlaceLeader();
  s.PollAll();
  EXPECT_EQ(u"Valve", s.Info(leader));
  EXPECT_EQ(kSelectCommand, s.host.ActiveCommand()) << "asks for the next object";
  EXPECT_EQ(kObjectPrompt, s.host.Prompt());

  s.host.Select({tank});
  s.host.PlaceLeader();
  s.host.PlaceLeader();
  s.PollAll();
  EXPECT_EQ(kLeaderCommand, s.host.ActiveCommand()) << "two graphics in one poll: no re-arm";
}

TEST(PlacementSession, HostToolEndsAnObjectPlacement) {
  AddinSession s;
  const int32_t pump = s.AddGraphic(Graphic(u"GRAPHIC", u"Pump"));
  ASSERT_EQ(S_OK, s.Run(kObject));
  s.host.Select({pump});
  ASSERT_EQ(1, s.host.SubscriberCount());
  s.host.UserPicksHostTool(kLineCommand);
  EXPECT_EQ(0, s.host.SubscriberCount());
  EXPECT_EQ(0, s.host.LocalMenuCount());
  VARIANT_BOOL checked = 1;
  s.Poll(kObject, nullptr, &checked);
  EXPECT_EQ(0, checked);
}

TEST(PlacementSession, PointLeaderConversionUnderOneUndoRecord) {
  AddinSession s;
  ASSERT_EQ(S_OK, s.Run(kNumber));
  const int32_t leader = s.host.PlaceLeader(1);
  s.PollAll();
  EXPECT_EQ(2u, s.GraphicCount());
  EXPECT_EQ(4u, s.host.Model().Graphic(leader)->children.size());
  ASSERT_FALSE(s.host.UndoCaptions().empty());
  EXPECT_EQ(u"TL Text", s.host.UndoCaptions().back());
  s.PollAll();
  EXPECT_EQ(u"2", s.host.LeaderToolText()) << "the text taken out is no new leader";
}

TEST(PlacementSession, VersionGates) {
  const struct {
    std::u16string version;
    VARIANT_BOOL number, renumber;
  } cases[] = {{u"8.1", 0, 0}, {u"8.2", 1, 0}, {u"10.5", 1, 1}};
  for (const auto& c : cases) {
    AddinSession s(c.version);
    const int32_t leader = s.AddGraphic(Graphic(u"TCW25DimLead"));
    s.host.Select({leader});
    VARIANT_BOOL enabled = 0x55, checked = 0x55;
    EXPECT_EQ(S_OK, s.Poll(kNumber, &enabled, &checked));
    EXPECT_EQ(c.number, enabled);
    EXPECT_EQ(0, checked);
    EXPECT_EQ(S_OK, s.Poll(kRenumber, &enabled, &checked));
    EXPECT_EQ(c.renumber, enabled);
    EXPECT_EQ(S_OK, s.Poll(kOptions, &enabled, &checked));
    EXPECT_EQ(c.number, enabled);
  }
}

TEST(PlacementSession, NoDrawingAndEmptyDrawing) {
  AddinSession s;
  s.host.SetActiveDrawing(0);
  VARIANT_BOOL enabled = 0x55, result = 0x55;
  for (int32_t tool : {kNumber, kPicklist, kObject, kRenumber}) {
    EXPECT_EQ(S_OK, s.Poll(tool, &enabled));
    EXPECT_EQ(0, enabled) << tool;
  }
  EXPECT_EQ(S_OK, s.Poll(kOptions, &enabled, nullptr, &result));
  EXPECT_EQ(1, enabled);
  EXPECT_EQ(0, result) << "Options leaves the result alone: Invoke's own empty value";
  EXPECT_EQ(E_POINTER, s.Run(kNumber)) << "no drawing to place in";

  s.host.SetActiveDrawing(s.drawing);
  EXPECT_EQ(S_OK, s.Poll(kObject, &enabled));
  EXPECT_EQ(0, enabled) << "nothing to base a leader on";
  EXPECT_EQ(S_OK, s.Poll(kNumber, &enabled));
  EXPECT_EQ(1, enabled);
}

TEST(PlacementSession, RenumberNeedsALeaderInTheSelection) {
  AddinSession s;
  const int32_t a = s.AddGraphic(Graphic(u"GRAPHIC"));
  const int32_t leader = s.AddGraphic(Graphic(u"TCW25DimLead"));
  s.host.Select({a});
  VARIANT_BOOL enabled = 0x55;
  s.Poll(kRenumber, &enabled);
  EXPECT_EQ(0, enabled);
  s.host.Select({a, leader});
  s.Poll(kRenumber, &enabled);
  EXPECT_EQ(1, enabled);
}

TEST(PlacementSession, LocalMenuDecrementStopsAtZero) {
  AddinSession s;
  ASSERT_EQ(S_OK, s.Run(kNumber));
  const HostLocalMenu& menu = s.host.LocalMenu();
  EXPECT_EQ((std::vector<std::u16string>{u"(TL) Decrement Num", u"Tallyline Options"}), menu.captions);
  EXPECT_EQ((std::vector<std::u16string>{u"Increment current Number for Tallyline", u"Set running Tallyline Options"}),
            menu.prompts);
  EXPECT_EQ((std::vector<bool>{true, true}), menu.flags1);
  EXPECT_EQ((std::vector<bool>{false, false}), menu.flags2);
  EXPECT_EQ(S_OK, s.DoLMCommand(0));
  EXPECT_EQ(u"E!Range 1 - 999", s.host.LeaderToolText()) << "number 0 is out of range";
  EXPECT_EQ(S_OK, s.DoLMCommand(0));
  s.host.PlaceLeader();
  s.PollAll();
  EXPECT_EQ(u"1", s.host.LeaderToolText()) << "from 0 the next leader brings it back to 1";
}

TEST(PlacementSession, MouseDownOutsideAPlacement) {
  AddinSession s;
  VARIANT_BOOL cancel = 0x55;
  s.host.SetLeaderToolText(u"mine");
  EXPECT_EQ(S_OK, s.MouseDown(&cancel));
  EXPECT_EQ(0, cancel);
  EXPECT_EQ(u"mine", s.host.LeaderToolText());
  ASSERT_EQ(S_OK, s.Run(kNumber));
  s.host.SetLeaderToolText(u"changed by the user");
  s.host.MouseDown(1, 0, 5, 5);  // the host delivers it
  EXPECT_EQ(u"1", s.host.LeaderToolText());
}

TEST(PlacementSession, TerminateDuringAPlacementUnsubscribes) {
  auto s = std::make_unique<AddinSession>();
  ASSERT_EQ(S_OK, s->Run(kNumber));
  ASSERT_EQ(1, s->host.SubscriberCount());
  s.reset();  // terminates, releases and checks that nothing is left
}

}  // namespace
