// The simulated host's drawing model through the same in-process handles the core uses: leaders
// and their children, lists, graphics, undo, and no handle left behind.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "tests/native/sim_host_fixture.h"

namespace {

using simtest::ForeignGraphic;
using simtest::SimHostTest;

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
    if (c.children > 2) {
      EXPECT_EQ(c.vertexChildVertices, host.Model().Graphic(leader->children[2])->vertices.size());
    }
    if (c.children > 4) {
      EXPECT_EQ(u"TEXT", host.Model().Graphic(leader->children[4])->typeName);
    }
    if (c.lastType != nullptr) {
      EXPECT_EQ(c.lastType, host.Model().Graphic(leader->children.back())->typeName);
    }
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
  SimGraphicSpec request;
  request.info = u"pump";
  request.layer = u"Pipes";
  const int32_t withLayer = host.AddGraphic(drawing, request);
  request.layer.reset();
  request.block = u"Valve";
  const int32_t withBlock = host.AddGraphic(drawing, request);

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
  for (const HostPropertyKey& key :
       {HostPropertyKey{u"Color", -1}, HostPropertyKey{u"info", -1}, HostPropertyKey{u"", 0}}) {
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
  auto restoredText = Pick(*children, 4);
  ASSERT_NE(nullptr, restoredText);
  EXPECT_EQ(u"TEXT", TypeName(*restoredText));
  EXPECT_EQ(1, Count(*Graphics())) << "the text left the drawing's list";
  EXPECT_EQ((std::vector<std::u16string>{u"Leader"}), host.UndoCaptions());
}

}  // namespace

// --- Redo ---

namespace {

class SimRedoTest : public SimHostTest {
 protected:
  int32_t PlaceAt(std::vector<SimPoint> points, std::u16string text) {
    host.UserPicksHostTool(kSimCommandLeader);
    host.SetLeaderToolText(std::move(text));
    return host.PlaceLeaderAt(points);
  }
};

TEST_F(SimRedoTest, LeaderAtTheUsersPointsCarriesThemAndItsTextPlace) {
  const int32_t twoPoint = PlaceAt({{10, 20, 0}, {30, 40, 0}}, u"1");
  const int32_t onePoint = PlaceAt({{50, 60, 0}}, u"2");
  const SimModel& model = host.Model();
  const auto child = [&](int32_t leader, size_t i) { return model.Graphic(model.Graphic(leader)->children.at(i)); };
  EXPECT_EQ((std::vector<SimPoint>{{10, 20, 0}, {30, 40, 0}}), child(twoPoint, 2)->vertices);
  EXPECT_EQ((std::vector<SimPoint>{{30, 40, 0}}), child(twoPoint, 4)->vertices) << "the text at the second point";
  EXPECT_EQ((std::vector<SimPoint>{{50, 60, 0}}), child(onePoint, 2)->vertices);
  EXPECT_EQ((std::vector<SimPoint>{{54, 64, 0}}), child(onePoint, 4)->vertices) << "beside a point leader";
  EXPECT_EQ(0, PlaceAt({}, u"3"));
}

TEST_F(SimRedoTest, RedoBringsBackAnUndoneLeaderWithItsChildren) {
  const int32_t leader = PlaceAt({{10, 20, 0}, {30, 40, 0}}, u"1");
  const std::vector<int32_t> children = host.Model().Graphic(leader)->children;
  EXPECT_FALSE(host.Redo()) << "nothing undone yet";
  ASSERT_TRUE(host.Undo());
  EXPECT_EQ(nullptr, host.Model().Graphic(leader));
  ASSERT_TRUE(host.Redo());
  ASSERT_NE(nullptr, host.Model().Graphic(leader));
  EXPECT_EQ(u"1", host.Model().Graphic(leader)->info);
  EXPECT_EQ(children, host.Model().Graphic(leader)->children);
  EXPECT_EQ((std::vector<int32_t>{leader}), host.Model().Drawing(drawing)->graphics);
  EXPECT_EQ((std::vector<std::u16string>{u"Leader"}), host.UndoCaptions());
  EXPECT_FALSE(host.Redo());
}

TEST_F(SimRedoTest, RedoAppliesAChangeAgainAndANewRecordForgetsTheUndone) {
  const int32_t leader = PlaceAt({{10, 20, 0}}, u"1");
  auto handle = Find(leader);
  HostRef<HostUndoRecord> record;
  ASSERT_EQ(S_OK, host.Drawing(drawing)->OpenUndoRecord(u"TL Text", &record));
  ASSERT_EQ(S_OK, record->NoteChangedGraphic(*handle));
  HostRef<HostGraphic> text;
  ASSERT_EQ(S_OK, Children(*handle)->ExtractItem(4, &text));
  ASSERT_EQ(S_OK, Graphics()->AppendGraphic(*text));
  ASSERT_EQ(S_OK, record->NoteAddedGraphic(*text));
  ASSERT_EQ(S_OK, record->CloseUndoRecord());
  const int32_t textId = host.Model().Drawing(drawing)->graphics.back();

  ASSERT_TRUE(host.Undo());
  EXPECT_EQ(5u, host.Model().Graphic(leader)->children.size()) << "the text is back in its leader";
  ASSERT_TRUE(host.Redo());
  EXPECT_EQ(4u, host.Model().Graphic(leader)->children.size());
  EXPECT_EQ((std::vector<int32_t>{leader, textId}), host.Model().Drawing(drawing)->graphics);

  ASSERT_TRUE(host.Undo());
  ASSERT_TRUE(host.Undo());
  PlaceAt({{70, 80, 0}}, u"2");
  EXPECT_FALSE(host.Redo()) << "a new step forgets what could be redone";
  EXPECT_EQ(nullptr, host.Model().Graphic(leader));
}

TEST_F(SimRedoTest, UndoneGraphicsAreGoneForEveryoneUntilRedone) {
  const int32_t leader = PlaceAt({{10, 20, 0}, {30, 40, 0}}, u"1");
  const int32_t child = host.Model().Graphic(leader)->children.at(2);
  host.Select({leader});
  ASSERT_TRUE(host.Undo());
  EXPECT_EQ(nullptr, host.Model().Graphic(child)) << "the children go with their leader";
  EXPECT_TRUE(host.Model().Drawing(drawing)->selection.empty());
  EXPECT_FALSE(host.Select({leader}));
  ASSERT_TRUE(host.Redo());
  ASSERT_NE(nullptr, host.Model().Graphic(child));
  EXPECT_EQ((SimListRef{drawing, leader}), *host.Model().Graphic(child)->home);
  EXPECT_TRUE(host.Select({leader}));
}

}  // namespace
