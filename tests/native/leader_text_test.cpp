// The texts that the Object tool takes from its base object, by text source.
#include <gtest/gtest.h>

#include "addin/tool/tool_table.h"
#include "testing/tool_session.h"

namespace {

// Runs the Object tool with `source`, picks the graphic made from `request` and gives the text the
// leader tool then holds (or the marker when nothing was written).
struct ObjectText {
  HRESULT hr;
  std::u16string text;
};

ObjectText TextOf(int32_t source, const SimGraphicSpec& request) {
  ToolSession s;
  s.options().TLDefObjDSource = source;
  s.AddGraphic(request);
  EXPECT_EQ(S_OK, s.Run(ObjectTool));
  s.host.SetLeaderToolText(u"<unwritten>");
  HostRef<HostDrawing> drawing = s.host.Drawing(s.drawing);
  HostRef<HostGraphicList> list;
  EXPECT_EQ(S_OK, drawing->ReadGraphicList(&list));
  HostRef<HostGraphic> graphic;
  EXPECT_EQ(S_OK, list->PickItem(0, &graphic));
  const HRESULT hr = s.tool.UpdateLeaderText(graphic.get());
  return {hr, s.LeaderToolText()};
}

TEST(ObjectText, BySource) {
  const SimPoint origin{0, 0, 0}, three{3, 0, 0}, seven{7, 0, 0};
  const struct {
    const char* what;
    int32_t source;
    SimGraphicSpec request;
    std::u16string text;
  } cases[] = {
      {"info", 0, {u"GRAPHIC", u"Pump P-101"}, u"Pump P-101"},
      {"empty info gives the type", 0, {u"TCW40EXTRUDE", u""}, u"TCW40EXTRUDE"},
      {"insert gives its block", 0, {u"INSERT", u"ignored", std::nullopt, u"Valve-DN50"}, u"Valve-DN50"},
      {"insert without block name", 0, {u"INSERT", u"ignored", std::nullopt, u""}, u"INSERT"},
      {"layer", 1, {u"GRAPHIC", u"", u"Piping"}, u"Piping"},
      {"path of two segments", 2, {u"GRAPHIC", u"", std::nullopt, std::nullopt, {origin, three, seven}}, u"L = 7.00"},
      {"one segment", 2, {u"TCW40EXTRUDE", u"", std::nullopt, std::nullopt, {origin, three}}, u"L = 3.00"},
      {"diagonal", 2, {u"GRAPHIC", u"", std::nullopt, std::nullopt, {origin, {1, 2, 2}}}, u"L = 3.00"},
      {"single vertex", 2, {u"GRAPHIC", u"", std::nullopt, std::nullopt, {origin}}, u""},
      {"leader is no path", 2, {u"TCW25DimLead", u"", std::nullopt, std::nullopt, {origin, three}}, u"N/A"},
      {"type compared exactly", 2, {u"graphic", u"", std::nullopt, std::nullopt, {origin, three}}, u"N/A"},
      {"unknown source", 5, {u"GRAPHIC", u"Pump"}, u""},
  };
  for (const auto& c : cases) {
    const ObjectText result = TextOf(c.source, c.request);
    EXPECT_EQ(S_OK, result.hr) << c.what;
    EXPECT_EQ(c.text, result.text) << c.what;
  }
}

TEST(ObjectText, MissingLayerOrBlockObjectIsEPointerAndWritesNothing) {
  ObjectText noLayer = TextOf(1, {u"GRAPHIC", u"x"});
  EXPECT_EQ(E_POINTER, noLayer.hr);
  EXPECT_EQ(u"<unwritten>", noLayer.text);
  ObjectText noBlock = TextOf(0, {u"INSERT", u"x"});
  EXPECT_EQ(E_POINTER, noBlock.hr);
  EXPECT_EQ(u"<unwritten>", noBlock.text);
}

TEST(ObjectText, WithoutBaseObjectKeepsTheTextChosenWithTheObject) {
  ToolSession s;
  const int32_t a = s.AddGraphic({u"GRAPHIC", u"Chosen"});
  ASSERT_EQ(S_OK, s.Run(ObjectTool));
  s.host.Select({a});
  ASSERT_EQ(u"Chosen", s.LeaderToolText());
  EXPECT_EQ(E_FAIL, s.tool.UpdateLeaderText(nullptr));
  EXPECT_EQ(u"Chosen", s.LeaderToolText());
  s.host.MouseDown(1, 0, 0, 0);
  EXPECT_EQ(u"Chosen", s.LeaderToolText());

  s.options().TLDefObjDSource = 5;  // no source: the empty text, base object or not
  EXPECT_EQ(S_OK, s.tool.UpdateLeaderText(nullptr));
  EXPECT_EQ(u"", s.LeaderToolText());
}

TEST(ObjectText, FailingHostReadsAreReturnedAndWriteNothing) {
  // For each source, every host call of reading the text fails in turn.
  const SimGraphicSpec path{u"GRAPHIC", u"", u"L1", std::nullopt, {{0, 0, 0}, {3, 0, 0}}};
  for (int32_t source : {0, 1, 2}) {
    for (int64_t k = 1;; ++k) {
      ToolSession s;
      s.options().TLDefObjDSource = source;
      s.AddGraphic(path);
      ASSERT_EQ(S_OK, s.Run(ObjectTool));
      HostRef<HostDrawing> drawing = s.host.Drawing(s.drawing);
      HostRef<HostGraphicList> list;
      ASSERT_EQ(S_OK, drawing->ReadGraphicList(&list));
      HostRef<HostGraphic> graphic;
      ASSERT_EQ(S_OK, list->PickItem(0, &graphic));
      s.host.SetLeaderToolText(u"<unwritten>");
      s.host.ClearCalls();
      s.host.FailCall(k, static_cast<HRESULT>(0x80041234));
      const HRESULT hr = s.tool.UpdateLeaderText(graphic.get());
      if (s.host.Calls().size() < static_cast<size_t>(k)) {
        EXPECT_EQ(S_OK, hr);
        s.host.ClearFaults();
        break;
      }
      EXPECT_EQ(static_cast<HRESULT>(0x80041234), hr) << "source " << source << " call " << k;
      EXPECT_EQ(u"<unwritten>", s.LeaderToolText()) << "source " << source << " call " << k;
    }
  }
}

}  // namespace
