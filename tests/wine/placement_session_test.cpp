// What the host's scripts (tests/wine/scripts) cannot see of a drawing session: the add-in's
// answers as Invoke returns them, events the host raises by hand, and the end of a session.
#include <gtest/gtest.h>

#include "addin_session.h"

namespace {

TEST(PlacementSession, RunAnswersOneNeverMinusOne) {
  AddinSession s;
  VARIANT_BOOL result = 0;
  ASSERT_EQ(S_OK, s.Run(kNumber, &result));
  EXPECT_EQ(1, result) << "1, never -1";
  s.host.SetLeaderToolText(u"typed");
  result = 0;
  ASSERT_EQ(S_OK, s.Run(kNumber, &result));
  EXPECT_EQ(1, result) << "ending a placement answers the same";
  EXPECT_EQ(u"typed", s.host.LeaderToolText()) << "ending writes no text";
}

TEST(PlacementSession, NoDrawingLeavesOptionsResultAndFailsRun) {
  AddinSession s;
  s.host.SetActiveDrawing(0);
  VARIANT_BOOL enabled = 0x55, result = 0x55;
  EXPECT_EQ(S_OK, s.Poll(kOptions, &enabled, nullptr, &result));
  EXPECT_EQ(1, enabled);
  EXPECT_EQ(0, result) << "Options leaves the result alone: Invoke's own empty value";
  EXPECT_EQ(E_POINTER, s.Run(kNumber)) << "no drawing to place in";
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
