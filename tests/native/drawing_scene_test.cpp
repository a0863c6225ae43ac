// What the reference host shows of a drawing and does with clicks: the shapes of each graphic,
// the hit test, the SVG text, and the leader and select commands' handling of presses.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "tlhost/drawing_input.h"
#include "tlhost/drawing_scene.h"

namespace {

class Recorder : public SimEventTarget {
 public:
  HRESULT Deliver(SimHost& host, const SimEvent& event) override {
    events.push_back(event);
    commandSeen.push_back(host.ActiveCommand());
    return S_OK;
  }
  std::vector<SimEvent> events;
  std::vector<int32_t> commandSeen;
};

class DrawingSceneTest : public ::testing::Test {
 protected:
  void SetUp() override {
    drawing = AddSampleDrawing(host);
    host.SetActiveDrawing(drawing);
    int32_t cookie = 0;
    host.SubscribeWith(recorder, -1, &cookie);
  }
  std::vector<SceneShape> ShapesOf(int32_t id) {
    std::vector<SceneShape> shapes;
    for (const SceneShape& shape : BuildScene(host.Model(), drawing)) {
      if (shape.graphicId == id) shapes.push_back(shape);
    }
    return shapes;
  }
  std::vector<ShapeKind> KindsOf(int32_t id) {
    std::vector<ShapeKind> kinds;
    for (const SceneShape& shape : ShapesOf(id)) kinds.push_back(shape.kind);
    return kinds;
  }

  SimHost host;
  std::shared_ptr<Recorder> recorder = std::make_shared<Recorder>();
  DrawingInput input{host};
  int32_t drawing = 0;
};

TEST_F(DrawingSceneTest, SampleDrawingHoldsEveryTypeTheAddinReads) {
  const SimDrawingData* data = host.Model().Drawing(drawing);
  ASSERT_EQ(5u, data->graphics.size());
  std::vector<std::u16string> types, layers;
  for (int32_t id : data->graphics) {
    types.push_back(host.Model().Graphic(id)->typeName);
    layers.push_back(host.Model().Graphic(id)->layer.value_or(u""));
  }
  EXPECT_EQ((std::vector<std::u16string>{u"GRAPHIC", u"GRAPHIC", u"TCW40EXTRUDE", u"INSERT", u"GRAPHIC"}), types);
  EXPECT_EQ((std::vector<std::u16string>{u"Piping", u"Equipment", u"Structure", u"Equipment", u"Notes"}), layers);
  EXPECT_EQ(u"PUMP-STD", host.Model().Graphic(data->graphics[3])->block.value_or(u""));
  EXPECT_EQ((std::vector<ShapeKind>{ShapeKind::Line}), KindsOf(1));
  EXPECT_EQ((std::vector<ShapeKind>{ShapeKind::Area}), KindsOf(3));
  EXPECT_EQ((std::vector<ShapeKind>{ShapeKind::Area, ShapeKind::Text}), KindsOf(4));
}

TEST_F(DrawingSceneTest, TwoClicksMakeALeaderAfterMouseDownReachesTheAddin) {
  EXPECT_EQ(DrawingInput::Outcome::Nothing, input.Press({20, 60, 0}, false).outcome) << "no command runs";
  host.UserPicksHostTool(kSimCommandLeader);
  host.SetLeaderToolText(u"7");
  recorder->events.clear();
  EXPECT_EQ(DrawingInput::Outcome::ArrowPointSet, input.Press({20, 60, 0}, false).outcome);
  const DrawingInput::Result placed = input.Press({30, 70, 0}, true);
  ASSERT_EQ(DrawingInput::Outcome::LeaderPlaced, placed.outcome);
  ASSERT_EQ(2u, recorder->events.size());
  EXPECT_EQ(kDispMouseDown, recorder->events[1].dispid);
  EXPECT_EQ(1, recorder->events[1].shift);
  EXPECT_EQ(120, recorder->events[1].x) << "the window's pixels";
  EXPECT_EQ(280, recorder->events[1].y);
  EXPECT_EQ(6u, host.Model().Drawing(drawing)->graphics.size()) << "the leader came after the event";
  EXPECT_EQ((std::vector<ShapeKind>{ShapeKind::Line, ShapeKind::Arrow, ShapeKind::TextFrame, ShapeKind::Text}),
            KindsOf(placed.graphicId));
  EXPECT_EQ(u"7", ShapesOf(placed.graphicId).back().text);
  EXPECT_EQ(placed.graphicId, GraphicAt(host.Model(), drawing, {30, 70, 0})) << "its text frame";
  EXPECT_EQ(placed.graphicId, GraphicAt(host.Model(), drawing, {25, 65, 0})) << "its line";
}

TEST_F(DrawingSceneTest, DoubleClickMakesAPointLeaderOrOnlyEndsOne) {
  host.UserPicksHostTool(kSimCommandLeader);
  input.Press({50, 50, 0}, false);
  const DrawingInput::Result point = input.DoublePress({50, 50, 0}, false);
  ASSERT_EQ(DrawingInput::Outcome::LeaderPlaced, point.outcome);
  const SimGraphicData* leader = host.Model().Graphic(point.graphicId);
  EXPECT_EQ(1u, host.Model().Graphic(leader->children[2])->vertices.size());

  input.Press({10, 10, 0}, false);
  ASSERT_EQ(DrawingInput::Outcome::LeaderPlaced, input.Press({20, 20, 0}, false).outcome);
  EXPECT_EQ(DrawingInput::Outcome::Nothing, input.DoublePress({20, 20, 0}, false).outcome)
      << "the double-click's first press ended the leader begun before";
  EXPECT_EQ(7u, host.Model().Drawing(drawing)->graphics.size());
}

TEST_F(DrawingSceneTest, RightPressOnlyTellsTheAddinAndACommandChangeDropsAHalfLeader) {
  host.UserPicksHostTool(kSimCommandLeader);
  input.Press({10, 10, 0}, false);
  recorder->events.clear();
  input.RightPress({40, 40, 0}, false);
  ASSERT_EQ(1u, recorder->events.size());
  EXPECT_EQ(2, recorder->events[0].button);
  ASSERT_TRUE(input.ArrowPoint().has_value()) << "the half-made leader stays";
  input.Reset();
  EXPECT_FALSE(input.ArrowPoint().has_value());
  EXPECT_EQ(DrawingInput::Outcome::ArrowPointSet, input.Press({20, 20, 0}, false).outcome) << "a new first point";
}

TEST_F(DrawingSceneTest, SelectByClickWithShiftAddingAndTakingAway) {
  host.UserPicksHostTool(kSimCommandSelect);
  recorder->events.clear();
  EXPECT_EQ(2, input.Press({140, 100, 0}, false).graphicId) << "the tank's right side";
  input.Press({40, 110, 0}, true);
  EXPECT_EQ((std::vector<int32_t>{2, 1}), host.Model().Drawing(drawing)->selection);
  input.Press({140, 100, 0}, true);
  EXPECT_EQ((std::vector<int32_t>{1}), host.Model().Drawing(drawing)->selection);
  input.Press({100, 5, 0}, false);
  EXPECT_TRUE(host.Model().Drawing(drawing)->selection.empty()) << "a click on nothing";
  int selectionEvents = 0;
  for (const SimEvent& event : recorder->events) selectionEvents += event.dispid == kDispSelectionChange;
  EXPECT_EQ(4, selectionEvents);
  EXPECT_EQ(ShapeStyle::Plain, ShapesOf(2).front().style);
  input.Press({140, 100, 0}, false);
  EXPECT_EQ(ShapeStyle::Selected, ShapesOf(2).front().style);
}

TEST_F(DrawingSceneTest, HitTestFindsInsidesEdgesAndNothing) {
  EXPECT_EQ(3, GraphicAt(host.Model(), drawing, {45, 27, 0})) << "inside the base plate";
  EXPECT_EQ(4, GraphicAt(host.Model(), drawing, {135, 40, 0})) << "inside the pump block";
  EXPECT_EQ(2, GraphicAt(host.Model(), drawing, {111, 100, 0})) << "near the tank's edge";
  EXPECT_EQ(0, GraphicAt(host.Model(), drawing, {125, 100, 0})) << "an open outline is no area";
  EXPECT_EQ(0, GraphicAt(host.Model(), drawing, {100, 5, 0}));
}

TEST_F(DrawingSceneTest, ConvertedPointLeaderShowsItsTextApart) {
  host.UserPicksHostTool(kSimCommandLeader);
  host.SetLeaderToolText(u"A&B <1>");
  const int32_t leader = host.PlaceLeaderAt({{50, 50, 0}});
  SimListRef children{drawing, leader};
  int32_t text = 0;
  ASSERT_EQ(S_OK, host.Model().Extract(children, 4, &text));
  ASSERT_EQ(S_OK, host.Model().Append(SimListRef{drawing, 0}, text));
  EXPECT_EQ((std::vector<ShapeKind>{ShapeKind::Arrow}), KindsOf(leader));
  const std::vector<SceneShape> free = ShapesOf(text);
  ASSERT_EQ(1u, free.size());
  EXPECT_EQ(ShapeStyle::FreeText, free[0].style);
  EXPECT_EQ((std::vector<SimPoint>{{54, 54, 0}}), free[0].points);
  const std::string svg = SceneToSvg(BuildScene(host.Model(), drawing));
  EXPECT_EQ(0u, svg.find("<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"800\" height=\"560\""));
  EXPECT_NE(std::string::npos, svg.find(">A&amp;B &lt;1&gt;</text>"));
  EXPECT_NE(std::string::npos, svg.find("<polyline points=\"80.0,120.0 240.0,120.0 240.0,240.0 340.0,240.0\""))
      << "the pipe run in pixels, y downwards";
  EXPECT_NE(std::string::npos, svg.find("stroke-dasharray")) << "the block's outline";
  EXPECT_EQ("</svg>\n", svg.substr(svg.size() - 7));
}

TEST_F(DrawingSceneTest, EachShapeKindInSvgWithItsStyle) {
  host.UserPicksHostTool(kSimCommandLeader);
  host.SetLeaderToolText(u"7");
  const int32_t leader = host.PlaceLeaderAt({{20, 60, 0}, {30, 70, 0}});
  host.Select({leader});
  std::string svg;
  for (const SceneShape& shape : ShapesOf(leader)) svg += SceneToSvg({shape});
  const std::string selected = "stroke=\"#e07000\" stroke-width=\"2.5\"";
  EXPECT_NE(std::string::npos, svg.find("<polyline points=\"80.0,320.0 120.0,280.0\" fill=\"none\" " + selected));
  EXPECT_NE(std::string::npos, svg.find("<polygon points=\"80.0,320.0 ")) << "the arrow head at the first point";
  EXPECT_NE(std::string::npos, svg.find("fill=\"#e07000\"/>")) << "filled with the stroke colour";
  EXPECT_NE(std::string::npos, svg.find("<rect x=\"")) << "the text frame";
  EXPECT_NE(std::string::npos, svg.find("font-size=\"14.0\" text-anchor=\"middle\"")) << "3.5 units high";
  EXPECT_NE(std::string::npos, svg.find(">7</text>"));
  const std::string block = SceneToSvg(ShapesOf(4));
  EXPECT_NE(std::string::npos, block.find("fill=\"#eef7f1\" stroke=\"#22805a\" stroke-width=\"1.5\" "
                                          "stroke-dasharray=\"6 3\""));
  EXPECT_NE(std::string::npos, block.find("font-size=\"10.0\"")) << "the block's name is smaller";
}

TEST_F(DrawingSceneTest, TheNewestGraphicUnderThePointWins) {
  host.UserPicksHostTool(kSimCommandLeader);
  const int32_t first = host.PlaceLeaderAt({{120, 40, 0}, {135, 30, 0}});  // its text on the pump block
  EXPECT_EQ(first, GraphicAt(host.Model(), drawing, {135, 30, 0}));
  EXPECT_EQ(4, GraphicAt(host.Model(), drawing, {145, 45, 0})) << "the block where no leader is";
  const int32_t second = host.PlaceLeaderAt({{135, 30, 0}});
  EXPECT_EQ(second, GraphicAt(host.Model(), drawing, {135, 30, 0})) << "its arrow point";
  EXPECT_EQ(0, GraphicAt(host.Model(), 99, {135, 30, 0})) << "no such drawing";
}

TEST(DrawingSceneText, Utf8) {
  EXPECT_EQ("Ab", Utf16ToUtf8(u"Ab"));
  EXPECT_EQ("\xc3\xa9\xe2\x82\xac\xf0\x9f\x98\x80", Utf16ToUtf8(u"\u00e9\u20ac\U0001F600"));
}

TEST(DrawingSceneView, PixelsAndBack) {
  EXPECT_EQ(800, SceneView::PixelWidth());
  EXPECT_EQ(560, SceneView::PixelHeight());
  EXPECT_EQ(80.0, SceneView::PixelX(20));
  EXPECT_EQ(320.0, SceneView::PixelY(60));
  EXPECT_EQ((SimPoint{20, 60, 0}), SceneView::FromPixel(80, 320));
}

}  // namespace
