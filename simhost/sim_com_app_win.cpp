// The application side of the simulated host over COM: the tool object, the application with
// its two tear-off interfaces (add-in services, commands), the tool list and the leader tool.
#include <memory>

#include "simhost/sim_com_events_win.h"
#include "simhost/sim_com_object_win.h"
#include "simhost/sim_com_win.h"

namespace {

// Reached by QueryInterface on the application object; QueryInterface goes back to it.
class SimComAddinServices final : public SimComObject<IHostAddinServices> {
 public:
  using SimComObject::SimComObject;
  // `addin` names the caller to a real host; this one serves one add-in and only checks it is there.
  STDMETHODIMP ShowPrompt(IDispatch* addin, BSTR text, long flags) override {
    RETURN_HR_IF_NULL(E_POINTER, addin);
    return Run([&] { return handle_->ShowPrompt(TextFromBstr(text), flags); });
  }
  STDMETHODIMP SetLocalMenu(IDispatch* addin, long count, VARIANT captions, VARIANT prompts, VARIANT flags1,
                            VARIANT flags2, long last) override {
    RETURN_HR_IF_NULL(E_POINTER, addin);
    return Run([&] {
      const VARIANT arrays[kMenuArrayCount] = {captions, prompts, flags1, flags2};
      bool hasMenu = false;
      HostLocalMenu menu;
      RETURN_IF_FAILED(MenuFromVariants(arrays, &hasMenu, &menu));
      return handle_->SetLocalMenu(count, hasMenu ? &menu : nullptr, last);
    });
  }
};

class SimComCommands final : public SimComObject<IHostCommands> {
 public:
  using SimComObject::SimComObject;
  STDMETHODIMP LookUpCommand(BSTR menuPath, long* id) override {
    return GiveScalar<int32_t>(id, [&](int32_t* v) { return handle_->LookUpCommand(TextFromBstr(menuPath), v); });
  }
  STDMETHODIMP StartCommand(long id) override {
    return Run([&] { return handle_->StartCommand(id); });
  }
};

class SimComApp final : public SimComObject<IHostApp> {
 public:
  using SimComObject::SimComObject;
  STDMETHODIMP ReadActiveDrawing(IHostDrawing** drawing) override {
    return Give(drawing, [&](HostRef<HostDrawing>* h) { return handle_->ReadActiveDrawing(h); });
  }
  STDMETHODIMP ReadToolList(IHostToolList** list) override {
    return Give(list, [&](HostRef<HostToolList>* h) { return handle_->ReadToolList(h); });
  }
  STDMETHODIMP ReadVersionText(long what, BSTR* text) override {
    return GiveText(text, [&](std::u16string* v) { return handle_->ReadVersionText(what, v); });
  }
  // Over COM the subscriber is the add-in's dispatch interface, not the host's default target.
  STDMETHODIMP SubscribeEvents(IDispatch* addin, VARIANT mask, long* cookie) override {
    RETURN_HR_IF(E_POINTER, addin == nullptr || cookie == nullptr);
    int32_t maskValue = 0;
    RETURN_IF_FAILED(LongFromVariant(mask, &maskValue));
    return GiveScalar<int32_t>(
        cookie, [&](int32_t* v) { return host_.SubscribeWith(std::make_shared<ComEventTarget>(addin), maskValue, v); });
  }
  STDMETHODIMP UnsubscribeEvents(long cookie) override {
    return Run([&] { return handle_->UnsubscribeEvents(cookie); });
  }

 protected:
  HRESULT QueryMore(REFIID riid, void** ppv) override {
    IUnknown* self = static_cast<IHostApp*>(this);
    if (IsEqualIID(riid, IID_IHostAddinServices)) {
      HostRef<HostAddinServices> services;
      RETURN_IF_FAILED(Run([&] { return handle_->QueryAddinServices(&services); }));
      return CreateSimCom<SimComAddinServices>(host_, std::move(services), reinterpret_cast<IHostAddinServices**>(ppv),
                                               self);
    }
    if (IsEqualIID(riid, IID_IHostCommands)) {
      HostRef<HostCommands> commands;
      RETURN_IF_FAILED(Run([&] { return handle_->QueryCommands(&commands); }));
      return CreateSimCom<SimComCommands>(host_, std::move(commands), reinterpret_cast<IHostCommands**>(ppv), self);
    }
    return E_NOINTERFACE;
  }
};

class SimComTool final : public SimComObject<IHostTool> {
 public:
  using SimComObject::SimComObject;
  STDMETHODIMP ReadApplication(IHostApp** app) override {
    return Give(app, [&](HostRef<HostApp>* h) { return handle_->ReadApplication(h); });
  }
  STDMETHODIMP ReadToolIndex(long* index) override {
    return GiveScalar<int32_t>(index, [&](int32_t* v) { return handle_->ReadToolIndex(v); });
  }
};

class SimComToolList final : public SimComObject<IHostToolList> {
 public:
  using SimComObject::SimComObject;
  STDMETHODIMP PickItem(VARIANT commandId, IHostLeaderTool** tool) override {
    if (tool != nullptr) *tool = nullptr;
    uint32_t id = 0;
    RETURN_IF_FAILED(ULongFromVariant(commandId, &id));
    return Give(tool, [&](HostRef<HostLeaderTool>* h) { return handle_->PickItem(id, h); });
  }
};

class SimComLeaderTool final : public SimComObject<IHostLeaderTool> {
 public:
  using SimComObject::SimComObject;
  STDMETHODIMP ReadParameterList(IHostPropertyList** list) override {
    return Give(list, [&](HostRef<HostPropertyList>* h) { return handle_->ReadParameterList(h); });
  }
};

}  // namespace

HRESULT WrapCom(SimHost& host, HostRef<HostTool> handle, IHostTool** object) {
  return CreateSimCom<SimComTool>(host, std::move(handle), object);
}

HRESULT WrapCom(SimHost& host, HostRef<HostApp> handle, IHostApp** object) {
  return CreateSimCom<SimComApp>(host, std::move(handle), object);
}

HRESULT WrapCom(SimHost& host, HostRef<HostToolList> handle, IHostToolList** object) {
  return CreateSimCom<SimComToolList>(host, std::move(handle), object);
}

HRESULT WrapCom(SimHost& host, HostRef<HostLeaderTool> handle, IHostLeaderTool** object) {
  return CreateSimCom<SimComLeaderTool>(host, std::move(handle), object);
}

HRESULT MakeComTool(SimHost& host, int32_t toolIndex, IDispatch** tool) {
  RETURN_HR_IF_NULL(E_POINTER, tool);
  *tool = nullptr;
  return ComTry([&] {
    IHostTool* made = nullptr;
    RETURN_IF_FAILED(WrapCom(host, host.Tool(toolIndex), &made));
    *tool = made;
    return S_OK;
  });
}
