// Initialize and Terminate: the connection to the host, the stores read and written once, and
// the tools' Run dispatch.
#include <gtest/gtest.h>

#include "addin/tool/tool_table.h"
#include "testing/tool_session.h"

namespace {

TEST(Lifecycle, InitializeConnectsOnceAndReadsTheStoresFirst) {
  ToolSession s;  // initializes all five tools
  EXPECT_EQ((std::vector<std::string>{"LoadSettings", "LoadPickList"}), s.services.calls);
  EXPECT_EQ(1001, s.hostMembers().SelectCommandId);
  EXPECT_EQ(2001, s.hostMembers().LeaderCommandId);
  EXPECT_EQ("10.5", s.hostMembers().HostVersion);
  EXPECT_TRUE(s.hostMembers().App && s.hostMembers().AddinServices && s.hostMembers().Commands &&
              s.hostMembers().LeaderTool);
  s.host.ClearCalls();
  bool result = false;
  EXPECT_EQ(S_OK, s.Initialize(NumberTool, &result));
  EXPECT_TRUE(result);
  EXPECT_TRUE(s.host.Calls().empty()) << "a second Initialize touches nothing";
}

TEST(Lifecycle, TerminateSavesOnceAndReleasesEverything) {
  ToolSession s;
  EXPECT_EQ(S_OK, s.Terminate());
  EXPECT_EQ(1, s.services.Count("SaveSettings"));
  EXPECT_EQ(1, s.services.Count("SavePickList"));
  EXPECT_EQ(0, s.host.LiveHandles());
  EXPECT_FALSE(s.hostMembers().App || s.hostMembers().AddinServices || s.hostMembers().Commands ||
               s.hostMembers().LeaderTool);
}

TEST(Lifecycle, FailedLookUpKeepsWhatWasObtained) {
  SimHost host;
  FakeToolServices services;
  Windows1252CodePage codePage;
  ToolObject tool(services, codePage);
  HostRef<HostTool> thisTool = host.Tool(0);
  host.ClearCalls();
  // ReadApplication, then LookUpCommand (the app's other interfaces come by QueryInterface).
  host.FailCall(2, static_cast<HRESULT>(0x80040154));
  bool result = false;
  EXPECT_EQ(static_cast<HRESULT>(0x80040154), tool.Initialize(thisTool.get(), &result));
  EXPECT_FALSE(result);
  EXPECT_EQ("IHostCommands.LookUpCommand", host.Calls().at(1).name);
  const HostMembers& held = ToolObjectView(tool).host();
  EXPECT_TRUE(held.App && held.AddinServices && held.Commands);
  EXPECT_FALSE(held.LeaderTool);
  EXPECT_EQ(1, services.Count("LoadSettings"));
  // A later call sees HostApp and answers at once; nothing uses the missing leader tool.
  EXPECT_EQ(S_OK, tool.Initialize(thisTool.get(), &result));
  EXPECT_TRUE(result);
  EXPECT_EQ(1, services.Count("LoadSettings"));
  ToolStatus status;
  EXPECT_EQ(S_OK, tool.UpdateToolStatus(thisTool.get(), &status));
  EXPECT_EQ(false, status.enabled) << "no version text was read";
  EXPECT_EQ(S_OK, tool.Terminate());
  thisTool.reset();
  EXPECT_EQ(0, host.LiveHandles());
}

TEST(Lifecycle, FailedApplicationReadRetriesWithoutReloadingTheStores) {
  SimHost host;
  FakeToolServices services;
  Windows1252CodePage codePage;
  ToolObject tool(services, codePage);
  HostRef<HostTool> thisTool = host.Tool(0);
  host.FailCall(1, E_FAIL);
  bool result = false;
  EXPECT_EQ(E_FAIL, tool.Initialize(thisTool.get(), &result));
  EXPECT_EQ(S_OK, tool.Initialize(thisTool.get(), &result));
  EXPECT_TRUE(result);
  EXPECT_EQ(1, services.Count("LoadSettings"));
  EXPECT_EQ(1, services.Count("LoadPickList"));
  tool.Terminate();
}

TEST(Lifecycle, RunOfTheOtherTools) {
  ToolSession s;
  bool result = false;
  EXPECT_EQ(S_OK, s.Run(RenumberTool, &result));
  EXPECT_TRUE(result);
  EXPECT_EQ(1, s.services.Count("RenumberSelection"));
  s.services.renumberResult = E_ACCESSDENIED;
  result = false;
  EXPECT_EQ(E_ACCESSDENIED, s.Run(RenumberTool, &result));
  EXPECT_FALSE(result);
  EXPECT_EQ(S_OK, s.Run(OptionsTool, &result));
  EXPECT_TRUE(result);
  EXPECT_EQ(1, s.services.Count("ShowOptions"));
  result = false;
  EXPECT_EQ(S_OK, s.Run(7, &result));
  EXPECT_TRUE(result);
  EXPECT_EQ(E_POINTER, s.tool.Run(nullptr, &result));
}

TEST(Lifecycle, NoDrawingFailsThePlacingToolsWithEPointer) {
  ToolSession s;
  s.host.SetActiveDrawing(0);
  for (int32_t tool : {NumberTool, PicklistTool, ObjectTool}) {
    bool result = false;
    EXPECT_EQ(E_POINTER, s.Run(tool, &result)) << tool;
    EXPECT_FALSE(result);
  }
}

}  // namespace

namespace {

// A host that pumps messages reaches the add-in inside its dialogs. A Terminate there waits
// with the save until the dialog has ended, so that what the user confirms is written, once;
// a Run there opens no second dialog and still reports the tool run.
TEST(Lifecycle, CallsThatArriveInsideADialog) {
  struct Case {
    const char* name;
    int32_t tool;  // run to open its dialog
    const char* dialog;
  };
  for (const Case& c : {Case{"Picklist", PicklistTool, "ShowPickList"}, Case{"Options", OptionsTool, "ShowOptions"},
                        Case{"Renumber", RenumberTool, "RenumberSelection"}}) {
    ToolSession s;
    int savesInside = -1;
    HRESULT nestedRun = E_UNEXPECTED;
    bool nestedResult = false;
    bool inside = false;
    s.services.insideDialog = [&](StoredOptions& options) {
      if (inside) return;
      inside = true;
      nestedRun = s.Run(OptionsTool, &nestedResult);
      EXPECT_EQ(0, s.services.Count("ShowOptions") - (c.tool == OptionsTool)) << c.name << ": a second dialog";
      for (int i = 0; i < kToolCount; ++i) s.tool.Terminate();
      savesInside = s.services.Count("SaveSettings") + s.services.Count("SavePickList");
      options.TLDefFormat = 2;  // the user's choice, confirmed after the host let go
    };
    bool result = false;
    EXPECT_EQ(E_FAIL, s.Run(c.tool, &result)) << c.name << ": terminated while it ran";
    EXPECT_FALSE(result) << c.name;
    EXPECT_EQ(1, s.services.Count(c.dialog)) << c.name;
    EXPECT_EQ(S_OK, nestedRun) << c.name;
    EXPECT_TRUE(nestedResult) << c.name;
    EXPECT_EQ(0, savesInside) << c.name << ": saved while the dialog was open";
    EXPECT_EQ(1, s.services.Count("SaveSettings")) << c.name;
    EXPECT_EQ(1, s.services.Count("SavePickList")) << c.name;
    EXPECT_EQ(2, s.options().TLDefFormat) << c.name;
    EXPECT_EQ(0, s.host.SubscriberCount()) << c.name;
    s.Terminate();
    EXPECT_EQ(1, s.services.Count("SaveSettings")) << c.name << ": written once";
    EXPECT_EQ(0, s.host.LiveHandles()) << c.name;
  }
}

}  // namespace
