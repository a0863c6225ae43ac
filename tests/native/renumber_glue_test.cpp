// The Renumber tool on the tool object when the host terminates the add-in while the dialog is
// open: OK keeps the chosen options for the deferred save but writes nothing to the drawing.
#include "addin/tool/renumber_glue.h"

#include <gtest/gtest.h>

#include "addin/tool/tool_table.h"
#include "renumber/renumber_dialog.h"
#include "testing/scripted_dialog_runner.h"
#include "testing/tool_session.h"

namespace {

TEST(RenumberTool, TerminateDuringTheDialogKeepsTheOptionsAndWritesNothing) {
  ToolSession s;
  ScriptedDialogRunner runner;
  runner.DeclareEdit(kRenumberStartAt);
  s.services.renumber = [&](StoredOptions& options, int32_t& runningNumber, HostApp& app,
                            const std::function<bool()>& held) {
    return RunRenumberTool(options, runningNumber, app, runner, s.codePage, held);
  };
  const int32_t leader = s.AddGraphic({u"TCW25DimLead", u"7"});
  s.host.Select({leader, s.AddGraphic({u"TCW25DimLead", u"5"})});
  runner.Type(kRenumberStartAt, "1");
  runner.Check(kRenumberReset, kChecked);
  runner.Then([&s](ScriptedDialog&) { s.Terminate(); });
  runner.Click(kIdOk);
  EXPECT_EQ(E_FAIL, s.Run(RenumberTool)) << "terminated meanwhile";
  EXPECT_EQ(u"7", s.host.Model().Graphic(leader)->info);
  EXPECT_TRUE(s.host.UndoCaptions().empty());
  EXPECT_TRUE(s.options().TLDefRenReset) << "kept for the deferred save";
  EXPECT_EQ(1, s.placement().RunningNumber) << "no sequence was written to continue";
  EXPECT_EQ(1, s.services.Count("SaveSettings")) << "saved once, when the dialog ended";
  EXPECT_EQ(0, s.host.LiveHandles());
}

// The table's default tolerance and its limit are the dialog's own (the glue copies the text).
TEST(RenumberTool, TheStoredToleranceIsTheDialogs) {
  const StoredOption* tolerance = FindStoredOption("TLDefRenTolerance");
  ASSERT_NE(nullptr, tolerance);
  EXPECT_STREQ(kDefaultRenumberTolerance, tolerance->defaultText);
  EXPECT_EQ(kToleranceTextLength, tolerance->maxLength);
}

}  // namespace
