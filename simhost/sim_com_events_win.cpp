// Builds the arguments of each event method of the add-in and invokes it by DISPID, as the host
// does: objects as VT_DISPATCH (a null window), Button as VT_I2, Shift, X and Y as VT_I4, and
// Cancel and SaveAs as VT_BOOL by reference to the host's own flags.
#include "simhost/sim_com_events_win.h"

#include <vector>

#include "simhost/addin_invoke_win.h"
#include "simhost/sim_com_object_win.h"

namespace {

// The arguments in declared order; owns the objects and clears them when it goes.
class EventArguments {
 public:
  EventArguments() { items_.reserve(kMaxArguments); }
  ~EventArguments() {
    for (VARIANT& item : items_) VariantClear(&item);
  }
  EventArguments(const EventArguments&) = delete;
  EventArguments& operator=(const EventArguments&) = delete;

  // A null handle is a null object (no drawing is active, say).
  template <class Port>
  HRESULT AddObject(SimHost& host, HostRef<Port> handle) {
    HostComOf<Port>* object = nullptr;
    if (handle) RETURN_IF_FAILED(WrapCom(host, std::move(handle), &object));
    AddDispatch(object);
    return S_OK;
  }
  void AddDispatch(IDispatch* object) { items_.push_back(DispatchArg(object)); }
  void AddShort(int16_t value) { items_.push_back(ShortArg(value)); }
  void AddLong(int32_t value) { items_.push_back(LongVariant(value)); }
  void AddFlag(VARIANT_BOOL* flag) { items_.push_back(BoolRef(flag)); }

  const std::vector<VARIANT>& Items() const { return items_; }

 private:
  // Reserved once, so that adding never fails after an object was made: each one added is
  // always owned by the list.
  static constexpr size_t kMaxArguments = 8;  // MouseDown's
  std::vector<VARIANT> items_;
};

// The first arguments of the drawing, mouse and selection events.
HRESULT AddDrawingViewWindow(SimHost& host, int32_t drawingId, EventArguments& args) {
  RETURN_IF_FAILED(args.AddObject(host, host.Drawing(drawingId)));
  RETURN_IF_FAILED(args.AddObject(host, host.View(drawingId)));
  args.AddDispatch(nullptr);
  return S_OK;
}

HRESULT BuildArguments(SimHost& host, const SimEvent& event, VARIANT_BOOL* cancel, VARIANT_BOOL* saveAs,
                       EventArguments& args) {
  switch (event.dispid) {
    case kDispBeforeExit:
      RETURN_IF_FAILED(args.AddObject(host, host.App()));
      args.AddFlag(cancel);
      return S_OK;
    case kDispDrawingNew:
    case kDispDrawingOpen:
    case kDispDrawingActivate:
    case kDispDrawingDeactivate:
      return args.AddObject(host, host.Drawing(event.drawingId));
    case kDispDrawingBeforeClose:
      RETURN_IF_FAILED(args.AddObject(host, host.Drawing(event.drawingId)));
      args.AddFlag(cancel);
      return S_OK;
    case kDispDrawingBeforeSave:
      RETURN_IF_FAILED(args.AddObject(host, host.Drawing(event.drawingId)));
      args.AddFlag(saveAs);
      args.AddFlag(cancel);
      return S_OK;
    case kDispMouseDown:
      RETURN_IF_FAILED(AddDrawingViewWindow(host, event.drawingId, args));
      args.AddShort(event.button);
      args.AddLong(event.shift);
      args.AddLong(event.x);
      args.AddLong(event.y);
      args.AddFlag(cancel);
      return S_OK;
    case kDispSelectionChange:
      RETURN_IF_FAILED(AddDrawingViewWindow(host, event.drawingId, args));
      return args.AddObject(host, host.Selection(event.drawingId));
    case kDispRunTool:
      // The tool of the command that was started; the add-in only learns that one was.
      return args.AddObject(host, host.Tool(event.commandId));
    default:
      return E_INVALIDARG;
  }
}

}  // namespace

HRESULT ComEventTarget::Deliver(SimHost& host, const SimEvent& event) {
  return ComTry([&] {
    VARIANT_BOOL cancel = VARIANT_FALSE;
    VARIANT_BOOL saveAs = VARIANT_FALSE;
    EventArguments args;
    RETURN_IF_FAILED(BuildArguments(host, event, &cancel, &saveAs, args));
    RETURN_HR_IF_NULL(E_UNEXPECTED, addin_);
    InvokeResult call;
    return Invoke(addin_.Get(), event.dispid, DISPATCH_METHOD, args.Items(), &call);
  });
}
