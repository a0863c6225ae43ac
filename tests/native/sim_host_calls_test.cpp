// The simulated host as the add-in meets it at run time: selection and events, commands, the
// application and its services, the leader tool, call recording and fault injection.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "tests/native/sim_host_fixture.h"

namespace {

using simtest::MaskFor;
using simtest::RecordingTarget;

class SimHostCallsTest : public simtest::SimHostTest {};

// --- Selection and events ---

TEST_F(SimHostCallsTest, SelectionChangeReachesOnlyMasksWithItsBitUnderTheSelectCommand) {
  auto withBit = std::make_shared<RecordingTarget>();
  auto without = std::make_shared<RecordingTarget>();
  int32_t cookie = 0;
  ASSERT_EQ(S_OK, host.SubscribeWith(withBit, MaskFor(kDispSelectionChange), &cookie));
  ASSERT_EQ(S_OK, host.SubscribeWith(without, ~MaskFor(kDispSelectionChange), &cookie));
  const int32_t a = host.AddGraphic(drawing, SimGraphicSpec{});
  const int32_t b = host.AddGraphic(drawing, SimGraphicSpec{});

  EXPECT_TRUE(host.Select({a}));
  EXPECT_TRUE(withBit->events.empty()) << "no select command yet";
  host.UserPicksHostTool(kSimCommandSelect);
  EXPECT_TRUE(host.Select({b, a}));
  ASSERT_EQ(1u, withBit->events.size());
  EXPECT_EQ(kDispSelectionChange, withBit->events[0].dispid);
  EXPECT_EQ(drawing, withBit->events[0].drawingId);
  EXPECT_FALSE(host.Select({a, 999}));
  EXPECT_EQ(1u, withBit->events.size());
  for (const SimEvent& event : without->events) EXPECT_NE(kDispSelectionChange, event.dispid);

  HostRef<HostSelection> selection;
  ASSERT_EQ(S_OK, host.Drawing(drawing)->ReadSelection(&selection));
  int32_t count = 0;
  ASSERT_EQ(S_OK, selection->CountItems(&count));
  ASSERT_EQ(2, count);
  HostRef<HostGraphic> first;
  ASSERT_EQ(S_OK, selection->PickItem(0, &first));
  EXPECT_EQ(b, dynamic_cast<SimGraphicHandle&>(*first).GraphicId());
  EXPECT_EQ(E_INVALIDARG, selection->PickItem(2, &first));
  ASSERT_EQ(S_OK, selection->ClearSelection());
  ASSERT_EQ(S_OK, selection->CountItems(&count));
  EXPECT_EQ(0, count);
}

TEST_F(SimHostCallsTest, DrawingAndMouseEventsFollowTheMaskBits) {
  const int32_t kDispids[] = {kDispBeforeExit,       kDispDrawingNew,        kDispDrawingOpen,
                              kDispDrawingActivate,  kDispDrawingDeactivate, kDispDrawingBeforeClose,
                              kDispDrawingBeforeSave};
  for (int32_t dispid : kDispids) {
    SimHost events;
    events.SetActiveDrawing(events.AddDrawing());
    auto target = std::make_shared<RecordingTarget>();
    auto others = std::make_shared<RecordingTarget>();
    int32_t cookie = 0;
    ASSERT_EQ(S_OK, events.SubscribeWith(target, MaskFor(dispid), &cookie));
    ASSERT_EQ(S_OK, events.SubscribeWith(others, ~MaskFor(dispid), &cookie));
    events.RaiseDrawingEvent(dispid);
    events.RaiseDrawingEvent(kDispMouseDown);
    ASSERT_EQ(1u, target->events.size()) << dispid;
    EXPECT_EQ(dispid, target->events[0].dispid);
    EXPECT_EQ(1, target->events[0].drawingId);
    EXPECT_TRUE(others->events.empty()) << dispid;
  }

  auto mouse = std::make_shared<RecordingTarget>();
  int32_t cookie = 0;
  ASSERT_EQ(S_OK, host.SubscribeWith(mouse, MaskFor(kDispMouseDown), &cookie));
  host.MouseDown(2, 1, -30, 45);
  ASSERT_EQ(1u, mouse->events.size());
  const SimEvent& event = mouse->events[0];
  EXPECT_EQ(kDispMouseDown, event.dispid);
  EXPECT_EQ(2, event.button);
  EXPECT_EQ(1, event.shift);
  EXPECT_EQ(-30, event.x);
  EXPECT_EQ(45, event.y);
  EXPECT_EQ(drawing, event.drawingId);
}

TEST_F(SimHostCallsTest, RunToolIsRaisedInsideStartCommand) {
  auto target = std::make_shared<RecordingTarget>();
  target->onDeliver = [](SimHost& h, const SimEvent&) {
    std::u16string version;
    h.App()->ReadVersionText(0, &version);
  };
  auto app = App();
  auto commands = Commands();
  host.SetDefaultEventTarget(target);
  int32_t cookie = 0;
  ASSERT_EQ(S_OK, app->SubscribeEvents(MaskFor(kDispRunTool), &cookie));
  host.ClearCalls();

  ASSERT_EQ(S_OK, commands->StartCommand(kSimCommandLeader));
  ASSERT_EQ(1u, target->events.size());
  EXPECT_EQ(kSimCommandLeader, target->events[0].commandId);
  EXPECT_EQ(kSimCommandLeader, target->activeCommandSeen[0]);
  EXPECT_EQ((std::vector<std::string>{"IHostCommands.StartCommand", "IHostApp.ReadVersionText"}), CallNames());
  ASSERT_EQ(1u, target->callsSeen[0].size()) << "the event arrived while StartCommand was running";

  EXPECT_EQ(E_INVALIDARG, commands->StartCommand(77));
  EXPECT_EQ(kSimCommandLeader, host.ActiveCommand());
  host.UserPicksHostTool(kSimCommandFileOpen);
  ASSERT_EQ(2u, target->events.size());
  EXPECT_EQ(kSimCommandFileOpen, target->events[1].commandId);
  host.UserPicksAddinTool();
  EXPECT_EQ(0, host.ActiveCommand());
  EXPECT_EQ(2u, target->events.size());
}

TEST_F(SimHostCallsTest, SubscriptionsCountCookiesAndUnsubscribeEvenDuringDelivery) {
  auto app = App();
  auto first = std::make_shared<RecordingTarget>();
  auto second = std::make_shared<RecordingTarget>();
  int32_t firstCookie = -1, secondCookie = -1;
  ASSERT_EQ(S_OK, host.SubscribeWith(first, -1, &firstCookie));
  ASSERT_EQ(S_OK, host.SubscribeWith(second, MaskFor(kDispMouseDown), &secondCookie));
  EXPECT_EQ(1, firstCookie);
  EXPECT_EQ(2, secondCookie);
  EXPECT_EQ(2, host.SubscriberCount());
  EXPECT_EQ(-1, host.SubscribedMask(firstCookie));
  EXPECT_EQ(0, host.SubscribedMask(7));

  // The first subscriber ends the second one's subscription before its turn.
  first->onDeliver = [&](SimHost& h, const SimEvent&) { EXPECT_EQ(S_OK, h.App()->UnsubscribeEvents(secondCookie)); };
  host.MouseDown(1, 0, 0, 0);
  EXPECT_EQ(1u, first->events.size());
  EXPECT_TRUE(second->events.empty());
  first->onDeliver = nullptr;

  EXPECT_EQ(E_INVALIDARG, app->UnsubscribeEvents(secondCookie));
  ASSERT_EQ(S_OK, app->UnsubscribeEvents(firstCookie));
  EXPECT_EQ(0, host.SubscriberCount());
  host.MouseDown(1, 0, 0, 0);
  EXPECT_EQ(1u, first->events.size());
}

// --- Application, services, commands, tools ---

TEST_F(SimHostCallsTest, CommandTableAnswersKnownPathsOnly) {
  struct Case {
    std::u16string path;
    HRESULT result;
    int32_t id;
  };
  const Case kCases[] = {{u"Edit|Select", S_OK, 1001},       {u"Insert|Dimension|Leader", S_OK, 2001},
                         {u"File|Open", S_OK, 3001},         {u"Draw|Line", S_OK, 4001},
                         {u"Draw|Circle", E_INVALIDARG, -5}, {u"", E_INVALIDARG, -5},
                         {u"edit|select", E_INVALIDARG, -5}};
  HostRef<HostCommands> commands;
  ASSERT_EQ(S_OK, App()->QueryCommands(&commands));
  for (const Case& c : kCases) {
    int32_t id = -5;
    EXPECT_EQ(c.result, commands->LookUpCommand(c.path, &id));
    EXPECT_EQ(c.id, id);
  }
}

TEST_F(SimHostCallsTest, ApplicationVersionPromptMenuAndTools) {
  auto app = App();
  std::u16string text = u"untouched";
  ASSERT_EQ(S_OK, app->ReadVersionText(0, &text));
  EXPECT_EQ(u"10.5", text);
  host.SetVersionText(u"21.2");
  ASSERT_EQ(S_OK, app->ReadVersionText(0, &text));
  EXPECT_EQ(u"21.2", text);
  EXPECT_EQ(E_INVALIDARG, app->ReadVersionText(1, &text));

  int32_t index = -1;
  ASSERT_EQ(S_OK, host.Tool(3)->ReadToolIndex(&index));
  EXPECT_EQ(3, index);

  HostRef<HostAddinServices> services;
  ASSERT_EQ(S_OK, app->QueryAddinServices(&services));
  ASSERT_EQ(S_OK, services->ShowPrompt(u"Pick a point", 2));
  EXPECT_EQ(u"Pick a point", host.Prompt());
  EXPECT_EQ(2, host.PromptFlags());
  const HostLocalMenu menu{{u"Finish", u"Options"}, {u"Ends", u"Opens"}, {false, true}, {true, false}};
  ASSERT_EQ(S_OK, services->SetLocalMenu(2, &menu, -1));
  EXPECT_EQ(2, host.LocalMenuCount());
  EXPECT_EQ(-1, host.LocalMenuLast());
  EXPECT_EQ(menu.captions, host.LocalMenu().captions);
  EXPECT_EQ(menu.flags1, host.LocalMenu().flags1);
  EXPECT_EQ(E_INVALIDARG, services->SetLocalMenu(3, &menu, 0));
  EXPECT_EQ(E_INVALIDARG, services->SetLocalMenu(1, nullptr, 0));
  EXPECT_EQ(2, host.LocalMenuCount());
  ASSERT_EQ(S_OK, services->SetLocalMenu(0, nullptr, 0));
  EXPECT_EQ(0, host.LocalMenuCount());
  EXPECT_TRUE(host.LocalMenu().captions.empty());

  HostRef<HostToolList> tools;
  HostRef<HostLeaderTool> leader;
  ASSERT_EQ(S_OK, app->ReadToolList(&tools));
  EXPECT_EQ(E_INVALIDARG, tools->PickItem(static_cast<uint32_t>(kSimCommandSelect), &leader));
  EXPECT_EQ(nullptr, leader);
  ASSERT_EQ(S_OK, tools->PickItem(static_cast<uint32_t>(kSimCommandLeader), &leader));
  HostRef<HostPropertyList> parameters;
  ASSERT_EQ(S_OK, leader->ReadParameterList(&parameters));
  HostRef<HostProperty> parameter;
  EXPECT_EQ(E_INVALIDARG, parameters->PickProperty(HostPropertyKey{u"", 1}, &parameter));
  EXPECT_EQ(E_INVALIDARG, parameters->PickProperty(HostPropertyKey{u"Info", -1}, &parameter));
  ASSERT_EQ(S_OK, parameters->PickProperty(HostPropertyKey{u"", 0}, &parameter));
  HostValue value;
  ASSERT_EQ(S_OK, parameter->GetPropertyValue(0, &value));
  EXPECT_EQ(HostValue::Kind::Text, value.kind);
  EXPECT_EQ(u"", value.text);
  HostValue number;
  number.kind = HostValue::Kind::Integer;
  EXPECT_EQ(E_INVALIDARG, parameter->SetPropertyValue(0, number));
  EXPECT_EQ(E_INVALIDARG, parameter->GetPropertyValue(1, &value));
}

TEST_F(SimHostCallsTest, ActiveDrawingMayBeNone) {
  auto app = App();
  host.SetActiveDrawing(0);
  HostRef<HostDrawing> active;
  host.ClearCalls();
  ASSERT_EQ(S_OK, app->ReadActiveDrawing(&active));
  EXPECT_EQ(nullptr, active);
  EXPECT_FALSE(host.Calls().back().gaveObject);
  host.SetActiveDrawing(drawing);
  ASSERT_EQ(S_OK, app->ReadActiveDrawing(&active));
  ASSERT_NE(nullptr, active);
  EXPECT_TRUE(host.Calls().back().gaveObject);
  HostRef<HostView> view;
  ASSERT_EQ(S_OK, active->ReadActiveView(&view));
  ASSERT_EQ(S_OK, view->RefreshView());
  ASSERT_EQ(S_OK, view->RefreshView());
  EXPECT_EQ(2, host.RefreshCount());
  EXPECT_EQ(nullptr, host.Drawing(42));
}

// --- Recording and faults ---

TEST_F(SimHostCallsTest, CallsAreRecordedWithContractNames) {
  host.UserPicksHostTool(kSimCommandLeader);
  host.PlaceLeader();
  auto tool = host.Tool(0);
  host.ClearCalls();
  const int64_t before = host.CallCount();
  HostRef<HostApp> app;
  HostRef<HostDrawing> active;
  HostRef<HostGraphicList> list;
  HostRef<HostGraphic> leader;
  int32_t count = 0;
  ASSERT_EQ(S_OK, tool->ReadApplication(&app));
  ASSERT_EQ(S_OK, app->ReadActiveDrawing(&active));
  ASSERT_EQ(S_OK, active->ReadGraphicList(&list));
  ASSERT_EQ(S_OK, list->CountItems(&count));
  EXPECT_EQ(E_INVALIDARG, list->PickItem(5, &leader));
  ASSERT_EQ(S_OK, list->PickItem(0, &leader));
  ASSERT_EQ(S_OK, leader->UpdateGraphic());
  EXPECT_EQ((std::vector<std::string>{"IHostTool.ReadApplication", "IHostApp.ReadActiveDrawing",
                                      "IHostDrawing.ReadGraphicList", "IHostGraphicList.CountItems",
                                      "IHostGraphicList.PickItem", "IHostGraphicList.PickItem",
                                      "IHostGraphic.UpdateGraphic"}),
            CallNames());
  HostRef<HostCommands> commands;
  ASSERT_EQ(S_OK, app->QueryCommands(&commands));
  EXPECT_EQ(before + 7, host.CallCount()) << "QueryCommands is QueryInterface, not a call";
  EXPECT_EQ(E_INVALIDARG, host.Calls()[4].result);
  EXPECT_FALSE(host.Calls()[4].gaveObject);
  EXPECT_TRUE(host.Calls()[5].gaveObject);
  EXPECT_FALSE(host.Calls()[6].gaveObject);
}

TEST_F(SimHostCallsTest, FailCallFailsTheKthCallWithoutEffect) {
  host.UserPicksHostTool(kSimCommandLeader);
  host.PlaceLeader();
  auto list = Graphics();
  host.FailCall(2, E_ACCESSDENIED);
  host.FailCall(4, E_OUTOFMEMORY);

  int32_t count = -7;
  ASSERT_EQ(S_OK, list->CountItems(&count));  // 1
  HostRef<HostGraphic> graphic;
  EXPECT_EQ(E_ACCESSDENIED, list->ExtractItem(0, &graphic));  // 2
  EXPECT_EQ(nullptr, graphic);
  ASSERT_EQ(S_OK, list->CountItems(&count));  // 3
  EXPECT_EQ(1, count) << "the failed extraction took nothing";
  count = -7;
  EXPECT_EQ(E_OUTOFMEMORY, list->CountItems(&count));  // 4
  EXPECT_EQ(-7, count);
  EXPECT_EQ(E_OUTOFMEMORY, host.Calls().back().result);

  host.FailCall(1, E_FAIL);
  int32_t cookie = -7;
  EXPECT_EQ(E_FAIL, host.SubscribeWith(nullptr, -1, &cookie));
  EXPECT_EQ(-7, cookie);
  EXPECT_EQ(0, host.SubscriberCount());

  auto commands = Commands();
  host.FailCall(1, E_FAIL);
  EXPECT_EQ(E_FAIL, commands->StartCommand(kSimCommandSelect));
  EXPECT_EQ(kSimCommandLeader, host.ActiveCommand());

  host.FailCall(2, E_FAIL);
  host.ClearFaults();
  ASSERT_EQ(S_OK, list->CountItems(&count));
  ASSERT_EQ(S_OK, list->CountItems(&count));
}

TEST_F(SimHostCallsTest, GiveNoObjectNullsOnlyAnObjectResult) {
  host.UserPicksHostTool(kSimCommandLeader);
  host.PlaceLeader();
  auto list = Graphics();
  host.GiveNoObject(1);
  host.GiveNoObject(2);
  host.GiveNoObject(3);

  HostRef<HostGraphic> graphic;
  ASSERT_EQ(S_OK, list->PickItem(0, &graphic));  // 1
  EXPECT_EQ(nullptr, graphic);
  EXPECT_FALSE(host.Calls().back().gaveObject);
  int32_t count = 0;
  ASSERT_EQ(S_OK, list->CountItems(&count));  // 2: gives no object, unchanged
  EXPECT_EQ(1, count);
  ASSERT_EQ(S_OK, list->ExtractItem(0, &graphic));  // 3: the extraction still happens
  EXPECT_EQ(nullptr, graphic);
  ASSERT_EQ(S_OK, list->CountItems(&count));
  EXPECT_EQ(0, count);
  EXPECT_EQ(E_POINTER, list->PickItem(0, nullptr));
}

TEST_F(SimHostCallsTest, HandlesAndComObjectsAreCounted) {
  EXPECT_EQ(0, host.LiveHandles());
  {
    auto app = App();
    auto list = Graphics();
    EXPECT_EQ(2, host.LiveHandles());
    HostRef<HostAddinServices> services;
    ASSERT_EQ(S_OK, app->QueryAddinServices(&services));
    EXPECT_EQ(3, host.LiveHandles());
  }
  EXPECT_EQ(0, host.LiveHandles());
  host.AddComObject(+1);
  host.AddComObject(+1);
  host.AddComObject(-1);
  EXPECT_EQ(1, host.LiveComObjects());
  host.AddComObject(-1);
  EXPECT_EQ(0, host.LiveComObjects());
}

}  // namespace
