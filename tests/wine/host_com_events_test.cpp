// Events from the simulated host to an add-in subscribed through the adapters: the DISPID and
// the argument types of each event method, only the events the mask asks for, and the add-in's
// dispatch interface held exactly as long as the subscription.
#include "host_com_fixture.h"

namespace {

constexpr VARTYPE kObject = VT_DISPATCH;
constexpr VARTYPE kFlagRef = VT_BOOL | VT_BYREF;
constexpr int32_t kAllEvents = 0x7FFFF;  // bits 0..18: DISPIDs 12..30

class HostEventsTest : public HostComTest {
 protected:
  int32_t Subscribe(int32_t mask) {
    int32_t cookie = -1;
    EXPECT_EQ(S_OK, App()->SubscribeEvents(mask, &cookie));
    EXPECT_NE(-1, cookie);
    EXPECT_EQ(mask, host_.SubscribedMask(cookie));
    return cookie;
  }
};

struct EventCase {
  const char* name;
  std::function<void(SimHost&, int32_t graphicId)> raise;
  DISPID dispid;
  std::vector<VARTYPE> types;
  std::vector<std::string> objects;
  std::vector<long> numbers;
};

TEST_F(HostEventsTest, EachEventArrivesWithItsMethodsArguments) {
  const int32_t graphicId = host_.AddGraphic(drawing_, NewGraphic(u"1"));
  const auto drawingEvent = [](int32_t dispid) {
    return [dispid](SimHost& host, int32_t) { host.RaiseDrawingEvent(dispid); };
  };
  const EventCase cases[] = {
      {"BeforeExit", drawingEvent(12), 12, {kObject, kFlagRef}, {"IHostApp", ""}, {}},
      {"DrawingNew", drawingEvent(13), 13, {kObject}, {"IHostDrawing"}, {}},
      {"DrawingOpen", drawingEvent(14), 14, {kObject}, {"IHostDrawing"}, {}},
      {"DrawingActivate", drawingEvent(15), 15, {kObject}, {"IHostDrawing"}, {}},
      {"DrawingDeactivate", drawingEvent(16), 16, {kObject}, {"IHostDrawing"}, {}},
      {"DrawingBeforeClose", drawingEvent(17), 17, {kObject, kFlagRef}, {"IHostDrawing", ""}, {}},
      {"DrawingBeforeSave", drawingEvent(18), 18, {kObject, kFlagRef, kFlagRef}, {"IHostDrawing", "", ""}, {}},
      {"MouseDown",
       [](SimHost& host, int32_t) { host.MouseDown(2, 4, -30, 40); },
       22,
       {kObject, kObject, kObject, VT_I2, VT_I4, VT_I4, VT_I4, kFlagRef},
       {"IHostDrawing", "IHostView", "null", "", "", "", "", ""},
       {2, 4, -30, 40}},
      {"SelectionChange",
       [](SimHost& host, int32_t id) {
         host.UserPicksHostTool(kSimCommandSelect);
         host.Select({id});
       },
       27,
       {kObject, kObject, kObject, kObject},
       {"IHostDrawing", "IHostView", "null", "IHostSelection"},
       {}},
      {"RunTool",
       [](SimHost& host, int32_t) { host.UserPicksHostTool(kSimCommandDrawLine); },
       30,
       {kObject},
       {"IHostTool"},
       {}},
  };
  const int32_t cookie = Subscribe(kAllEvents);
  for (const EventCase& c : cases) {
    SCOPED_TRACE(c.name);
    addin_.events.clear();
    c.raise(host_, graphicId);
    ASSERT_FALSE(addin_.events.empty());
    const DeliveredEvent& event = addin_.events.back();
    EXPECT_EQ(c.dispid, event.dispid);
    EXPECT_EQ(c.types, event.types);
    EXPECT_EQ(c.objects, event.objects);
    EXPECT_EQ(c.numbers, event.numbers);
  }
  EXPECT_EQ(S_OK, App()->UnsubscribeEvents(cookie));
}

TEST_F(HostEventsTest, OnlyTheMaskedEventsAreDelivered) {
  const int32_t mouseDownOnly = 1 << (22 - 12);
  const int32_t cookie = Subscribe(mouseDownOnly);
  host_.RaiseDrawingEvent(13);
  host_.UserPicksHostTool(kSimCommandLeader);
  EXPECT_TRUE(addin_.events.empty());
  host_.MouseDown(1, 0, 5, 6);
  ASSERT_EQ(1u, addin_.events.size());
  EXPECT_EQ(22, addin_.events[0].dispid);

  EXPECT_EQ(S_OK, App()->UnsubscribeEvents(cookie));
  host_.MouseDown(1, 0, 5, 6);
  EXPECT_EQ(1u, addin_.events.size());
  EXPECT_EQ(E_INVALIDARG, App()->UnsubscribeEvents(cookie));
}

TEST_F(HostEventsTest, TheSubscriptionHoldsTheAddinUntilItEnds) {
  const ULONG before = addin_.refs;
  const int32_t cookie = Subscribe(kAllEvents);
  EXPECT_EQ(before + 1, addin_.refs);
  EXPECT_EQ(S_OK, App()->UnsubscribeEvents(cookie));
  EXPECT_EQ(before, addin_.refs);

  FakeAddin addin;
  {
    SimHost host;
    ComPtr<IDispatch> thisTool;
    HostRef<HostTool> tool;
    HostRef<HostApp> app;
    int32_t ownCookie = 0;
    ASSERT_EQ(S_OK, MakeComTool(host, 0, &thisTool));
    ASSERT_EQ(S_OK, AdaptHostTool(thisTool.Get(), &addin, &tool));
    ASSERT_EQ(S_OK, tool->ReadApplication(&app));
    ASSERT_EQ(S_OK, app->SubscribeEvents(kAllEvents, &ownCookie));
    app.reset();
    tool.reset();
    thisTool.Reset();
    EXPECT_EQ(0, host.LiveComObjects());
    EXPECT_EQ(2u, addin.refs);
  }
  EXPECT_EQ(1u, addin.refs) << "the host released the add-in when it went";
}

TEST_F(HostEventsTest, TheAddinMayActOnTheHostWhileAnEventIsOut) {
  host_.AddGraphic(drawing_, NewGraphic(u"a"));
  host_.AddGraphic(drawing_, NewGraphic(u"b"));
  const int32_t cookie = Subscribe(kAllEvents);
  int32_t counted = -1;
  addin_.onInvoke = [&](DISPID id, const DISPPARAMS& params) -> HRESULT {
    if (id == 15) {
      // The drawing of a drawing event adapts like the one the add-in reads itself.
      HostRef<HostDrawing> drawing;
      HostRef<HostGraphicList> list;
      RETURN_IF_FAILED(AdaptHostDrawing(V_DISPATCH(&params.rgvarg[0]), &drawing));
      RETURN_IF_FAILED(drawing->ReadGraphicList(&list));
      return list->CountItems(&counted);
    }
    // RunTool ends the add-in's placement, which ends its subscription from inside the event.
    return id == 30 ? App()->UnsubscribeEvents(cookie) : S_OK;
  };
  host_.RaiseDrawingEvent(15);
  EXPECT_EQ(2, counted);
  host_.UserPicksHostTool(kSimCommandLeader);
  EXPECT_EQ(0, host_.SubscriberCount());
  EXPECT_EQ(1u, addin_.refs);
  host_.MouseDown(1, 0, 0, 0);
  EXPECT_EQ(2u, addin_.events.size());
}

TEST_F(HostEventsTest, WithoutAnActiveDrawingTheDrawingArgumentsAreNull) {
  const int32_t cookie = Subscribe(kAllEvents);
  host_.SetActiveDrawing(0);
  host_.MouseDown(1, 0, 0, 0);
  ASSERT_EQ(1u, addin_.events.size());
  const std::vector<std::string> nulls = {"null", "null", "null", "", "", "", "", ""};
  EXPECT_EQ(nulls, addin_.events[0].objects);
  EXPECT_EQ(S_OK, App()->UnsubscribeEvents(cookie));
}

}  // namespace
