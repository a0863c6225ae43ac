// The host's status polls: version gates, drawing and selection.
#include <gtest/gtest.h>

#include "addin/tool/tool_table.h"
#include "testing/tool_session.h"

namespace {

struct Button {
  std::optional<bool> enabled, checked, result;
};

Button Poll(ToolSession& s, int32_t tool) {
  ToolStatus status;
  EXPECT_EQ(S_OK, s.Poll(tool, &status)) << "tool " << tool;
  return {status.enabled, status.checked, status.result};
}

TEST(ToolStatus, VersionGates) {
  const struct {
    std::u16string version;
    bool numberEnabled;
    bool renumberEnabled;
  } cases[] = {
      {u"8.1", false, false}, {u"8.2", true, false}, {u"8.9.1", true, false}, {u"9.0", true, true},
      {u"10.5", true, true},  {u"", false, false},   {u"abc", false, false},  {u"2019", true, true},
  };
  for (const auto& c : cases) {
    ToolSession s(c.version);
    s.AddGraphic({u"TCW25DimLead"});
    s.host.Select({1});
    for (int32_t tool = 0; tool < 5; ++tool) {
      const Button b = Poll(s, tool);
      const std::string what =
          "version " + std::string(c.version.begin(), c.version.end()) + " tool " + std::to_string(tool);
      if (!c.numberEnabled) {
        EXPECT_EQ(false, b.enabled) << what;
        EXPECT_EQ(false, b.checked) << what;
        EXPECT_FALSE(b.result) << what << ": the result is not written below the first version";
        continue;
      }
      const bool expected = tool == RenumberTool ? c.renumberEnabled : true;
      EXPECT_EQ(expected, b.enabled) << what;
      EXPECT_EQ(false, b.checked) << what;
    }
  }
}

TEST(ToolStatus, NoDrawingAndEmptyDrawing) {
  ToolSession s;
  s.host.SetActiveDrawing(0);
  EXPECT_EQ(false, Poll(s, NumberTool).enabled);
  EXPECT_EQ(false, Poll(s, PicklistTool).enabled);
  EXPECT_EQ(false, Poll(s, ObjectTool).enabled);
  EXPECT_EQ(false, Poll(s, RenumberTool).enabled);
  EXPECT_EQ(true, Poll(s, OptionsTool).enabled);
  EXPECT_EQ(true, Poll(s, NumberTool).result);
  EXPECT_FALSE(Poll(s, OptionsTool).result) << "Options writes no result";
  EXPECT_FALSE(Poll(s, RenumberTool).result);

  s.host.SetActiveDrawing(s.drawing);  // a drawing without graphics
  EXPECT_EQ(true, Poll(s, NumberTool).enabled);
  EXPECT_EQ(true, Poll(s, PicklistTool).enabled);
  EXPECT_EQ(false, Poll(s, ObjectTool).enabled);
  s.AddGraphic({});
  EXPECT_EQ(true, Poll(s, ObjectTool).enabled);
}

TEST(ToolStatus, OutOfRangeToolIndexWritesNothing) {
  ToolSession s;
  HostRef<HostTool> tool = s.host.Tool(9);
  ToolStatus status;
  EXPECT_EQ(S_OK, s.tool.UpdateToolStatus(tool.get(), &status));
  EXPECT_FALSE(status.enabled);
  EXPECT_FALSE(status.checked);
  EXPECT_FALSE(status.result);
}

TEST(ToolStatus, RunningToolIsChecked) {
  ToolSession s;
  ASSERT_EQ(S_OK, s.Run(NumberTool));
  EXPECT_EQ(true, Poll(s, NumberTool).checked);
  EXPECT_EQ(false, Poll(s, PicklistTool).checked);
  EXPECT_EQ(false, Poll(s, ObjectTool).checked);
  EXPECT_EQ(false, Poll(s, RenumberTool).checked);
}

TEST(ToolStatus, RenumberNeedsALeaderInTheSelection) {
  ToolSession s;
  const int32_t a = s.AddGraphic({u"GRAPHIC"});
  const int32_t b = s.AddGraphic({u"GRAPHIC"});
  const int32_t leader = s.AddGraphic({u"TCW25DimLead"});
  const int32_t lower = s.AddGraphic({u"tcw25dimlead"});
  s.host.Select({a, b});
  EXPECT_EQ(false, Poll(s, RenumberTool).enabled);
  s.host.Select({a, lower});
  EXPECT_EQ(false, Poll(s, RenumberTool).enabled) << "compared exactly";
  s.host.Select({a, b, leader});
  EXPECT_EQ(true, Poll(s, RenumberTool).enabled);
}

}  // namespace
