#include "testing/tool_session.h"

HRESULT ToolEventBridge::Deliver(SimHost& host, const SimEvent& event) {
  delivered.push_back(event.dispid);
  switch (event.dispid) {
    case kDispMouseDown:
      return tool_.MouseDown();
    case kDispSelectionChange: {
      HostRef<HostDrawing> drawing = host.Drawing(event.drawingId);
      return tool_.SelectionChange(drawing.get());
    }
    case kDispRunTool:
      return tool_.RunTool();
    default:
      return tool_.PlacementEndingEvent();
  }
}

ToolSession::ToolSession(const std::u16string& version) {
  host.SetVersionText(version);
  drawing = host.AddDrawing();
  host.SetActiveDrawing(drawing);
  events = std::make_shared<ToolEventBridge>(tool);
  host.SetDefaultEventTarget(events);
  for (int32_t t = 0; t < 5; ++t) {
    bool result = false;
    Initialize(t, &result);
  }
}

ToolSession::~ToolSession() {
  if (!terminated) Terminate();
}

HRESULT ToolSession::Initialize(int32_t index, bool* result) {
  HostRef<HostTool> thisTool = host.Tool(index);
  return tool.Initialize(thisTool.get(), result);
}

HRESULT ToolSession::Terminate() {
  terminated = true;
  HRESULT hr = S_OK;
  for (int i = 0; i < 5; ++i) hr = tool.Terminate();
  return hr;
}

HRESULT ToolSession::Run(int32_t index, bool* result) {
  bool ignored = false;
  HostRef<HostTool> thisTool = host.Tool(index);
  return tool.Run(thisTool.get(), result ? result : &ignored);
}

HRESULT ToolSession::Poll(int32_t index, ToolStatus* status) {
  ToolStatus ignored;
  HostRef<HostTool> thisTool = host.Tool(index);
  return tool.UpdateToolStatus(thisTool.get(), status ? status : &ignored);
}

void ToolSession::PollAll() {
  for (int32_t t = 0; t < 5; ++t) Poll(t);
}

int32_t ToolSession::AddGraphic(const SimGraphicSpec& request) {
  return host.AddGraphic(drawing, request);
}
