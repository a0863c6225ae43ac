// The simulated host behaves as the host contract says, through the same in-process handles the
// core uses: leaders and their children, lists, undo, selection and events, commands, call
// recording and fault injection, and no handle left behind.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "simhost/sim_handles.h"
#include "simhost/sim_host.h"

namespace {

constexpr int32_t kBit = 1;

int32_t MaskFor(int32_t dispid) { return kBit << (dispid - kSimDispBeforeExit); }

// Records every event with what the host looked like when it arrived.
class RecordingTarget : public SimEventTarget {
 public:
  HRESULT Deliver(SimHost& host, const SimEvent& event) override {
    events.push_back(event);
    activeCommandSeen.push_back(host.ActiveCommand());
    callsSeen.push_back(host.Calls());
    if (onDeliver) onDeliver(host, event);
    return S_OK;
  }
  std::vector<SimEvent> events;
  std::vector<int32_t> activeCommandSeen;
  std::vector<std::vector<SimCall>> callsSeen;
  std::function<void(SimHost&, const SimEvent&)> onDeliver;
};

// A HostGraphic that is not one of the simulated host's.
class ForeignGraphic : public HostGraphic {
 public:
  HRESULT ReadGraphicId(int32_t*) override { return E_NOTIMPL; }
  HRESULT ReadTypeName(std::u16string*) override { return E_NOTIMPL; }
  HRESULT ReadPropertyList(HostRef<HostPropertyList>*) override { return E_NOTIMPL; }
  HRESULT ReadChildGraphics(HostRef<HostGraphicList>*) override { return E_NOTIMPL; }
  HRESULT ReadVertexList(HostRef<HostVertexList>*) override { return E_NOTIMPL; }
  HRESULT ReadLayer(HostRef<HostLayer>*) override { return E_NOTIMPL; }
  HRESULT ReadBlock(HostRef<HostBlock>*) override { return E_NOTIMPL; }
  HRESULT UpdateGraphic() override { return E_NOTIMPL; }
};

class SimHostTest : public ::testing::Test {
 protected:
  void SetUp() override {
    drawing = host.AddDrawing();
    host.SetActiveDrawing(drawing);
  }
  void TearDown() override { EXPECT_EQ(0, host.LiveHandles()); }

  HostRef<HostApp> App() {
    HostRef<HostApp> app;
    EXPECT_EQ(S_OK, host.Tool(0)->ReadApplication(&app));
    return app;
  }
  HostRef<HostGraphicList> Graphics() {
    HostRef<HostGraphicList> list;
    EXPECT_EQ(S_OK, host.Drawing(drawing)->ReadGraphicList(&list));
    return list;
  }
  HostRef<HostGraphicList> Children(HostGraphic& graphic) {
    HostRef<HostGraphicList> list;
    EXPECT_EQ(S_OK, graphic.ReadChildGraphics(&list));
    return list;
  }
  HostRef<HostGraphic> Pick(HostGraphicList& list, int32_t index) {
    HostRef<HostGraphic> graphic;
    EXPECT_EQ(S_OK, list.PickItem(index, &graphic));
    return graphic;
  }
  HostRef<HostGraphic> Find(int32_t id) {
    HostRef<HostGraphic> graphic;
    EXPECT_EQ(S_OK, Graphics()->FindById(id, &graphic));
    return graphic;
  }
  int32_t Count(HostGraphicList& list) {
    int32_t count = -1;
    EXPECT_EQ(S_OK, list.CountItems(&count));
    return count;
  }
  std::u16string Info(HostGraphic& graphic) {
    HostRef<HostPropertyList> properties;
    HostRef<HostProperty> info;
    HostValue value;
    EXPECT_EQ(S_OK, graphic.ReadPropertyList(&properties));
    EXPECT_EQ(S_OK, properties->PickProperty(HostPropertyKey{u"Info", -1}, &info));
    EXPECT_EQ(S_OK, info->GetPropertyValue(0, &value));
    EXPECT_EQ(HostValue::Kind::Text, value.kind);
    return value.text;
  }
  void SetInfo(HostGraphic& graphic, const std::u16string& text) {
    HostRef<HostPropertyList> properties;
    HostRef<HostProperty> info;
    ASSERT_EQ(S_OK, graphic.ReadPropertyList(&properties));
    ASSERT_EQ(S_OK, properties->PickProperty(HostPropertyKey{u"Info", -1}, &info));
    ASSERT_EQ(S_OK, info->SetPropertyValue(0, HostValue::FromText(text)));
  }
  std::u16string TypeName(HostGraphic& graphic) {
    std::u16string name;
    EXPECT_EQ(S_OK, graphic.ReadTypeName(&name));
    return name;
  }
  HostRef<HostCommands> Commands() {
    HostRef<HostCommands> commands;
    EXPECT_EQ(S_OK, App()->QueryCommands(&commands));
    return commands;
  }
  HRESULT Start(int32_t commandId) { return Commands()->StartCommand(commandId); }
  HRESULT SetLeaderText(const HostValue& value) {
    HostRef<HostToolList> tools;
    HostRef<HostLeaderTool> leader;
    HostRef<HostPropertyList> parameters;
    HostRef<HostProperty> text;
    EXPECT_EQ(S_OK, App()->ReadToolList(&tools));
    EXPECT_EQ(S_OK, tools->PickItem(static_cast<uint32_t>(kSimCommandLeader), &leader));
    EXPECT_EQ(S_OK, leader->ReadParameterList(&parameters));
    EXPECT_EQ(S_OK, parameters->PickProperty(HostPropertyKey{u"", 0}, &text));
    return text->SetPropertyValue(0, value);
  }
  std::vector<std::string> CallNames() const {
    std::vector<std::string> names;
    for (const SimCall& call : host.Calls()) names.push_back(call.name);
    return names;
  }

  SimHost host;
  int32_t drawing = 0;
};

// --- Leaders ---

TEST_F(SimHostTest, LeaderNeedsTheLeaderCommandAndAnActiveDrawing) {
  EXPECT_EQ(0, host.PlaceLeader());
  host.UserPicksHostTool(kSimCommandLeader);
  host.SetActiveDrawing(0);
  EXPECT_EQ(0, host.PlaceLeader());
  host.SetActiveDrawing(drawing);
  EXPECT_NE(0, host.PlaceLeader());
  host.UserPicksHostTool(kSimCommandDrawLine);
  EXPECT_EQ(0, host.PlaceLeader());
  EXPECT_EQ(1, Count(*Graphics()));
}

TEST_F(SimHostTest, LeaderHasFiveChildrenWithVerticesAndText) {
  ASSERT_EQ(S_OK, Start(kSimCommandLeader));
  ASSERT_EQ(S_OK, SetLeaderText(HostValue::FromText(u"A-7")));
  host.AddGraphic(drawing, SimGraphicSpec{});
  const int32_t id = host.PlaceLeader(3);
  ASSERT_NE(0, id);

  auto list = Graphics();
  ASSERT_EQ(2, Count(*list));
  auto leader = Pick(*list, 1);
  int32_t readId = 0;
  ASSERT_EQ(S_OK, leader->ReadGraphicId(&readId));
  EXPECT_EQ(id, readId);
  EXPECT_EQ(u"TCW25DimLead", TypeName(*leader));
  EXPECT_EQ(u"A-7", Info(*leader));

  auto children = Children(*leader);
  ASSERT_EQ(5, Count(*children));
  const std::u16string kTypes[] = {u"GRAPHIC", u"GRAPHIC", u"GRAPHIC", u"GRAPHIC", u"TEXT"};
  for (int32_t i = 0; i < 5; ++i) EXPECT_EQ(kTypes[i], TypeName(*Pick(*children, i))) << i;
  EXPECT_EQ(u"A-7", Info(*Pick(*children, 4)));

  HostRef<HostVertexList> vertices;
  ASSERT_EQ(S_OK, Pick(*children, 2)->ReadVertexList(&vertices));
  int32_t vertexCount = 0;
  ASSERT_EQ(S_OK, vertices->CountItems(&vertexCount));
  ASSERT_EQ(3, vertexCount);
  const SimGraphicData* vertexChild = host.Model().Graphic(host.Model().Graphic(id)->children[2]);
  for (int32_t i = 0; i < vertexCount; ++i) {
    HostRef<HostVertex> vertex;
    ASSERT_EQ(S_OK, vertices->PickVertex(i, &vertex));
    double x = 0, y = 0, z = -1;
    ASSERT_EQ(S_OK, vertex->ReadX(&x));
    ASSERT_EQ(S_OK, vertex->ReadY(&y));
    ASSERT_EQ(S_OK, vertex->ReadZ(&z));
    EXPECT_EQ((SimPoint{x, y, z}), vertexChild->vertices[static_cast<size_t>(i)]);
  }
  HostRef<HostVertex> none;
  EXPECT_EQ(E_INVALIDARG, vertices->PickVertex(3, &none));
  EXPECT_EQ((std::vector<std::u16string>{u"Leader"}), host.UndoCaptions());
}

TEST_F(SimHostTest, LeaderInfoIsTheToolTextAtPlacement) {
  host.UserPicksHostTool(kSimCommandLeader);
  host.SetLeaderToolText(u"1");
  const int32_t first = host.PlaceLeader();
  ASSERT_EQ(S_OK, SetLeaderText(HostValue::FromText(u"2")));
  EXPECT_EQ(u"2", host.LeaderToolText());
  const int32_t second = host.PlaceLeader(1);
  EXPECT_EQ(u"1", Info(*Find(first)));
  EXPECT_EQ(u"2", Info(*Find(second)));
  EXPECT_EQ(1u, host.Model().Graphic(host.Model().Graphic(second)->children[2])->vertices.size());
}

TEST_F(SimHostTest, OddLeadersHaveTheChildrenAskedFor) {
  struct Case {
    int children;
    int vertices;
    size_t vertexChildVertices;
    const char16_t* lastType;
  };
  const Case kCases[] = {{0, 2, 0, nullptr}, {2, 2, 0, u"GRAPHIC"}, {3, 4, 4, u"GRAPHIC"}, {6, 1, 1, u"GRAPHIC"}};
  host.UserPicksHostTool(kSimCommandLeader);
  for (const Case& c : kCases) {
    const int32_t id = host.PlaceLeaderWithChildren(c.children, c.vertices);
    const SimGraphicData* leader = host.Model().Graphic(id);
    ASSERT_NE(nullptr, leader);
    ASSERT_EQ(static_cast<size_t>(c.children), leader->children.size());
    if (c.children > 2) EXPECT_EQ(c.vertexChildVertices, host.Model().Graphic(leader->children[2])->vertices.size());
    if (c.children > 4) EXPECT_EQ(u"TEXT", host.Model().Graphic(leader->children[4])->typeName);
    if (c.lastType) EXPECT_EQ(c.lastType, host.Model().Graphic(leader->children.back())->typeName);
  }
}

// --- Lists ---

TEST_F(SimHostTest, ExtractAndAppendMoveAGraphicBetweenLists) {
  host.UserPicksHostTool(kSimCommandLeader);
  const int32_t leaderId = host.PlaceLeader();
  auto list = Graphics();
  auto children = Children(*Pick(*list, 0));

  HostRef<HostGraphic> text;
  ASSERT_EQ(S_OK, children->ExtractItem(4, &text));
  EXPECT_EQ(4, Count(*children));
  EXPECT_EQ(1, Count(*list));
  EXPECT_FALSE(host.Model().Graphic(leaderId + 5)->home.has_value()) << "in no list until appended";

  ASSERT_EQ(S_OK, list->AppendGraphic(*text));
  EXPECT_EQ(2, Count(*list));
  EXPECT_EQ(u"TEXT", TypeName(*Pick(*list, 1)));
  EXPECT_EQ(E_INVALIDARG, children->AppendGraphic(*text)) << "already in a list";

  HostRef<HostGraphic> back;
  ASSERT_EQ(S_OK, list->ExtractItem(1, &back));
  ASSERT_EQ(S_OK, children->AppendGraphic(*back));
  EXPECT_EQ(5, Count(*children));
  EXPECT_EQ(1, Count(*list));

  HostRef<HostDrawing> owner;
  ASSERT_EQ(S_OK, children->ReadOwnerDrawing(&owner));
  EXPECT_EQ(drawing, dynamic_cast<SimDrawingHandle&>(*owner).DrawingId());
}

TEST_F(SimHostTest, ListsRejectBadIndicesForeignGraphicsAndCycles) {
  host.UserPicksHostTool(kSimCommandLeader);
  host.PlaceLeader();
  auto list = Graphics();
  for (int32_t index : {-1, 1, 100}) {
    HostRef<HostGraphic> graphic = std::make_unique<ForeignGraphic>();
    EXPECT_EQ(E_INVALIDARG, list->PickItem(index, &graphic)) << index;
    EXPECT_EQ(nullptr, graphic);
    graphic = std::make_unique<ForeignGraphic>();
    EXPECT_EQ(E_INVALIDARG, list->ExtractItem(index, &graphic)) << index;
    EXPECT_EQ(nullptr, graphic);
  }
  ForeignGraphic foreign;
  EXPECT_EQ(E_INVALIDARG, list->AppendGraphic(foreign));
  SimHost other;
  other.AddDrawing();
  SimGraphicHandle otherHosts(other, other.AddGraphic(1, SimGraphicSpec{}));
  EXPECT_EQ(E_INVALIDARG, list->AppendGraphic(otherHosts));

  HostRef<HostGraphic> leader;
  ASSERT_EQ(S_OK, list->ExtractItem(0, &leader));
  auto children = Children(*leader);
  EXPECT_EQ(E_INVALIDARG, children->AppendGraphic(*leader)) << "a graphic inside itself";
  auto child = Pick(*children, 0);
  HostRef<HostGraphic> grandchild;
  ASSERT_EQ(S_OK, children->ExtractItem(1, &grandchild));
  ASSERT_EQ(S_OK, Children(*child)->AppendGraphic(*grandchild));
  EXPECT_EQ(E_INVALIDARG, Children(*grandchild)->AppendGraphic(*leader)) << "a graphic inside its grandchild";
  ASSERT_EQ(S_OK, Graphics()->AppendGraphic(*leader));
  HostRef<HostGraphic> again;
  ASSERT_EQ(S_OK, Graphics()->ExtractItem(0, &again));
  EXPECT_EQ(0, Count(*list));
}

TEST_F(SimHostTest, FindByIdLooksAtTheItemsOfTheList) {
  const int32_t a = host.AddGraphic(drawing, SimGraphicSpec{});
  host.UserPicksHostTool(kSimCommandLeader);
  const int32_t leader = host.PlaceLeader();
  HostRef<HostGraphic> found;
  ASSERT_EQ(S_OK, Graphics()->FindById(a, &found));
  ASSERT_NE(nullptr, found);
  ASSERT_EQ(S_OK, Graphics()->FindById(leader + 1, &found));
  EXPECT_EQ(nullptr, found) << "a child is not an item of the drawing's list";
  ASSERT_EQ(S_OK, Children(*Find(leader))->FindById(leader + 1, &found));
  EXPECT_NE(nullptr, found);
  ASSERT_EQ(S_OK, Graphics()->FindById(999, &found));
  EXPECT_EQ(nullptr, found);
}

// --- Graphics ---

TEST_F(SimHostTest, GraphicsAnswerInfoLayerAndBlock) {
  SimGraphicSpec spec;
  spec.info = u"pump";
  spec.layer = u"Pipes";
  const int32_t withLayer = host.AddGraphic(drawing, spec);
  spec.layer.reset();
  spec.block = u"Valve";
  const int32_t withBlock = host.AddGraphic(drawing, spec);

  auto first = Find(withLayer);
  EXPECT_EQ(u"pump", Info(*first));
  HostRef<HostLayer> layer;
  HostRef<HostBlock> block;
  ASSERT_EQ(S_OK, first->ReadLayer(&layer));
  std::u16string name;
  ASSERT_EQ(S_OK, layer->ReadLayerName(&name));
  EXPECT_EQ(u"Pipes", name);
  ASSERT_EQ(S_OK, first->ReadBlock(&block));
  EXPECT_EQ(nullptr, block);

  auto second = Find(withBlock);
  ASSERT_EQ(S_OK, second->ReadLayer(&layer));
  EXPECT_EQ(nullptr, layer);
  ASSERT_EQ(S_OK, second->ReadBlock(&block));
  ASSERT_EQ(S_OK, block->ReadBlockName(&name));
  EXPECT_EQ(u"Valve", name);

  HostRef<HostPropertyList> properties;
  ASSERT_EQ(S_OK, second->ReadPropertyList(&properties));
  HostRef<HostProperty> property;
  for (const HostPropertyKey& key : {HostPropertyKey{u"Color", -1}, HostPropertyKey{u"info", -1}, HostPropertyKey{u"", 0}}) {
    EXPECT_EQ(E_INVALIDARG, properties->PickProperty(key, &property));
    EXPECT_EQ(nullptr, property);
  }
  ASSERT_EQ(S_OK, properties->PickProperty(HostPropertyKey{u"Info", -1}, &property));
  HostValue number;
  number.kind = HostValue::Kind::Integer;
  EXPECT_EQ(E_INVALIDARG, property->SetPropertyValue(0, number));
  EXPECT_EQ(E_INVALIDARG, property->SetPropertyValue(1, HostValue::FromText(u"x")));
  ASSERT_EQ(S_OK, second->UpdateGraphic());
  EXPECT_EQ(1, host.UpdateCount(withBlock));
}

// --- Undo ---

TEST_F(SimHostTest, UndoRemovesAnAddedLeaderAndItsHandlesGoStale) {
  host.UserPicksHostTool(kSimCommandLeader);
  host.Select({host.AddGraphic(drawing, SimGraphicSpec{})});
  const int32_t leaderId = host.PlaceLeader();
  host.Select({leaderId});
  auto leader = Find(leaderId);
  auto children = Children(*leader);
  auto text = Pick(*children, 4);
  HostRef<HostVertexList> vertices;
  ASSERT_EQ(S_OK, Pick(*children, 2)->ReadVertexList(&vertices));
  HostRef<HostVertex> vertex;
  ASSERT_EQ(S_OK, vertices->PickVertex(0, &vertex));

  ASSERT_TRUE(host.Undo());
  EXPECT_TRUE(host.UndoCaptions().empty());
  EXPECT_FALSE(host.Undo());
  EXPECT_EQ(1, Count(*Graphics()));
  EXPECT_TRUE(host.Model().Drawing(drawing)->selection.empty());

  int32_t id = 0;
  std::u16string name;
  double x = 0;
  int32_t count = 0;
  HostRef<HostPropertyList> properties;
  HostRef<HostGraphic> graphic;
  EXPECT_EQ(E_INVALIDARG, leader->ReadGraphicId(&id));
  EXPECT_EQ(E_INVALIDARG, leader->ReadTypeName(&name));
  EXPECT_EQ(E_INVALIDARG, leader->ReadPropertyList(&properties));
  EXPECT_EQ(E_INVALIDARG, leader->UpdateGraphic());
  EXPECT_EQ(E_INVALIDARG, children->CountItems(&count));
  EXPECT_EQ(E_INVALIDARG, children->PickItem(0, &graphic));
  EXPECT_EQ(E_INVALIDARG, text->ReadTypeName(&name));
  EXPECT_EQ(E_INVALIDARG, vertices->CountItems(&count));
  EXPECT_EQ(E_INVALIDARG, vertex->ReadX(&x));
  EXPECT_EQ(E_INVALIDARG, Graphics()->AppendGraphic(*leader));
  EXPECT_EQ(0, id);
  EXPECT_EQ(0, count);
}

TEST_F(SimHostTest, UndoRestoresAChangedGraphicAndSkipsOpenRecords) {
  host.UserPicksHostTool(kSimCommandLeader);
  host.SetLeaderToolText(u"7");
  const int32_t leaderId = host.PlaceLeader();
  const std::vector<int32_t> childrenBefore = host.Model().Graphic(leaderId)->children;
  auto leader = Find(leaderId);
  auto children = Children(*leader);

  HostRef<HostUndoRecord> record;
  ASSERT_EQ(S_OK, host.Drawing(drawing)->OpenUndoRecord(u"Renumber", &record));
  ASSERT_EQ(S_OK, record->NoteChangedGraphic(*leader));
  SetInfo(*leader, u"8");
  HostRef<HostGraphic> text;
  ASSERT_EQ(S_OK, children->ExtractItem(4, &text));
  ASSERT_EQ(S_OK, Graphics()->AppendGraphic(*text));
  ASSERT_EQ(S_OK, record->NoteChangedGraphic(*leader)) << "a second note keeps the first state";
  SetInfo(*leader, u"9");
  ASSERT_EQ(S_OK, record->CloseUndoRecord());
  EXPECT_EQ(E_FAIL, record->CloseUndoRecord());
  EXPECT_EQ(E_FAIL, record->NoteAddedGraphic(*leader));

  HostRef<HostUndoRecord> neverClosed;
  ASSERT_EQ(S_OK, host.Drawing(drawing)->OpenUndoRecord(u"Abandoned", &neverClosed));
  ASSERT_EQ(S_OK, neverClosed->NoteChangedGraphic(*leader));
  ForeignGraphic foreign;
  EXPECT_EQ(E_INVALIDARG, neverClosed->NoteAddedGraphic(foreign));
  EXPECT_EQ((std::vector<std::u16string>{u"Leader", u"Renumber"}), host.UndoCaptions());

  ASSERT_TRUE(host.Undo());
  EXPECT_EQ(u"7", Info(*leader));
  EXPECT_EQ(childrenBefore, host.Model().Graphic(leaderId)->children);
  EXPECT_EQ(u"TEXT", TypeName(*Pick(*children, 4)));
  EXPECT_EQ(1, Count(*Graphics())) << "the text left the drawing's list";
  EXPECT_EQ((std::vector<std::u16string>{u"Leader"}), host.UndoCaptions());
}

// --- Selection and events ---

TEST_F(SimHostTest, SelectionChangeReachesOnlyMasksWithItsBitUnderTheSelectCommand) {
  auto withBit = std::make_shared<RecordingTarget>();
  auto without = std::make_shared<RecordingTarget>();
  int32_t cookie = 0;
  ASSERT_EQ(S_OK, host.SubscribeWith(withBit, MaskFor(kSimDispSelectionChange), &cookie));
  ASSERT_EQ(S_OK, host.SubscribeWith(without, ~MaskFor(kSimDispSelectionChange), &cookie));
  const int32_t a = host.AddGraphic(drawing, SimGraphicSpec{});
  const int32_t b = host.AddGraphic(drawing, SimGraphicSpec{});

  EXPECT_TRUE(host.Select({a}));
  EXPECT_TRUE(withBit->events.empty()) << "no select command yet";
  host.UserPicksHostTool(kSimCommandSelect);
  EXPECT_TRUE(host.Select({b, a}));
  ASSERT_EQ(1u, withBit->events.size());
  EXPECT_EQ(kSimDispSelectionChange, withBit->events[0].dispid);
  EXPECT_EQ(drawing, withBit->events[0].drawingId);
  EXPECT_FALSE(host.Select({a, 999}));
  EXPECT_EQ(1u, withBit->events.size());
  for (const SimEvent& event : without->events) EXPECT_NE(kSimDispSelectionChange, event.dispid);

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

TEST_F(SimHostTest, DrawingAndMouseEventsFollowTheMaskBits) {
  const int32_t kDispids[] = {kSimDispBeforeExit,         kSimDispDrawingNew,        kSimDispDrawingOpen,
                              kSimDispDrawingActivate,    kSimDispDrawingDeactivate, kSimDispDrawingBeforeClose,
                              kSimDispDrawingBeforeSave};
  for (int32_t dispid : kDispids) {
    SimHost events;
    events.SetActiveDrawing(events.AddDrawing());
    auto target = std::make_shared<RecordingTarget>();
    auto others = std::make_shared<RecordingTarget>();
    int32_t cookie = 0;
    ASSERT_EQ(S_OK, events.SubscribeWith(target, MaskFor(dispid), &cookie));
    ASSERT_EQ(S_OK, events.SubscribeWith(others, ~MaskFor(dispid), &cookie));
    events.RaiseDrawingEvent(dispid);
    events.RaiseDrawingEvent(kSimDispMouseDown);
    ASSERT_EQ(1u, target->events.size()) << dispid;
    EXPECT_EQ(dispid, target->events[0].dispid);
    EXPECT_EQ(1, target->events[0].drawingId);
    EXPECT_TRUE(others->events.empty()) << dispid;
  }

  auto mouse = std::make_shared<RecordingTarget>();
  int32_t cookie = 0;
  ASSERT_EQ(S_OK, host.SubscribeWith(mouse, MaskFor(kSimDispMouseDown), &cookie));
  host.MouseDown(2, 1, -30, 45);
  ASSERT_EQ(1u, mouse->events.size());
  const SimEvent& event = mouse->events[0];
  EXPECT_EQ(kSimDispMouseDown, event.dispid);
  EXPECT_EQ(2, event.button);
  EXPECT_EQ(1, event.shift);
  EXPECT_EQ(-30, event.x);
  EXPECT_EQ(45, event.y);
  EXPECT_EQ(drawing, event.drawingId);
}

TEST_F(SimHostTest, RunToolIsRaisedInsideStartCommand) {
  auto target = std::make_shared<RecordingTarget>();
  target->onDeliver = [](SimHost& h, const SimEvent&) {
    std::u16string version;
    h.App()->ReadVersionText(0, &version);
  };
  auto app = App();
  auto commands = Commands();
  host.SetDefaultEventTarget(target);
  int32_t cookie = 0;
  ASSERT_EQ(S_OK, app->SubscribeEvents(MaskFor(kSimDispRunTool), &cookie));
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

TEST_F(SimHostTest, SubscriptionsCountCookiesAndUnsubscribeEvenDuringDelivery) {
  auto app = App();
  auto first = std::make_shared<RecordingTarget>();
  auto second = std::make_shared<RecordingTarget>();
  int32_t firstCookie = -1, secondCookie = -1;
  ASSERT_EQ(S_OK, host.SubscribeWith(first, -1, &firstCookie));
  ASSERT_EQ(S_OK, host.SubscribeWith(second, MaskFor(kSimDispMouseDown), &secondCookie));
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

TEST_F(SimHostTest, CommandTableAnswersKnownPathsOnly) {
  struct Case {
    std::u16string path;
    HRESULT result;
    int32_t id;
  };
  const Case kCases[] = {{u"Edit|Select", S_OK, 1001},   {u"Insert|Dimension|Leader", S_OK, 2001},
                         {u"File|Open", S_OK, 3001},     {u"Draw|Line", S_OK, 4001},
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

TEST_F(SimHostTest, ApplicationVersionPromptMenuAndTools) {
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

TEST_F(SimHostTest, ActiveDrawingMayBeNone) {
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

TEST_F(SimHostTest, CallsAreRecordedWithContractNames) {
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

TEST_F(SimHostTest, FailCallFailsTheKthCallWithoutEffect) {
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

TEST_F(SimHostTest, GiveNoObjectNullsOnlyAnObjectResult) {
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

TEST_F(SimHostTest, HandlesAndComObjectsAreCounted) {
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
