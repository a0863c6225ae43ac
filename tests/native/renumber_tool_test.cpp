// The Renumber tool on the tool object: Run hands its members to the operation and takes back
// what the user confirmed, also when the host terminates the add-in while the dialog is open.
#include "addin/renumber_tool.h"

#include <gtest/gtest.h>

#include "addin/tool_table.h"
#include "renumber/renumber_dialog.h"
#include "testing/scripted_dialog_runner.h"
#include "testing/tool_session.h"

namespace {

class RenumberToolTest : public testing::Test {
 protected:
  void SetUp() override {
    runner.DeclareEdit(kRenumberStartAt);
    runner.DeclareEdit(kRenumberPreview);
    s.services.renumber = [this](ToolMembers& members, HostApp& app) {
      return RunRenumberTool(members, app, runner, s.codePage);
    };
    for (const char16_t* text : {u"7", u"5", u"9"}) leaders.push_back(s.AddGraphic({u"TCW25DimLead", text}));
    s.host.Select(leaders);
    s.members().TLDefRenFixOrder = false;
  }
  std::vector<std::u16string> Texts() const {
    std::vector<std::u16string> texts;
    for (int32_t id : leaders) texts.push_back(s.host.Model().Graphic(id)->info);
    return texts;
  }

  ToolSession s;
  ScriptedDialogRunner runner;
  std::vector<int32_t> leaders;
};

TEST_F(RenumberToolTest, OkStoresTheChoicesAndTheNumberToolGoesOn) {
  runner.Type(kRenumberStartAt, "1");
  runner.Check(kRenumberReset, kChecked);
  runner.Then([](ScriptedDialog& d) {
    d.SetCheck(kRenumberFormatButtons[Arabic], kUnchecked);
    d.SetCheck(kRenumberFormatButtons[Letters], kChecked);
  });
  runner.Click(kIdOk);
  bool result = false;
  EXPECT_EQ(S_OK, s.Run(RenumberTool, &result));
  EXPECT_TRUE(result);
  EXPECT_EQ((std::vector<std::u16string>{u"C", u"A", u"E"}), Texts());
  EXPECT_FALSE(s.members().TLDefRenFixOrder);
  EXPECT_TRUE(s.members().TLDefRenReset);
  EXPECT_EQ(NumericLeaders, s.members().TLDefRenObjects);
  EXPECT_EQ(6, s.members().RunningNumber);
  EXPECT_EQ(Letters, s.members().TLDefFormat);
  EXPECT_EQ(S_OK, s.Run(NumberTool));
  EXPECT_EQ(u"F", s.LeaderToolText()) << "the Number tool continues the new sequence";
}

TEST_F(RenumberToolTest, TerminateDuringTheDialogKeepsTheOptionsAndWritesNothing) {
  runner.Check(kRenumberReset, kChecked);
  runner.Then([this](ScriptedDialog&) { s.Terminate(); });
  runner.Click(kIdOk);
  EXPECT_EQ(E_FAIL, s.Run(RenumberTool)) << "terminated meanwhile";
  EXPECT_EQ((std::vector<std::u16string>{u"7", u"5", u"9"}), Texts());
  EXPECT_TRUE(s.host.UndoCaptions().empty());
  EXPECT_TRUE(s.members().TLDefRenReset) << "kept for the deferred save";
  EXPECT_EQ(1, s.members().RunningNumber) << "no sequence was written to continue";
  EXPECT_EQ(1, s.services.Count("SaveSettings"));
  EXPECT_EQ(0, s.host.LiveHandles());
}

}  // namespace
