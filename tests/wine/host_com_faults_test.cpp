// Faults of the simulated host cross the whole COM chain unchanged: for every operation of the
// contract, a failing host call gives the core that very code and no object, and a call that
// gives no object gives the core S_OK and a null reference.
#include "host_com_fixture.h"

namespace {

// The result of a chain whose last call gives an object.
template <class T>
HRESULT Object(HRESULT hr, const HostRef<T>& object, bool* gaveObject) {
  *gaveObject = object != nullptr;
  return hr;
}

struct OperationCase {
  const char* name;  // the host call the chain ends with
  bool givesObject;
  std::function<HRESULT(bool* gaveObject)> run;
};

TEST_F(HostComTest, EveryOperationPassesTheHostsFailureAndMissingObjectThrough) {
  const int32_t id = host_.AddGraphic(drawing_, NewGraphic(u"9", u"L", u"B", {{1, 2, 3}}));
  for (int i = 0; i < 3; ++i) host_.AddGraphic(drawing_, NewGraphic(u"spare"));
  HostLocalMenu menu;
  menu.captions = {u"c"};
  menu.prompts = {u"p"};
  menu.flags1 = {true};
  menu.flags2 = {false};
  const auto services = [&] {
    HostRef<HostAddinServices> s;
    EXPECT_EQ(S_OK, App()->QueryAddinServices(&s));
    return s;
  };
  const auto commands = [&] {
    HostRef<HostCommands> c;
    EXPECT_EQ(S_OK, App()->QueryCommands(&c));
    return c;
  };
  const auto selection = [&] {
    host_.Select({id});
    HostRef<HostSelection> s;
    EXPECT_EQ(S_OK, Drawing()->ReadSelection(&s));
    return s;
  };
  const auto vertices = [&] {
    HostRef<HostVertexList> v;
    EXPECT_EQ(S_OK, Graphic(0)->ReadVertexList(&v));
    return v;
  };
  const auto vertex = [&] {
    HostRef<HostVertex> v;
    EXPECT_EQ(S_OK, vertices()->PickVertex(0, &v));
    return v;
  };
  const auto record = [&] {
    HostRef<HostUndoRecord> r;
    EXPECT_EQ(S_OK, Drawing()->OpenUndoRecord(u"Faults", &r));
    return r;
  };
  int32_t n = 0;
  double d = 0;
  std::u16string text;
  HostValue value;

  const OperationCase cases[] = {
      {"IHostTool.ReadApplication", true,
       [&](bool* g) {
         HostRef<HostApp> o;
         return Object(tool_->ReadApplication(&o), o, g);
       }},
      {"IHostTool.ReadToolIndex", false, [&](bool*) { return tool_->ReadToolIndex(&n); }},
      {"IHostApp.ReadActiveDrawing", true,
       [&](bool* g) {
         HostRef<HostDrawing> o;
         return Object(App()->ReadActiveDrawing(&o), o, g);
       }},
      {"IHostApp.ReadToolList", true,
       [&](bool* g) {
         HostRef<HostToolList> o;
         return Object(App()->ReadToolList(&o), o, g);
       }},
      {"IHostApp.ReadVersionText", false, [&](bool*) { return App()->ReadVersionText(0, &text); }},
      {"IHostApp.SubscribeEvents", false, [&](bool*) { return App()->SubscribeEvents(1, &n); }},
      {"IHostApp.UnsubscribeEvents", false,
       [&](bool*) {
         RETURN_IF_FAILED(App()->SubscribeEvents(1, &n));
         return App()->UnsubscribeEvents(n);
       }},
      {"IHostAddinServices.ShowPrompt", false, [&](bool*) { return services()->ShowPrompt(u"p", 0); }},
      {"IHostAddinServices.SetLocalMenu", false, [&](bool*) { return services()->SetLocalMenu(1, &menu, 0); }},
      {"IHostCommands.LookUpCommand", false, [&](bool*) { return commands()->LookUpCommand(u"Edit|Select", &n); }},
      {"IHostCommands.StartCommand", false, [&](bool*) { return commands()->StartCommand(kSimCommandLeader); }},
      {"IHostToolList.PickItem", true,
       [&](bool* g) {
         HostRef<HostToolList> list;
         HostRef<HostLeaderTool> o;
         RETURN_IF_FAILED(App()->ReadToolList(&list));
         return Object(list->PickItem(kSimCommandLeader, &o), o, g);
       }},
      {"IHostLeaderTool.ReadParameterList", true,
       [&](bool* g) {
         HostRef<HostToolList> list;
         HostRef<HostLeaderTool> leader;
         HostRef<HostPropertyList> o;
         RETURN_IF_FAILED(App()->ReadToolList(&list));
         RETURN_IF_FAILED(list->PickItem(kSimCommandLeader, &leader));
         return Object(leader->ReadParameterList(&o), o, g);
       }},
      {"IHostPropertyList.PickProperty", true,
       [&](bool* g) {
         HostRef<HostPropertyList> list;
         HostRef<HostProperty> o;
         RETURN_IF_FAILED(Graphic(0)->ReadPropertyList(&list));
         return Object(list->PickProperty(HostPropertyKey{u"Info"}, &o), o, g);
       }},
      {"IHostProperty.GetPropertyValue", false, [&](bool*) { return Info(*Graphic(0))->GetPropertyValue(0, &value); }},
      {"IHostProperty.SetPropertyValue", false,
       [&](bool*) { return Info(*Graphic(0))->SetPropertyValue(0, HostValue::FromText(u"9")); }},
      {"IHostDrawing.ReadGraphicList", true,
       [&](bool* g) {
         HostRef<HostGraphicList> o;
         return Object(Drawing()->ReadGraphicList(&o), o, g);
       }},
      {"IHostDrawing.ReadSelection", true,
       [&](bool* g) {
         HostRef<HostSelection> o;
         return Object(Drawing()->ReadSelection(&o), o, g);
       }},
      {"IHostDrawing.ReadActiveView", true,
       [&](bool* g) {
         HostRef<HostView> o;
         return Object(Drawing()->ReadActiveView(&o), o, g);
       }},
      {"IHostDrawing.OpenUndoRecord", true,
       [&](bool* g) {
         HostRef<HostUndoRecord> o;
         return Object(Drawing()->OpenUndoRecord(u"U", &o), o, g);
       }},
      {"IHostGraphicList.CountItems", false, [&](bool*) { return DrawingList()->CountItems(&n); }},
      {"IHostGraphicList.PickItem", true,
       [&](bool* g) {
         HostRef<HostGraphic> o;
         return Object(DrawingList()->PickItem(0, &o), o, g);
       }},
      {"IHostGraphicList.ReadOwnerDrawing", true,
       [&](bool* g) {
         HostRef<HostDrawing> o;
         return Object(DrawingList()->ReadOwnerDrawing(&o), o, g);
       }},
      {"IHostGraphicList.FindById", true,
       [&](bool* g) {
         HostRef<HostGraphic> o;
         return Object(DrawingList()->FindById(id, &o), o, g);
       }},
      {"IHostSelection.CountItems", false, [&](bool*) { return selection()->CountItems(&n); }},
      {"IHostSelection.PickItem", true,
       [&](bool* g) {
         HostRef<HostGraphic> o;
         return Object(selection()->PickItem(0, &o), o, g);
       }},
      {"IHostSelection.ClearSelection", false, [&](bool*) { return selection()->ClearSelection(); }},
      {"IHostView.RefreshView", false,
       [&](bool*) {
         HostRef<HostView> view;
         RETURN_IF_FAILED(Drawing()->ReadActiveView(&view));
         return view->RefreshView();
       }},
      {"IHostGraphic.ReadGraphicId", false, [&](bool*) { return Graphic(0)->ReadGraphicId(&n); }},
      {"IHostGraphic.ReadTypeName", false, [&](bool*) { return Graphic(0)->ReadTypeName(&text); }},
      {"IHostGraphic.ReadPropertyList", true,
       [&](bool* g) {
         HostRef<HostPropertyList> o;
         return Object(Graphic(0)->ReadPropertyList(&o), o, g);
       }},
      {"IHostGraphic.ReadChildGraphics", true,
       [&](bool* g) {
         HostRef<HostGraphicList> o;
         return Object(Graphic(0)->ReadChildGraphics(&o), o, g);
       }},
      {"IHostGraphic.ReadVertexList", true,
       [&](bool* g) {
         HostRef<HostVertexList> o;
         return Object(Graphic(0)->ReadVertexList(&o), o, g);
       }},
      {"IHostGraphic.ReadLayer", true,
       [&](bool* g) {
         HostRef<HostLayer> o;
         return Object(Graphic(0)->ReadLayer(&o), o, g);
       }},
      {"IHostGraphic.ReadBlock", true,
       [&](bool* g) {
         HostRef<HostBlock> o;
         return Object(Graphic(0)->ReadBlock(&o), o, g);
       }},
      {"IHostGraphic.UpdateGraphic", false, [&](bool*) { return Graphic(0)->UpdateGraphic(); }},
      {"IHostVertexList.CountItems", false, [&](bool*) { return vertices()->CountItems(&n); }},
      {"IHostVertexList.PickVertex", true,
       [&](bool* g) {
         HostRef<HostVertex> o;
         return Object(vertices()->PickVertex(0, &o), o, g);
       }},
      {"IHostVertex.ReadX", false, [&](bool*) { return vertex()->ReadX(&d); }},
      {"IHostVertex.ReadY", false, [&](bool*) { return vertex()->ReadY(&d); }},
      {"IHostVertex.ReadZ", false, [&](bool*) { return vertex()->ReadZ(&d); }},
      {"IHostLayer.ReadLayerName", false,
       [&](bool*) {
         HostRef<HostLayer> layer;
         RETURN_IF_FAILED(Graphic(0)->ReadLayer(&layer));
         return layer->ReadLayerName(&text);
       }},
      {"IHostBlock.ReadBlockName", false,
       [&](bool*) {
         HostRef<HostBlock> block;
         RETURN_IF_FAILED(Graphic(0)->ReadBlock(&block));
         return block->ReadBlockName(&text);
       }},
      {"IHostUndoRecord.NoteAddedGraphic", false, [&](bool*) { return record()->NoteAddedGraphic(*Graphic(0)); }},
      {"IHostUndoRecord.NoteChangedGraphic", false, [&](bool*) { return record()->NoteChangedGraphic(*Graphic(0)); }},
      {"IHostUndoRecord.CloseUndoRecord", false, [&](bool*) { return record()->CloseUndoRecord(); }},
      {"IHostGraphicList.AppendGraphic", false,
       [&](bool*) {
         HostRef<HostGraphicList> list = DrawingList();
         HostRef<HostGraphic> moved;
         RETURN_IF_FAILED(list->ExtractItem(3, &moved));
         return list->AppendGraphic(*moved);
       }},
      {"IHostGraphicList.ExtractItem", true,
       [&](bool* g) {
         HostRef<HostGraphic> o;
         return Object(DrawingList()->ExtractItem(1, &o), o, g);
       }},
  };

  for (const OperationCase& c : cases) {
    SCOPED_TRACE(c.name);
    bool gaveObject = false;
    const int64_t before = host_.CallCount();
    ASSERT_EQ(S_OK, c.run(&gaveObject));
    EXPECT_EQ(c.givesObject, gaveObject);
    const int64_t calls = host_.CallCount() - before;
    ASSERT_FALSE(host_.Calls().empty());
    EXPECT_EQ(c.name, host_.Calls().back().name);

    host_.FailCall(calls, E_ACCESSDENIED);
    gaveObject = true;
    EXPECT_EQ(E_ACCESSDENIED, c.run(&gaveObject));
    EXPECT_FALSE(gaveObject && c.givesObject);
    EXPECT_EQ(c.name, host_.Calls().back().name);
    EXPECT_EQ(E_ACCESSDENIED, host_.Calls().back().result);

    if (c.givesObject) {
      host_.GiveNoObject(calls);
      gaveObject = true;
      EXPECT_EQ(S_OK, c.run(&gaveObject));
      EXPECT_FALSE(gaveObject);
    }
    host_.ClearFaults();
  }
}

}  // namespace
