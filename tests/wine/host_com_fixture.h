// The host chain as the DLL meets it under Wine: the core's host port -> the add-in's COM
// adapters -> the simulated host's COM objects -> its handles -> its model. A fake add-in stands
// in for the add-in's own dispatch interface and records the events the host delivers to it.
// Every test ends with no COM object and no handle left alive.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "host.h"
#include "host/host_com_adapters_win.h"
#include "simhost/sim_com_win.h"
#include "simhost/sim_host.h"
#include "wine_test_support.h"

// What the host passed with one event, arguments in declared order.
struct DeliveredEvent {
  DISPID dispid = 0;
  std::vector<VARTYPE> types;
  std::vector<std::string> objects;  // per argument: the host interface it answers, "null", or ""
  std::vector<long> numbers;         // the VT_I2 and VT_I4 arguments
};

// The host interface an event argument answers for.
inline std::string HostKindOf(IDispatch* object) {
  if (object == nullptr) return "null";
  const std::pair<const IID*, const char*> kinds[] = {{&IID_IHostApp, "IHostApp"},
                                                      {&IID_IHostDrawing, "IHostDrawing"},
                                                      {&IID_IHostView, "IHostView"},
                                                      {&IID_IHostSelection, "IHostSelection"},
                                                      {&IID_IHostTool, "IHostTool"}};
  for (const auto& kind : kinds) {
    ComPtr<IUnknown> face;
    if (SUCCEEDED(object->QueryInterface(*kind.first, &face))) return kind.second;
  }
  return "other";
}

// The add-in's dispatch interface as the host sees it: it only takes Invoke by DISPID.
class FakeAddin final : public IDispatch {
 public:
  STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override {
    if (ppv == nullptr) return E_POINTER;
    *ppv = nullptr;
    if (!IsEqualIID(riid, IID_IUnknown) && !IsEqualIID(riid, IID_IDispatch)) return E_NOINTERFACE;
    *ppv = static_cast<IDispatch*>(this);
    AddRef();
    return S_OK;
  }
  STDMETHODIMP_(ULONG) AddRef() override { return ++refs; }
  STDMETHODIMP_(ULONG) Release() override { return --refs; }  // lives on the test's stack
  STDMETHODIMP GetTypeInfoCount(UINT* count) override {
    *count = 0;
    return S_OK;
  }
  STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo**) override {
    ADD_FAILURE() << "the host asked the add-in for type information";
    return E_NOTIMPL;
  }
  STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override {
    ADD_FAILURE() << "the host calls events by DISPID, not by name";
    return E_NOTIMPL;
  }
  STDMETHODIMP Invoke(DISPID id, REFIID riid, LCID, WORD flags, DISPPARAMS* params, VARIANT*, EXCEPINFO*,
                      UINT*) override {
    EXPECT_TRUE(IsEqualIID(riid, IID_NULL));
    EXPECT_EQ(DISPATCH_METHOD, flags);
    EXPECT_EQ(0u, params->cNamedArgs);
    DeliveredEvent event;
    event.dispid = id;
    for (UINT i = params->cArgs; i-- > 0;) {
      const VARIANT& arg = params->rgvarg[i];
      event.types.push_back(V_VT(&arg));
      event.objects.push_back(V_VT(&arg) == VT_DISPATCH ? HostKindOf(V_DISPATCH(&arg)) : "");
      if (V_VT(&arg) == VT_I2) event.numbers.push_back(V_I2(&arg));
      if (V_VT(&arg) == VT_I4) event.numbers.push_back(V_I4(&arg));
    }
    events.push_back(event);
    return onInvoke ? onInvoke(id, *params) : result;
  }

  ULONG refs = 1;
  std::vector<DeliveredEvent> events;
  HRESULT result = S_OK;
  std::function<HRESULT(DISPID, const DISPPARAMS&)> onInvoke;
};

class HostComTest : public testing::Test {
 protected:
  static constexpr int32_t kToolIndex = 3;

  void SetUp() override {
    drawing_ = host_.AddDrawing();
    host_.SetActiveDrawing(drawing_);
    ASSERT_EQ(S_OK, MakeComTool(host_, kToolIndex, &thisTool_));
    ASSERT_EQ(S_OK, AdaptHostTool(thisTool_.Get(), &addin_, &tool_));
    ASSERT_NE(nullptr, tool_);
  }
  void TearDown() override {
    tool_.reset();
    thisTool_.Reset();
    EXPECT_EQ(0, host_.LiveComObjects());
    EXPECT_EQ(0, host_.LiveHandles());
  }

  HostRef<HostApp> App() {
    HostRef<HostApp> app;
    EXPECT_EQ(S_OK, tool_->ReadApplication(&app));
    return app;
  }
  HostRef<HostDrawing> Drawing() {
    HostRef<HostDrawing> drawing;
    EXPECT_EQ(S_OK, App()->ReadActiveDrawing(&drawing));
    return drawing;
  }
  HostRef<HostGraphicList> DrawingList() {
    HostRef<HostGraphicList> list;
    EXPECT_EQ(S_OK, Drawing()->ReadGraphicList(&list));
    return list;
  }
  HostRef<HostGraphic> Graphic(int32_t index) {
    HostRef<HostGraphic> graphic;
    EXPECT_EQ(S_OK, DrawingList()->PickItem(index, &graphic));
    return graphic;
  }
  HostRef<HostProperty> Info(HostGraphic& graphic) {
    HostRef<HostPropertyList> list;
    HostRef<HostProperty> info;
    EXPECT_EQ(S_OK, graphic.ReadPropertyList(&list));
    EXPECT_EQ(S_OK, list->PickProperty(HostPropertyKey{u"Info"}, &info));
    return info;
  }
  HostRef<HostProperty> LeaderText() {
    HostRef<HostToolList> tools;
    HostRef<HostLeaderTool> leader;
    HostRef<HostPropertyList> parameters;
    HostRef<HostProperty> text;
    EXPECT_EQ(S_OK, App()->ReadToolList(&tools));
    EXPECT_EQ(S_OK, tools->PickItem(kSimCommandLeader, &leader));
    EXPECT_EQ(S_OK, leader->ReadParameterList(&parameters));
    EXPECT_EQ(S_OK, parameters->PickProperty(HostPropertyKey{u"", 0}, &text));
    return text;
  }
  // The COM application object itself, for tests that call it by vtable or Invoke.
  ComPtr<IHostApp> ComApp() {
    ComPtr<IHostTool> tool;
    ComPtr<IHostApp> app;
    EXPECT_EQ(S_OK, thisTool_.As(&tool));
    EXPECT_EQ(S_OK, tool->ReadApplication(&app));
    return app;
  }

  FakeAddin addin_;  // outlives the host, which may hold it in a subscription
  SimHost host_;
  int32_t drawing_ = 0;
  ComPtr<IDispatch> thisTool_;
  HostRef<HostTool> tool_;
};

// What a test puts into a drawing: a "GRAPHIC" with this Info and, where given, layer, block and vertices.
inline SimGraphicSpec NewGraphic(std::u16string info, std::optional<std::u16string> layer = std::nullopt,
                                 std::optional<std::u16string> block = std::nullopt,
                                 std::vector<SimPoint> vertices = {}) {
  SimGraphicSpec graphic;
  graphic.info = std::move(info);
  graphic.layer = std::move(layer);
  graphic.block = std::move(block);
  graphic.vertices = std::move(vertices);
  return graphic;
}
