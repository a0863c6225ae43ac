// The application side of the simulated host: the tool object handed to the add-in, the
// application with its add-in services and commands, and the leader tool with its text parameter.
#include <memory>

#include "simhost/sim_call.h"
#include "simhost/sim_handles.h"

SimHandle::SimHandle(SimHost& host) : host_(host) {
  host_.CountHandle(+1);
}

SimHandle::~SimHandle() {
  host_.CountHandle(-1);
}

HRESULT SimToolHandle::ReadApplication(HostRef<HostApp>* app) {
  return SimCallRunObject<&HostTool::ReadApplication>(host_, app, [&]() -> HRESULT {
    *app = std::make_unique<SimAppHandle>(host_);
    return S_OK;
  });
}

HRESULT SimToolHandle::ReadToolIndex(int32_t* index) {
  return SimCallRun<&HostTool::ReadToolIndex>(host_, [&]() -> HRESULT {
    RETURN_HR_IF_NULL(E_POINTER, index);
    *index = index_;
    return S_OK;
  });
}

HRESULT SimAppHandle::ReadActiveDrawing(HostRef<HostDrawing>* drawing) {
  return SimCallRunObject<&HostApp::ReadActiveDrawing>(host_, drawing, [&]() -> HRESULT {
    const int32_t drawingId = host_.AppState().activeDrawing;
    if (host_.Model().Drawing(drawingId) != nullptr) *drawing = std::make_unique<SimDrawingHandle>(host_, drawingId);
    return S_OK;
  });
}

HRESULT SimAppHandle::ReadToolList(HostRef<HostToolList>* list) {
  return SimCallRunObject<&HostApp::ReadToolList>(host_, list, [&]() -> HRESULT {
    *list = std::make_unique<SimToolListHandle>(host_);
    return S_OK;
  });
}

HRESULT SimAppHandle::ReadVersionText(int32_t what, std::u16string* text) {
  return SimCallRun<&HostApp::ReadVersionText>(host_, [&]() -> HRESULT {
    RETURN_HR_IF_NULL(E_POINTER, text);
    RETURN_HR_IF(E_INVALIDARG, what != 0);
    *text = host_.AppState().versionText;
    return S_OK;
  });
}

HRESULT SimAppHandle::SubscribeEvents(int32_t mask, int32_t* cookie) {
  return host_.SubscribeWith(host_.DefaultEventTarget(), mask, cookie);
}

HRESULT SimAppHandle::UnsubscribeEvents(int32_t cookie) {
  return SimCallRun<&HostApp::UnsubscribeEvents>(host_, [&]() -> HRESULT { return host_.Unsubscribe(cookie); });
}

HRESULT SimAppHandle::QueryAddinServices(HostRef<HostAddinServices>* services) {
  RETURN_HR_IF_NULL(E_POINTER, services);
  *services = std::make_unique<SimAddinServicesHandle>(host_);
  return S_OK;
}

HRESULT SimAppHandle::QueryCommands(HostRef<HostCommands>* commands) {
  RETURN_HR_IF_NULL(E_POINTER, commands);
  *commands = std::make_unique<SimCommandsHandle>(host_);
  return S_OK;
}

HRESULT SimAddinServicesHandle::ShowPrompt(const std::u16string& text, int32_t flags) {
  return SimCallRun<&HostAddinServices::ShowPrompt>(host_, [&]() -> HRESULT {
    host_.AppState().prompt = text;
    host_.AppState().promptFlags = flags;
    return S_OK;
  });
}

HRESULT SimAddinServicesHandle::SetLocalMenu(int32_t count, const HostLocalMenu* menu, int32_t last) {
  return SimCallRun<&HostAddinServices::SetLocalMenu>(host_, [&]() -> HRESULT {
    RETURN_HR_IF(E_INVALIDARG, count < 0);
    if (count > 0) {
      // Each array needs an entry for every item of the menu.
      const size_t items = static_cast<size_t>(count);
      RETURN_HR_IF(E_INVALIDARG, menu == nullptr || menu->captions.size() < items || menu->prompts.size() < items ||
                                     menu->flags1.size() < items || menu->flags2.size() < items);
    }
    SimAppState& app = host_.AppState();
    app.localMenu = count > 0 ? *menu : HostLocalMenu{};
    app.localMenuCount = count;
    app.localMenuLast = last;
    return S_OK;
  });
}

HRESULT SimCommandsHandle::LookUpCommand(const std::u16string& menuPath, int32_t* id) {
  return SimCallRun<&HostCommands::LookUpCommand>(host_, [&]() -> HRESULT {
    RETURN_HR_IF_NULL(E_POINTER, id);
    const int32_t found = SimCommandIdOf(menuPath);
    RETURN_HR_IF(E_INVALIDARG, found == 0);
    *id = found;
    return S_OK;
  });
}

HRESULT SimCommandsHandle::StartCommand(int32_t id) {
  return SimCallRun<&HostCommands::StartCommand>(host_, [&]() -> HRESULT { return host_.RunCommand(id); });
}

HRESULT SimToolListHandle::PickItem(uint32_t commandId, HostRef<HostLeaderTool>* tool) {
  return SimCallRunObject<&HostToolList::PickItem>(host_, tool, [&]() -> HRESULT {
    RETURN_HR_IF(E_INVALIDARG, commandId != static_cast<uint32_t>(kSimCommandLeader));
    *tool = std::make_unique<SimLeaderToolHandle>(host_);
    return S_OK;
  });
}

HRESULT SimLeaderToolHandle::ReadParameterList(HostRef<HostPropertyList>* list) {
  return SimCallRunObject<&HostLeaderTool::ReadParameterList>(host_, list, [&]() -> HRESULT {
    *list = std::make_unique<SimParameterListHandle>(host_);
    return S_OK;
  });
}

HRESULT SimParameterListHandle::PickProperty(const HostPropertyKey& key, HostRef<HostProperty>* property) {
  return SimCallRunObject<&HostPropertyList::PickProperty>(host_, property, [&]() -> HRESULT {
    RETURN_HR_IF(E_INVALIDARG, !key.name.empty() || key.index != 0);
    *property = std::make_unique<SimLeaderTextHandle>(host_);
    return S_OK;
  });
}

HRESULT SimLeaderTextHandle::GetPropertyValue(int32_t index, HostValue* value) {
  return SimCallRun<&HostProperty::GetPropertyValue>(host_, [&]() -> HRESULT {
    RETURN_HR_IF_NULL(E_POINTER, value);
    RETURN_HR_IF(E_INVALIDARG, index != 0);
    *value = HostValue::FromText(host_.AppState().leaderToolText);
    return S_OK;
  });
}

HRESULT SimLeaderTextHandle::SetPropertyValue(int32_t index, const HostValue& value) {
  return SimCallRun<&HostProperty::SetPropertyValue>(host_, [&]() -> HRESULT {
    RETURN_HR_IF(E_INVALIDARG, index != 0 || value.kind != HostValue::Kind::Text);
    host_.AppState().leaderToolText = value.text;
    return S_OK;
  });
}
