// The local menu of a running placement: its entries for each tool and what each entry does.
#include <gtest/gtest.h>

#include "addin/tool/placement_constants.h"
#include "addin/tool/tool_table.h"
#include "labels/label_format.h"
#include "testing/tool_session.h"

namespace {

TEST(LocalMenu, EntriesOfEachTool) {
  const struct {
    int32_t tool;
    std::u16string caption;
    std::u16string prompt;
  } cases[] = {
      {NumberTool, u"(TL) Decrement Num", u"Increment current Number for Tallyline"},
      {PicklistTool, u"(TL) Reselect Picklist", u"Reselect text from Picklist for Tallyline"},
      {ObjectTool, u"(TL) Reselect Object", u"Reselect Object base for Tallyline"},
  };
  for (const auto& c : cases) {
    ToolSession s;
    s.AddGraphic({});
    ASSERT_EQ(S_OK, s.Run(c.tool));
    ASSERT_EQ(2, s.host.LocalMenuCount());
    const HostLocalMenu& menu = s.host.LocalMenu();
    EXPECT_EQ((std::vector<std::u16string>{c.caption, u"Tallyline Options"}), menu.captions);
    EXPECT_EQ((std::vector<std::u16string>{c.prompt, u"Set running Tallyline Options"}), menu.prompts);
    EXPECT_EQ((std::vector<bool>{true, true}), menu.flags1);
    EXPECT_EQ((std::vector<bool>{false, false}), menu.flags2);
    EXPECT_EQ(-1, s.host.LocalMenuLast());
  }
}

TEST(LocalMenu, DecrementStopsAtZero) {
  ToolSession s;
  ASSERT_EQ(S_OK, s.Run(NumberTool));
  EXPECT_EQ(S_OK, s.tool.DoLMCommand(0));
  EXPECT_EQ(0, s.placement().RunningNumber);
  EXPECT_EQ(u"E!Range 1 - 999", s.LeaderToolText());
  EXPECT_EQ(S_OK, s.tool.DoLMCommand(0));
  EXPECT_EQ(0, s.placement().RunningNumber);
}

TEST(LocalMenu, OptionsAndReselectEntries) {
  ToolSession s;
  s.services.onOptions = [](StoredOptions& options, int32_t&) { options.TLDefFormat = Roman; };
  s.placement().RunningNumber = 14;
  ASSERT_EQ(S_OK, s.Run(NumberTool));
  EXPECT_EQ(S_OK, s.tool.DoLMCommand(1));
  EXPECT_EQ(u"xiv", s.LeaderToolText());
  EXPECT_EQ(S_OK, s.tool.DoLMCommand(2));
  EXPECT_EQ(S_OK, s.tool.DoLMCommand(-1));
  EXPECT_EQ(1, s.services.Count("ShowOptions"));
  s.Run(NumberTool);

  s.services.picks = {u"First", u"Second"};
  ASSERT_EQ(S_OK, s.Run(PicklistTool));
  EXPECT_EQ(S_OK, s.tool.DoLMCommand(0));
  EXPECT_EQ(u"Second", s.LeaderToolText());
  s.Run(PicklistTool);

  const int32_t a = s.AddGraphic({u"GRAPHIC", u"A"});
  ASSERT_EQ(S_OK, s.Run(ObjectTool));
  s.host.Select({a});
  ASSERT_EQ(Placing, s.placement().PlacementState);
  EXPECT_EQ(S_OK, s.tool.DoLMCommand(0));
  EXPECT_EQ(AwaitingObject, s.placement().PlacementState);
  EXPECT_EQ(kObjectPrompt, s.host.Prompt());
}

TEST(LocalMenu, NothingWithoutAPlacement) {
  ToolSession s;
  EXPECT_EQ(S_OK, s.tool.DoLMCommand(0));
  EXPECT_EQ(S_OK, s.tool.DoLMCommand(1));
  EXPECT_EQ(1, s.placement().RunningNumber);
  EXPECT_EQ(0, s.services.Count("ShowOptions"));
}

}  // namespace
