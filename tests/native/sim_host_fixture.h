// What the simulated host's tests share: a host with one active drawing, short ways through the
// handles to what a test looks at, an event recorder and a graphic of no simulated host.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "host/host_served.h"
#include "simhost/sim_handles.h"
#include "simhost/sim_host.h"

namespace simtest {

constexpr int32_t kBit = 1;

inline int32_t MaskFor(int32_t dispid) {
  return kBit << (dispid - kDispBeforeExit);
}

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
class ForeignGraphic : public HostAnswering<HostGraphic> {
 public:
  ForeignGraphic() : HostAnswering<HostGraphic>(E_NOTIMPL) {}
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

}  // namespace simtest
