// The simulated host: scenario operations a test performs as the user, event delivery, call
// recording and fault injection.
#include "simhost/sim_host.h"

#include <utility>

#include "host/host_names.h"
#include "simhost/sim_handles.h"

namespace {

constexpr int kLeaderChildren = 5;
constexpr int kLeaderVertexChild = 2;
constexpr int kLeaderTextChild = 4;
constexpr double kPointLeaderTextOffset = 4.0;

bool MaskHas(int32_t mask, int32_t dispid) {
  const int32_t bit = dispid - kDispBeforeExit;
  return bit >= 0 && bit < 32 && (static_cast<uint32_t>(mask) & (1u << bit)) != 0;
}

}  // namespace

SimHost::SimHost() = default;

SimHost::~SimHost() {
  // Targets may hold things (the add-in's dispatch interface) whose release reaches back here.
  subscriptions_.clear();
  defaultTarget_.reset();
}

int32_t SimHost::AddDrawing() {
  return model_.AddDrawing();
}

void SimHost::SetActiveDrawing(int32_t id) {
  app_.activeDrawing = model_.Drawing(id) != nullptr ? id : 0;
}

int32_t SimHost::ActiveDrawing() const {
  return app_.activeDrawing;
}

int32_t SimHost::AddGraphic(int32_t drawingId, const SimGraphicSpec& request) {
  return model_.AddGraphic(drawingId, request, SimListRef{drawingId, 0});
}

int32_t SimHost::PlaceLeader(int vertexCount) {
  return PlaceLeaderWithChildren(kLeaderChildren, vertexCount);
}

int32_t SimHost::PlaceLeaderWithChildren(int childCount, int vertexCount) {
  const SimDrawingData* drawing = model_.Drawing(app_.activeDrawing);
  const double origin = 10.0 * static_cast<double>(drawing == nullptr ? 1 : drawing->graphics.size() + 1);
  std::vector<SimPoint> points;
  for (int v = 0; v < vertexCount; ++v) points.push_back(SimPoint{origin + 5.0 * v, origin - 2.5 * v, 0.0});
  return BuildLeader(childCount, points, points.empty() ? SimPoint{origin, origin, 0.0} : points.back());
}

int32_t SimHost::PlaceLeaderAt(const std::vector<SimPoint>& points) {
  if (points.empty()) return 0;
  SimPoint textPoint = points.back();
  if (points.size() == 1) {
    textPoint.x += kPointLeaderTextOffset;
    textPoint.y += kPointLeaderTextOffset;
  }
  return BuildLeader(kLeaderChildren, points, textPoint);
}

int32_t SimHost::AddLeaderAt(int32_t drawingId, std::u16string info, SimPoint tip) {
  if (model_.Drawing(drawingId) == nullptr) return 0;
  const SimPoint textPoint{tip.x + kPointLeaderTextOffset, tip.y + kPointLeaderTextOffset, tip.z};
  return MakeLeader(drawingId, info, kLeaderChildren, {tip, textPoint}, textPoint);
}

int32_t SimHost::MakeLeader(int32_t drawingId, const std::u16string& info, int childCount,
                            const std::vector<SimPoint>& points, SimPoint textPoint) {
  SimGraphicSpec leaderSpec;
  leaderSpec.typeName = kLeaderTypeName;
  leaderSpec.info = info;
  const int32_t leaderId = model_.AddGraphic(drawingId, leaderSpec, SimListRef{drawingId, 0});
  for (int child = 0; child < childCount; ++child) {
    SimGraphicSpec childSpec;
    if (child == kLeaderVertexChild) childSpec.vertices = points;
    if (child == kLeaderTextChild) {
      childSpec.typeName = kTextTypeName;
      childSpec.info = info;
      childSpec.vertices = {textPoint};
    }
    model_.AddGraphic(drawingId, childSpec, SimListRef{drawingId, leaderId});
  }
  return leaderId;
}

int32_t SimHost::BuildLeader(int childCount, const std::vector<SimPoint>& points, SimPoint textPoint) {
  const int32_t drawingId = app_.activeDrawing;
  if (app_.activeCommand != kSimCommandLeader || model_.Drawing(drawingId) == nullptr) return 0;
  const int32_t leaderId = MakeLeader(drawingId, app_.leaderToolText, childCount, points, textPoint);
  const int32_t recordId = model_.OpenUndoRecord(drawingId, u"Leader");
  model_.NoteAdded(recordId, leaderId);
  model_.CloseUndoRecord(recordId);
  return leaderId;
}

bool SimHost::Select(std::vector<int32_t> graphicIds) {
  if (FAILED(model_.SetSelection(app_.activeDrawing, graphicIds))) return false;
  if (app_.activeCommand == kSimCommandSelect) {
    SimEvent event;
    event.dispid = kDispSelectionChange;
    event.drawingId = app_.activeDrawing;
    Raise(event);
  }
  return true;
}

bool SimHost::Undo() {
  return model_.Undo(app_.activeDrawing);
}

bool SimHost::Redo() {
  return model_.Redo(app_.activeDrawing);
}

std::vector<std::u16string> SimHost::UndoCaptions() const {
  return model_.UndoCaptions(app_.activeDrawing);
}

int SimHost::RefreshCount() const {
  int count = 0;
  for (const auto& entry : model_.Drawings()) count += entry.second.refreshCount;
  return count;
}

int SimHost::UpdateCount(int32_t graphicId) const {
  const SimGraphicData* graphic = model_.Graphic(graphicId);
  return graphic == nullptr ? 0 : graphic->updateCount;
}

int32_t SimHost::ActiveCommand() const {
  return app_.activeCommand;
}

void SimHost::UserPicksHostTool(int32_t commandId) {
  RunCommand(commandId);
}

void SimHost::UserPicksAddinTool() {
  app_.activeCommand = 0;
}

void SimHost::EndCommandWithDrawing() {
  app_.activeCommand = 0;
}

std::u16string SimHost::LeaderToolText() const {
  return app_.leaderToolText;
}

void SimHost::SetLeaderToolText(std::u16string text) {
  app_.leaderToolText = std::move(text);
}

HostRef<HostTool> SimHost::Tool(int32_t index) {
  return std::make_unique<SimToolHandle>(*this, index);
}

void SimHost::SetVersionText(std::u16string text) {
  app_.versionText = std::move(text);
}

std::u16string SimHost::Prompt() const {
  return app_.prompt;
}

int32_t SimHost::PromptFlags() const {
  return app_.promptFlags;
}

int32_t SimHost::LocalMenuCount() const {
  return app_.localMenuCount;
}

const HostLocalMenu& SimHost::LocalMenu() const {
  return app_.localMenu;
}

int32_t SimHost::LocalMenuLast() const {
  return app_.localMenuLast;
}

void SimHost::SetDefaultEventTarget(std::shared_ptr<SimEventTarget> target) {
  defaultTarget_ = std::move(target);
}

std::shared_ptr<SimEventTarget> SimHost::DefaultEventTarget() const {
  return defaultTarget_;
}

HRESULT SimHost::SubscribeWith(std::shared_ptr<SimEventTarget> target, int32_t mask, int32_t* cookie) {
  const CallTicket ticket = BeginCall(HostCall<&HostApp::SubscribeEvents>::kName);
  HRESULT hr = E_POINTER;
  if (cookie != nullptr) {
    hr = ticket.forcedFailure;
    if (SUCCEEDED(hr)) {
      const int32_t newCookie = nextCookie_++;
      subscriptions_[newCookie] = Subscription{std::move(target), mask};
      *cookie = newCookie;
      hr = ticket.successCode;
    }
  }
  EndCall(ticket, hr, false);
  return hr;
}

HRESULT SimHost::Unsubscribe(int32_t cookie) {
  auto it = subscriptions_.find(cookie);
  RETURN_HR_IF(E_INVALIDARG, it == subscriptions_.end());
  // The target may be in the middle of a delivery; Raise holds its own reference to it, but
  // the target lets go of its receiver now, as a host releases the subscriber it held.
  const std::shared_ptr<SimEventTarget> target = std::move(it->second.target);
  subscriptions_.erase(it);
  if (target) target->Unsubscribed();
  return S_OK;
}

void SimHost::MouseDown(int16_t button, int32_t shift, int32_t x, int32_t y) {
  SimEvent event;
  event.dispid = kDispMouseDown;
  event.drawingId = app_.activeDrawing;
  event.button = button;
  event.shift = shift;
  event.x = x;
  event.y = y;
  Raise(event);
}

void SimHost::RaiseDrawingEvent(int32_t dispid) {
  if (dispid < kDispBeforeExit || dispid > kDispDrawingBeforeSave) return;
  SimEvent event;
  event.dispid = dispid;
  event.drawingId = app_.activeDrawing;
  Raise(event);
}

int32_t SimHost::SubscriberCount() const {
  return static_cast<int32_t>(subscriptions_.size());
}

int32_t SimHost::SubscribedMask(int32_t cookie) const {
  auto it = subscriptions_.find(cookie);
  return it == subscriptions_.end() ? 0 : it->second.mask;
}

void SimHost::Raise(const SimEvent& event) {
  // Handlers may subscribe, unsubscribe or start commands while the event is out: deliver to
  // those subscribed when it was raised and still subscribed when their turn comes.
  const std::map<int32_t, Subscription> receivers = subscriptions_;
  for (const auto& entry : receivers) {
    if (subscriptions_.count(entry.first) == 0 || !MaskHas(entry.second.mask, event.dispid)) continue;
    if (entry.second.target) entry.second.target->Deliver(*this, event);
  }
}

HRESULT SimHost::RunCommand(int32_t id) {
  RETURN_HR_IF(E_INVALIDARG, !IsSimCommand(id));
  app_.activeCommand = id;
  SimEvent event;
  event.dispid = kDispRunTool;
  event.drawingId = app_.activeDrawing;
  event.commandId = id;
  Raise(event);
  return S_OK;
}

HostRef<HostApp> SimHost::App() {
  return std::make_unique<SimAppHandle>(*this);
}

HostRef<HostDrawing> SimHost::Drawing(int32_t drawingId) {
  if (model_.Drawing(drawingId) == nullptr) return nullptr;
  return std::make_unique<SimDrawingHandle>(*this, drawingId);
}

HostRef<HostView> SimHost::View(int32_t drawingId) {
  if (model_.Drawing(drawingId) == nullptr) return nullptr;
  return std::make_unique<SimViewHandle>(*this, drawingId);
}

HostRef<HostSelection> SimHost::Selection(int32_t drawingId) {
  if (model_.Drawing(drawingId) == nullptr) return nullptr;
  return std::make_unique<SimSelectionHandle>(*this, drawingId);
}

const std::vector<SimCall>& SimHost::Calls() const {
  return calls_;
}

void SimHost::ClearCalls() {
  calls_.clear();
  clearedCalls_ = callCount_;
}

int64_t SimHost::CallCount() const {
  return callCount_;
}

void SimHost::FailCall(int64_t k, HRESULT hr) {
  if (k >= 1 && FAILED(hr)) failures_[callCount_ + k] = hr;
}

void SimHost::SucceedCallWith(int64_t k, HRESULT code) {
  if (k >= 1 && SUCCEEDED(code)) failures_[callCount_ + k] = code;
}

void SimHost::GiveNoObject(int64_t k) {
  if (k >= 1) noObjects_[callCount_ + k] = true;
}

void SimHost::ClearFaults() {
  failures_.clear();
  noObjects_.clear();
  actions_.clear();
}

void SimHost::DuringCall(int64_t k, std::function<void()> action) {
  actions_[callCount_ + k] = std::move(action);
}

int SimHost::LiveHandles() const {
  return liveHandles_;
}

void SimHost::AddComObject(int delta) {
  liveComObjects_ += delta;
}

int SimHost::LiveComObjects() const {
  return liveComObjects_;
}

SimHost::CallTicket SimHost::BeginCall(const char* name) noexcept {
  CallTicket ticket;
  ticket.sequence = ++callCount_;
  if (auto failure = failures_.find(ticket.sequence); failure != failures_.end()) {
    (FAILED(failure->second) ? ticket.forcedFailure : ticket.successCode) = failure->second;
    failures_.erase(failure);
  }
  if (auto noObject = noObjects_.find(ticket.sequence); noObject != noObjects_.end()) {
    ticket.noObject = true;
    noObjects_.erase(noObject);
  }
  try {
    calls_.push_back(SimCall{name, E_UNEXPECTED, false});
  } catch (...) {
    // Out of memory while recording: the record misses this call, later ones stay aligned.
    clearedCalls_ = callCount_;
    calls_.clear();
  }
  if (auto action = actions_.find(ticket.sequence); action != actions_.end()) {
    const std::function<void()> run = std::move(action->second);
    actions_.erase(action);
    try {
      run();
    } catch (...) {
      // A test's action that throws is its own failure; the call goes on.
    }
  }
  return ticket;
}

void SimHost::EndCall(const CallTicket& ticket, HRESULT result, bool gaveObject) noexcept {
  const int64_t index = ticket.sequence - clearedCalls_ - 1;
  if (index < 0 || index >= static_cast<int64_t>(calls_.size())) return;
  calls_[static_cast<size_t>(index)].result = result;
  calls_[static_cast<size_t>(index)].gaveObject = gaveObject;
}

void SimHost::CountHandle(int delta) {
  liveHandles_ += delta;
}
