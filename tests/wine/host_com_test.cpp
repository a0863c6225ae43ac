// Every host operation through the whole COM chain: what the core asks for arrives in the model,
// what the model holds comes back to the core, objects that "may give none" come back as null,
// and the simulated host's objects serve IDispatch from the host type library.
#include "host_com_fixture.h"

#include <cstring>

#include "host/host_com_contract_win.h"
#include "host/host_com_values_win.h"
#include "simhost/sim_com_object_win.h"

namespace {

TEST_F(HostComTest, ToolAndApplicationAnswer) {
  int32_t index = -1;
  EXPECT_EQ(S_OK, tool_->ReadToolIndex(&index));
  EXPECT_EQ(kToolIndex, index);

  host_.SetVersionText(u"11.2 \u00e9dition");
  std::u16string version;
  EXPECT_EQ(S_OK, App()->ReadVersionText(0, &version));
  EXPECT_EQ(u"11.2 \u00e9dition", version);
  EXPECT_EQ(E_INVALIDARG, App()->ReadVersionText(1, &version));

  host_.SetActiveDrawing(0);
  HostRef<HostDrawing> none;
  EXPECT_EQ(S_OK, App()->ReadActiveDrawing(&none));
  EXPECT_EQ(nullptr, none);
}

TEST_F(HostComTest, GraphicsComeBackAsTheModelHoldsThem) {
  const int32_t plain = host_.AddGraphic(drawing_, NewGraphic(u""));
  const int32_t full = host_.AddGraphic(drawing_, NewGraphic(u"7", u"Notes", u"Frame", {{1.5, -2, 0.25}, {3, 4, 5}}));

  int32_t count = 0;
  EXPECT_EQ(S_OK, DrawingList()->CountItems(&count));
  EXPECT_EQ(2, count);

  HostRef<HostGraphic> graphic = Graphic(1);
  ASSERT_NE(nullptr, graphic);
  int32_t id = 0;
  std::u16string text;
  EXPECT_EQ(S_OK, graphic->ReadGraphicId(&id));
  EXPECT_EQ(full, id);
  EXPECT_EQ(S_OK, graphic->ReadTypeName(&text));
  EXPECT_EQ(u"GRAPHIC", text);
  HostValue info;
  EXPECT_EQ(S_OK, Info(*graphic)->GetPropertyValue(0, &info));
  EXPECT_EQ(HostValue::Kind::Text, info.kind);
  EXPECT_EQ(u"7", info.text);

  HostRef<HostLayer> layer;
  HostRef<HostBlock> block;
  ASSERT_EQ(S_OK, graphic->ReadLayer(&layer));
  ASSERT_EQ(S_OK, graphic->ReadBlock(&block));
  ASSERT_NE(nullptr, layer);
  ASSERT_NE(nullptr, block);
  EXPECT_EQ(S_OK, layer->ReadLayerName(&text));
  EXPECT_EQ(u"Notes", text);
  EXPECT_EQ(S_OK, block->ReadBlockName(&text));
  EXPECT_EQ(u"Frame", text);

  HostRef<HostVertexList> vertices;
  HostRef<HostVertex> vertex;
  ASSERT_EQ(S_OK, graphic->ReadVertexList(&vertices));
  EXPECT_EQ(S_OK, vertices->CountItems(&count));
  EXPECT_EQ(2, count);
  ASSERT_EQ(S_OK, vertices->PickVertex(0, &vertex));
  double x = 0, y = 0, z = 0;
  EXPECT_EQ(S_OK, vertex->ReadX(&x));
  EXPECT_EQ(S_OK, vertex->ReadY(&y));
  EXPECT_EQ(S_OK, vertex->ReadZ(&z));
  EXPECT_EQ(1.5, x);
  EXPECT_EQ(-2.0, y);
  EXPECT_EQ(0.25, z);
  EXPECT_EQ(E_INVALIDARG, vertices->PickVertex(2, &vertex));
  EXPECT_EQ(nullptr, vertex);

  // A graphic without layer or block gives none, and its empty Info is an empty text.
  HostRef<HostGraphic> bare = Graphic(0);
  EXPECT_EQ(S_OK, bare->ReadLayer(&layer));
  EXPECT_EQ(nullptr, layer);
  EXPECT_EQ(S_OK, bare->ReadBlock(&block));
  EXPECT_EQ(nullptr, block);
  EXPECT_EQ(S_OK, Info(*bare)->GetPropertyValue(0, &info));
  EXPECT_EQ(HostValue::Kind::Text, info.kind);
  EXPECT_EQ(u"", info.text);

  HostRef<HostGraphic> found;
  EXPECT_EQ(S_OK, DrawingList()->FindById(plain, &found));
  ASSERT_NE(nullptr, found);
  EXPECT_EQ(S_OK, found->ReadGraphicId(&id));
  EXPECT_EQ(plain, id);
  EXPECT_EQ(S_OK, DrawingList()->FindById(full + 100, &found));
  EXPECT_EQ(nullptr, found);
  EXPECT_EQ(E_INVALIDARG, DrawingList()->PickItem(2, &found));
  EXPECT_EQ(E_INVALIDARG, DrawingList()->PickItem(-1, &found));
}

TEST_F(HostComTest, LeadersCarryTheirChildrenAndTheLeaderText) {
  host_.UserPicksHostTool(kSimCommandLeader);
  EXPECT_EQ(S_OK, LeaderText()->SetPropertyValue(0, HostValue::FromText(u"12")));
  EXPECT_EQ(u"12", host_.LeaderToolText());
  HostValue text;
  EXPECT_EQ(S_OK, LeaderText()->GetPropertyValue(0, &text));
  EXPECT_EQ(u"12", text.text);
  const int32_t leaderId = host_.PlaceLeader(1);
  ASSERT_NE(0, leaderId);

  HostRef<HostGraphic> leader = Graphic(0);
  HostRef<HostGraphicList> children;
  HostRef<HostDrawing> owner;
  ASSERT_EQ(S_OK, leader->ReadChildGraphics(&children));
  int32_t count = 0;
  EXPECT_EQ(S_OK, children->CountItems(&count));
  EXPECT_EQ(5, count);
  EXPECT_EQ(S_OK, children->ReadOwnerDrawing(&owner));
  EXPECT_NE(nullptr, owner);

  HostRef<HostGraphic> textChild, vertexChild;
  HostRef<HostVertexList> vertices;
  std::u16string typeName;
  ASSERT_EQ(S_OK, children->PickItem(4, &textChild));
  EXPECT_EQ(S_OK, textChild->ReadTypeName(&typeName));
  EXPECT_EQ(u"TEXT", typeName);
  EXPECT_EQ(S_OK, Info(*textChild)->GetPropertyValue(0, &text));
  EXPECT_EQ(u"12", text.text);
  ASSERT_EQ(S_OK, children->PickItem(2, &vertexChild));
  ASSERT_EQ(S_OK, vertexChild->ReadVertexList(&vertices));
  EXPECT_EQ(S_OK, vertices->CountItems(&count));
  EXPECT_EQ(1, count);

  HostRef<HostToolList> tools;
  HostRef<HostLeaderTool> other;
  ASSERT_EQ(S_OK, App()->ReadToolList(&tools));
  EXPECT_EQ(E_INVALIDARG, tools->PickItem(kSimCommandSelect, &other));
  EXPECT_EQ(nullptr, other);
}

TEST_F(HostComTest, ExtractAndAppendMoveGraphicsBetweenLists) {
  host_.AddGraphic(drawing_, NewGraphic(u"a"));
  const int32_t moved = host_.AddGraphic(drawing_, NewGraphic(u"b"));
  const int32_t parent = host_.AddGraphic(drawing_, NewGraphic(u"c"));

  HostRef<HostGraphicList> list = DrawingList();
  HostRef<HostGraphic> extracted;
  ASSERT_EQ(S_OK, list->ExtractItem(1, &extracted));
  ASSERT_NE(nullptr, extracted);
  int32_t count = 0, id = 0;
  EXPECT_EQ(S_OK, list->CountItems(&count));
  EXPECT_EQ(2, count);

  HostRef<HostGraphic> parentGraphic;
  HostRef<HostGraphicList> children;
  ASSERT_EQ(S_OK, list->FindById(parent, &parentGraphic));
  ASSERT_EQ(S_OK, parentGraphic->ReadChildGraphics(&children));
  EXPECT_EQ(S_OK, children->AppendGraphic(*extracted));
  EXPECT_EQ(S_OK, children->CountItems(&count));
  EXPECT_EQ(1, count);
  HostRef<HostGraphic> child;
  ASSERT_EQ(S_OK, children->PickItem(0, &child));
  EXPECT_EQ(S_OK, child->ReadGraphicId(&id));
  EXPECT_EQ(moved, id);

  // A graphic that did not come through these adapters has no COM interface to hand over.
  HostRef<HostGraphicList> inProcessList;
  HostRef<HostGraphic> inProcess;
  ASSERT_EQ(S_OK, host_.Drawing(drawing_)->ReadGraphicList(&inProcessList));
  ASSERT_EQ(S_OK, inProcessList->PickItem(0, &inProcess));
  const int64_t callsBefore = host_.CallCount();
  EXPECT_EQ(E_INVALIDARG, list->AppendGraphic(*inProcess));
  EXPECT_EQ(callsBefore, host_.CallCount());
}

TEST_F(HostComTest, UndoRecordRestoresANotedChange) {
  const int32_t id = host_.AddGraphic(drawing_, NewGraphic(u"old"));
  HostRef<HostGraphic> graphic = Graphic(0);
  HostRef<HostUndoRecord> record;
  ASSERT_EQ(S_OK, Drawing()->OpenUndoRecord(u"Renumber", &record));
  ASSERT_NE(nullptr, record);
  EXPECT_EQ(S_OK, record->NoteChangedGraphic(*graphic));
  EXPECT_EQ(S_OK, Info(*graphic)->SetPropertyValue(0, HostValue::FromText(u"new")));
  EXPECT_EQ(S_OK, graphic->UpdateGraphic());
  EXPECT_EQ(S_OK, record->CloseUndoRecord());
  EXPECT_EQ(1, host_.UpdateCount(id));
  ASSERT_EQ(std::vector<std::u16string>{u"Renumber"}, host_.UndoCaptions());

  EXPECT_TRUE(host_.Undo());
  HostValue info;
  EXPECT_EQ(S_OK, Info(*graphic)->GetPropertyValue(0, &info));
  EXPECT_EQ(u"old", info.text);

  HostRef<HostGraphic> inProcess;
  HostRef<HostGraphicList> inProcessList;
  ASSERT_EQ(S_OK, host_.Drawing(drawing_)->ReadGraphicList(&inProcessList));
  ASSERT_EQ(S_OK, inProcessList->PickItem(0, &inProcess));
  ASSERT_EQ(S_OK, Drawing()->OpenUndoRecord(u"Other", &record));
  EXPECT_EQ(E_INVALIDARG, record->NoteAddedGraphic(*inProcess));
  EXPECT_EQ(E_INVALIDARG, record->NoteChangedGraphic(*inProcess));
}

TEST_F(HostComTest, SelectionViewAndCommands) {
  const int32_t first = host_.AddGraphic(drawing_, NewGraphic(u"1"));
  const int32_t second = host_.AddGraphic(drawing_, NewGraphic(u"2"));
  host_.Select({second, first});
  HostRef<HostSelection> selection;
  ASSERT_EQ(S_OK, Drawing()->ReadSelection(&selection));
  int32_t count = 0, id = 0;
  EXPECT_EQ(S_OK, selection->CountItems(&count));
  EXPECT_EQ(2, count);
  HostRef<HostGraphic> picked;
  ASSERT_EQ(S_OK, selection->PickItem(0, &picked));
  EXPECT_EQ(S_OK, picked->ReadGraphicId(&id));
  EXPECT_EQ(second, id);
  EXPECT_EQ(S_OK, selection->ClearSelection());
  EXPECT_EQ(S_OK, selection->CountItems(&count));
  EXPECT_EQ(0, count);

  HostRef<HostView> view;
  ASSERT_EQ(S_OK, Drawing()->ReadActiveView(&view));
  EXPECT_EQ(S_OK, view->RefreshView());
  EXPECT_EQ(1, host_.RefreshCount());

  HostRef<HostCommands> commands;
  ASSERT_EQ(S_OK, App()->QueryCommands(&commands));
  ASSERT_NE(nullptr, commands);
  EXPECT_EQ(S_OK, commands->LookUpCommand(u"Insert|Dimension|Leader", &id));
  EXPECT_EQ(kSimCommandLeader, id);
  EXPECT_EQ(E_INVALIDARG, commands->LookUpCommand(u"Insert|Dimension", &id));
  EXPECT_EQ(S_OK, commands->StartCommand(kSimCommandSelect));
  EXPECT_EQ(kSimCommandSelect, host_.ActiveCommand());
  EXPECT_EQ(E_INVALIDARG, commands->StartCommand(9999));
}

TEST_F(HostComTest, PromptAndLocalMenuReachTheHost) {
  HostRef<HostAddinServices> services;
  ASSERT_EQ(S_OK, App()->QueryAddinServices(&services));
  ASSERT_NE(nullptr, services);
  EXPECT_EQ(S_OK, services->ShowPrompt(u"Pick the object", 0));
  EXPECT_EQ(u"Pick the object", host_.Prompt());

  HostLocalMenu menu;
  menu.captions = {u"&Undo", u"&Finish"};
  menu.prompts = {u"Undo the last leader", u""};
  menu.flags1 = {true, false};
  menu.flags2 = {false, true};
  EXPECT_EQ(S_OK, services->SetLocalMenu(2, &menu, 1));
  EXPECT_EQ(2, host_.LocalMenuCount());
  EXPECT_EQ(1, host_.LocalMenuLast());
  EXPECT_EQ(menu.captions, host_.LocalMenu().captions);
  EXPECT_EQ(menu.prompts, host_.LocalMenu().prompts);
  EXPECT_EQ(menu.flags1, host_.LocalMenu().flags1);
  EXPECT_EQ(menu.flags2, host_.LocalMenu().flags2);

  // No menu: the four arrays go omitted and the host removes its menu.
  EXPECT_EQ(S_OK, services->SetLocalMenu(0, nullptr, 0));
  EXPECT_EQ(0, host_.LocalMenuCount());
  EXPECT_EQ(E_INVALIDARG, services->SetLocalMenu(1, nullptr, 0));
}

TEST_F(HostComTest, AdaptingRefusesObjectsThatAreNoHostObjects) {
  HostRef<HostTool> tool;
  HostRef<HostDrawing> drawing;
  EXPECT_EQ(E_POINTER, AdaptHostTool(nullptr, &addin_, &tool));
  EXPECT_EQ(E_NOINTERFACE, AdaptHostTool(&addin_, &addin_, &tool));
  EXPECT_EQ(nullptr, tool);
  EXPECT_EQ(E_POINTER, AdaptHostDrawing(nullptr, &drawing));
  EXPECT_EQ(E_NOINTERFACE, AdaptHostDrawing(thisTool_.Get(), &drawing));
  EXPECT_EQ(nullptr, drawing);

  ComPtr<IDispatch> comDrawing;
  EXPECT_EQ(E_INVALIDARG, MakeComDrawing(host_, drawing_ + 1, &comDrawing));
  ASSERT_EQ(S_OK, MakeComDrawing(host_, drawing_, &comDrawing));
  EXPECT_EQ(S_OK, AdaptHostDrawing(comDrawing.Get(), &drawing));
  EXPECT_NE(nullptr, drawing);
}

TEST_F(HostComTest, ComObjectsTakeOnlyTheContractsArgumentTypes) {
  host_.AddGraphic(drawing_, NewGraphic(u"x"));
  ComPtr<IHostApp> app = ComApp();
  ComPtr<IHostDrawing> drawing;
  ComPtr<IHostGraphicList> list;
  ComPtr<IHostToolList> tools;
  ComPtr<IHostGraphic> graphic;
  ComPtr<IHostLeaderTool> leader;
  ASSERT_EQ(S_OK, app->ReadActiveDrawing(&drawing));
  ASSERT_EQ(S_OK, drawing->ReadGraphicList(&list));
  ASSERT_EQ(S_OK, app->ReadToolList(&tools));

  VARIANT shortIndex;
  VariantInit(&shortIndex);
  V_VT(&shortIndex) = VT_I2;
  V_I2(&shortIndex) = 0;
  EXPECT_EQ(DISP_E_TYPEMISMATCH, list->PickItem(shortIndex, &graphic));
  EXPECT_EQ(DISP_E_TYPEMISMATCH, tools->PickItem(LongVariant(kSimCommandLeader), &leader));
  EXPECT_EQ(S_OK, tools->PickItem(ULongVariant(kSimCommandLeader), &leader));
  ASSERT_EQ(S_OK, list->ExtractItem(LongVariant(0), &graphic));
  EXPECT_EQ(E_INVALIDARG, list->AppendGraphic(graphic.Get(), LongVariant(0), OmittedVariant()));
  EXPECT_EQ(E_POINTER, list->AppendGraphic(nullptr, OmittedVariant(), OmittedVariant()));
  EXPECT_EQ(S_OK, list->AppendGraphic(graphic.Get(), OmittedVariant(), OmittedVariant()));
  long cookie = 0;
  EXPECT_EQ(E_POINTER, app->SubscribeEvents(nullptr, LongVariant(1), &cookie));
  EXPECT_EQ(DISP_E_TYPEMISMATCH, app->SubscribeEvents(&addin_, ULongVariant(1), &cookie));
  EXPECT_EQ(0, host_.SubscriberCount());
}

TEST_F(HostComTest, ApplicationAnswersForItsServicesWithOneIdentity) {
  ComPtr<IHostApp> app = ComApp();
  ComPtr<IHostAddinServices> services;
  ComPtr<IHostCommands> commands;
  ComPtr<IUnknown> fromApp, fromServices, fromCommands;
  ASSERT_EQ(S_OK, app.As(&services));
  ASSERT_EQ(S_OK, services.As(&commands));
  ASSERT_EQ(S_OK, app.As(&fromApp));
  ASSERT_EQ(S_OK, services.As(&fromServices));
  ASSERT_EQ(S_OK, commands.As(&fromCommands));
  EXPECT_EQ(fromApp.Get(), fromServices.Get());
  EXPECT_EQ(fromApp.Get(), fromCommands.Get());
  ComPtr<IHostDrawing> notAnApp;
  EXPECT_EQ(E_NOINTERFACE, app.As(&notAnApp));
}

TEST_F(HostComTest, DispatchIsServedFromTheHostTypeLibrary) {
  for (size_t i = 0; i < std::size(kHostCalls); ++i) {  // each method of the list at its dispatch id
    ComPtr<ITypeInfo> type;
    ASSERT_EQ(S_OK, LoadHostTypeInfo(*kHostCallInterfaces[i], &type));
    std::wstring method(kHostCalls[i].method, kHostCalls[i].method + std::strlen(kHostCalls[i].method));
    LPOLESTR methodName = method.data();
    DISPID methodId = 0;
    EXPECT_EQ(S_OK, type->GetIDsOfNames(&methodName, 1, &methodId)) << kHostCalls[i].name;
    EXPECT_EQ(kHostCalls[i].dispid, methodId) << kHostCalls[i].name;
  }
  const wchar_t* name = L"ReadToolIndex";
  DISPID id = 0;
  EXPECT_EQ(S_OK, thisTool_->GetIDsOfNames(IID_NULL, const_cast<LPOLESTR*>(&name), 1, LOCALE_USER_DEFAULT, &id));
  EXPECT_EQ(2, id);
  ComPtr<ITypeInfo> info;
  TYPEATTR* attributes = nullptr;
  ASSERT_EQ(S_OK, thisTool_->GetTypeInfo(0, LOCALE_USER_DEFAULT, &info));
  ASSERT_EQ(S_OK, info->GetTypeAttr(&attributes));
  EXPECT_TRUE(IsEqualIID(IID_IHostTool, attributes->guid));
  info->ReleaseTypeAttr(attributes);

  InvokeResult index;
  Invoke(thisTool_.Get(), 2, DISPATCH_METHOD, {}, &index);
  ASSERT_EQ(S_OK, index.hr);
  ASSERT_EQ(VT_I4, V_VT(&index.value));
  EXPECT_EQ(kToolIndex, V_I4(&index.value));

  InvokeResult app;
  Invoke(thisTool_.Get(), 1, DISPATCH_METHOD, {}, &app);
  ASSERT_EQ(S_OK, app.hr);
  ASSERT_EQ(VT_DISPATCH, V_VT(&app.value));
  InvokeResult version;
  Invoke(V_DISPATCH(&app.value), 3, DISPATCH_METHOD, {LongVariant(0)}, &version);
  ASSERT_EQ(S_OK, version.hr);
  ASSERT_EQ(VT_BSTR, V_VT(&version.value));
  EXPECT_STREQ(L"10.5", V_BSTR(&version.value));

  // A failing method reaches a script caller as an exception carrying its code.
  InvokeResult failed;
  Invoke(V_DISPATCH(&app.value), 3, DISPATCH_METHOD, {LongVariant(7)}, &failed);
  EXPECT_EQ(DISP_E_EXCEPTION, failed.hr);
  EXPECT_EQ(E_INVALIDARG, failed.MethodCode());
}

}  // namespace
