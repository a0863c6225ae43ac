// Faults of the simulated host cross the whole COM chain unchanged: for every method of the list
// of the host's methods, a failing host call gives the core that very code and no object, and a
// call that gives no object gives the core S_OK and a null reference.
#include <algorithm>
#include <tuple>
#include <type_traits>

#include "host_com_fixture.h"

namespace {

struct OperationCase {
  const char* name;  // the host call the chain ends with
  bool givesObject;
  std::function<HRESULT(bool* gaveObject)> run;
};

// A case whose chain `run` ends with the host call `Method`.
template <auto Method>
OperationCase Chain(std::function<HRESULT(bool* gaveObject)> run) {
  return {HostCall<Method>::kName, HostCall<Method>::kGivesObject, std::move(run)};
}

// What `Method` gives after `Inputs` arguments: void where it gives nothing.
template <size_t Inputs, class... P>
auto ResultAfter(HostParams<P...>) {
  if constexpr (Inputs < sizeof...(P)) return std::remove_pointer_t<std::tuple_element_t<Inputs, std::tuple<P...>>>{};
}
template <auto Method, size_t Inputs>
using ResultOf = decltype(ResultAfter<Inputs>(typename HostCall<Method>::Params{}));

// Calls `Method` on `object` with `in`, and with a result of its own where the method gives one.
template <auto Method, class Object, class... In>
HRESULT CallWith(Object& object, bool* gaveObject, const In&... in) {
  using Result = ResultOf<Method, sizeof...(In)>;
  if constexpr (std::is_void_v<Result>) {
    return (object.*Method)(in...);
  } else {
    Result result{};
    const HRESULT hr = (object.*Method)(in..., &result);
    if constexpr (HostCall<Method>::kGivesObject) *gaveObject = result != nullptr;
    return hr;
  }
}

// The object `Method` gives on `object`.
template <auto Method, class Object, class... In>
auto Got(const Object& object, const In&... in) {
  ResultOf<Method, sizeof...(In)> result;
  EXPECT_EQ(S_OK, ((*object).*Method)(in..., &result));
  return result;
}

// A case that calls `Method` on the object `target` gives.
template <auto Method, class Target, class... In>
OperationCase Case(Target target, In... in) {
  return Chain<Method>([=](bool* gaveObject) {
    auto object = target();
    RETURN_HR_IF_NULL(E_POINTER, object);
    return CallWith<Method>(*object, gaveObject, in...);
  });
}

TEST_F(HostComTest, EveryOperationPassesTheHostsFailureAndMissingObjectThrough) {
  const int32_t id = host_.AddGraphic(drawing_, NewGraphic(u"9", u"L", u"B", {{1, 2, 3}}));
  for (int i = 0; i < 3; ++i) host_.AddGraphic(drawing_, NewGraphic(u"spare"));
  HostLocalMenu menu;
  menu.captions = {u"c"};
  menu.prompts = {u"p"};
  menu.flags1 = {true};
  menu.flags2 = {false};
  // The objects each chain reaches before its last call.
  const auto tool = [&] { return tool_.get(); };
  const auto app = [&] { return App(); };
  const auto services = [&] { return Got<&HostApp::QueryAddinServices>(App()); };
  const auto commands = [&] { return Got<&HostApp::QueryCommands>(App()); };
  const auto tools = [&] { return Got<&HostApp::ReadToolList>(App()); };
  const auto leader = [&] { return Got<&HostToolList::PickItem>(tools(), kSimCommandLeader); };
  const auto properties = [&] { return Got<&HostGraphic::ReadPropertyList>(Graphic(0)); };
  const auto info = [&] { return Info(*Graphic(0)); };
  const auto drawing = [&] { return Drawing(); };
  const auto list = [&] { return DrawingList(); };
  const auto selection = [&] {
    host_.Select({id});
    return Got<&HostDrawing::ReadSelection>(Drawing());
  };
  const auto view = [&] { return Got<&HostDrawing::ReadActiveView>(Drawing()); };
  const auto graphic = [&] { return Graphic(0); };
  const auto vertices = [&] { return Got<&HostGraphic::ReadVertexList>(Graphic(0)); };
  const auto vertex = [&] { return Got<&HostVertexList::PickVertex>(vertices(), 0); };
  const auto layer = [&] { return Got<&HostGraphic::ReadLayer>(Graphic(0)); };
  const auto block = [&] { return Got<&HostGraphic::ReadBlock>(Graphic(0)); };
  const auto record = [&] { return Got<&HostDrawing::OpenUndoRecord>(Drawing(), u"Faults"); };
  int32_t n = 0;

  const OperationCase cases[] = {
      Case<&HostTool::ReadApplication>(tool),
      Case<&HostTool::ReadToolIndex>(tool),
      Case<&HostApp::ReadActiveDrawing>(app),
      Case<&HostApp::ReadToolList>(app),
      Case<&HostApp::ReadVersionText>(app, 0),
      Case<&HostApp::SubscribeEvents>(app, 1),
      Chain<&HostApp::UnsubscribeEvents>([&](bool*) {
        RETURN_IF_FAILED(App()->SubscribeEvents(1, &n));
        return App()->UnsubscribeEvents(n);
      }),
      Case<&HostAddinServices::ShowPrompt>(services, u"p", 0),
      Case<&HostAddinServices::SetLocalMenu>(services, 1, &menu, 0),
      Case<&HostCommands::LookUpCommand>(commands, u"Edit|Select"),
      Case<&HostCommands::StartCommand>(commands, kSimCommandLeader),
      Case<&HostToolList::PickItem>(tools, kSimCommandLeader),
      Case<&HostLeaderTool::ReadParameterList>(leader),
      Case<&HostPropertyList::PickProperty>(properties, HostPropertyKey{u"Info"}),
      Case<&HostProperty::GetPropertyValue>(info, 0),
      Case<&HostProperty::SetPropertyValue>(info, 0, HostValue::FromText(u"9")),
      Case<&HostDrawing::ReadGraphicList>(drawing),
      Case<&HostDrawing::ReadSelection>(drawing),
      Case<&HostDrawing::ReadActiveView>(drawing),
      Case<&HostDrawing::OpenUndoRecord>(drawing, u"U"),
      Case<&HostGraphicList::CountItems>(list),
      Case<&HostGraphicList::PickItem>(list, 0),
      Case<&HostGraphicList::ReadOwnerDrawing>(list),
      Case<&HostGraphicList::FindById>(list, id),
      Case<&HostSelection::CountItems>(selection),
      Case<&HostSelection::PickItem>(selection, 0),
      Case<&HostSelection::ClearSelection>(selection),
      Case<&HostView::RefreshView>(view),
      Case<&HostGraphic::ReadGraphicId>(graphic),
      Case<&HostGraphic::ReadTypeName>(graphic),
      Case<&HostGraphic::ReadPropertyList>(graphic),
      Case<&HostGraphic::ReadChildGraphics>(graphic),
      Case<&HostGraphic::ReadVertexList>(graphic),
      Case<&HostGraphic::ReadLayer>(graphic),
      Case<&HostGraphic::ReadBlock>(graphic),
      Case<&HostGraphic::UpdateGraphic>(graphic),
      Case<&HostVertexList::CountItems>(vertices),
      Case<&HostVertexList::PickVertex>(vertices, 0),
      Case<&HostVertex::ReadX>(vertex),
      Case<&HostVertex::ReadY>(vertex),
      Case<&HostVertex::ReadZ>(vertex),
      Case<&HostLayer::ReadLayerName>(layer),
      Case<&HostBlock::ReadBlockName>(block),
      Chain<&HostUndoRecord::NoteAddedGraphic>([&](bool*) { return record()->NoteAddedGraphic(*Graphic(0)); }),
      Chain<&HostUndoRecord::NoteChangedGraphic>([&](bool*) { return record()->NoteChangedGraphic(*Graphic(0)); }),
      Case<&HostUndoRecord::CloseUndoRecord>(record),
      Chain<&HostGraphicList::AppendGraphic>([&](bool*) {
        HostRef<HostGraphicList> list = DrawingList();
        HostRef<HostGraphic> moved;
        RETURN_IF_FAILED(list->ExtractItem(3, &moved));
        return list->AppendGraphic(*moved);
      }),
      Case<&HostGraphicList::ExtractItem>(list, 1),
  };
  for (const HostCallInfo& call : kHostCalls) {
    EXPECT_EQ(1, std::count_if(std::begin(cases), std::end(cases),
                               [&](const OperationCase& c) { return std::string(c.name) == call.name; }))
        << call.name << " has one case";
  }

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
