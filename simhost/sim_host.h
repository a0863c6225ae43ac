// The simulated drafting host: one instance per test. It holds the drawing model and the
// application's own state (active drawing and command, leader tool text, prompt, local menu,
// event subscriptions), records every call of the host contract made through its handles, and
// can make the k-th call fail or give no object. Tests set it up and act as the user through the
// scenario functions below; the add-in reaches it only through the handles (in process) or the
// COM objects built over them (under Wine). Single-threaded.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "framework/status.h"
#include "host/host_port.h"
#include "resources/addin_dispids.h"
#include "simhost/sim_model.h"

class SimHost;

// One call of the host contract, named "Interface.Method" as in the contract.
struct SimCall {
  std::string name;
  HRESULT result = S_OK;
  bool gaveObject = false;
};

// An event as the host raises it; which fields mean something depends on the DISPID.
struct SimEvent {
  int32_t dispid = 0;
  int32_t drawingId = 0;
  int16_t button = 0;
  int32_t shift = 0, x = 0, y = 0;
  int32_t commandId = 0;
};

// Where a subscription's events go (the add-in's dispatch interface under Wine, a test's
// recorder in process).
class SimEventTarget {
 public:
  virtual ~SimEventTarget() = default;
  virtual HRESULT Deliver(SimHost& host, const SimEvent& event) = 0;
  // The subscription ended: the target lets go of its receiver at once.
  virtual void Unsubscribed() {}
};

// The application's state apart from the drawings.
struct SimAppState {
  std::u16string versionText = u"10.5";
  int32_t activeDrawing = 0;
  int32_t activeCommand = 0;
  std::u16string leaderToolText;
  std::u16string prompt;
  int32_t promptFlags = 0;
  int32_t localMenuCount = 0;
  HostLocalMenu localMenu;
  int32_t localMenuLast = 0;
};

class SimHost {
 public:
  SimHost();
  ~SimHost();
  SimHost(const SimHost&) = delete;
  SimHost& operator=(const SimHost&) = delete;

  // --- Drawings and graphics ---
  int32_t AddDrawing();
  void SetActiveDrawing(int32_t id);  // 0: no active drawing
  int32_t ActiveDrawing() const;
  // Appends a graphic to the drawing's graphic list; 0 when the drawing does not exist.
  int32_t AddGraphic(int32_t drawingId, const SimGraphicSpec& request);
  // The user completes a leader with the leader command: a "TCW25DimLead" graphic with five
  // children (child 2 holds the vertices, child 4 is the "TEXT"), Info = the leader tool text,
  // as one undo record "Leader". 0 (and nothing done) unless the leader command is active and a
  // drawing is active.
  int32_t PlaceLeader(int vertexCount = 2);
  int32_t PlaceLeaderWithChildren(int childCount, int vertexCount);
  // The same leader at the user's points: the arrow point and the text point, or one point for a
  // point leader (a double-click), whose text sits just beside it.
  int32_t PlaceLeaderAt(const std::vector<SimPoint>& points);
  // A leader that a drawing already holds (opened from a file): "TCW25DimLead" with the five
  // children and the text `info`, its arrow's tip at `tip`, appended to the drawing's graphic
  // list without a command or an undo record. 0 when the drawing does not exist.
  int32_t AddLeaderAt(int32_t drawingId, std::u16string info, SimPoint tip);
  // Sets the active drawing's selection; raises SelectionChange when the select command is active.
  // False (selection unchanged) when there is no active drawing or an id is not a graphic.
  bool Select(std::vector<int32_t> graphicIds);
  // Reverts the newest closed undo record of the active drawing; false when there is none.
  bool Undo();
  bool Redo();                                       // applies the newest undone record of the active drawing again
  std::vector<std::u16string> UndoCaptions() const;  // of the active drawing, oldest first
  int RefreshCount() const;                          // RefreshView calls on all views
  int UpdateCount(int32_t graphicId) const;          // UpdateGraphic calls on the graphic
  SimModel& Model() { return model_; }
  const SimModel& Model() const { return model_; }

  // --- Commands and tools ---
  int32_t ActiveCommand() const;
  // The user picks one of the host's own tools: the command becomes active and RunTool is raised.
  void UserPicksHostTool(int32_t commandId);
  // The user picks one of the add-in's tools: the host's command ends, no RunTool.
  void UserPicksAddinTool();
  // The drawing the command works in closes or another opens: the command ends with it, no RunTool.
  void EndCommandWithDrawing();
  std::u16string LeaderToolText() const;
  void SetLeaderToolText(std::u16string text);  // the user types into the leader tool
  // The object the host passes as ThisTool for the add-in's tool `index`.
  HostRef<HostTool> Tool(int32_t index);

  // --- Application and add-in services ---
  void SetVersionText(std::u16string text);
  std::u16string Prompt() const;
  int32_t PromptFlags() const;
  int32_t LocalMenuCount() const;
  const HostLocalMenu& LocalMenu() const;
  int32_t LocalMenuLast() const;

  // --- Events ---
  // The target that the in-process HostApp handle's SubscribeEvents subscribes.
  void SetDefaultEventTarget(std::shared_ptr<SimEventTarget> target);
  std::shared_ptr<SimEventTarget> DefaultEventTarget() const;
  // IHostApp.SubscribeEvents: a recorded call that takes part in fault injection. Cookies start
  // at 1 and are never -1. A null target is a subscription that receives nothing.
  HRESULT SubscribeWith(std::shared_ptr<SimEventTarget> target, int32_t mask, int32_t* cookie);
  void MouseDown(int16_t button, int32_t shift, int32_t x, int32_t y);
  void RaiseDrawingEvent(int32_t dispid);  // 12..18, for the active drawing
  int32_t SubscriberCount() const;
  int32_t SubscribedMask(int32_t cookie) const;  // 0 for an unknown cookie

  // --- Objects the host hands out without a call (event arguments) ---
  HostRef<HostApp> App();
  HostRef<HostDrawing> Drawing(int32_t drawingId);
  HostRef<HostView> View(int32_t drawingId);
  HostRef<HostSelection> Selection(int32_t drawingId);

  // --- Recording, faults and object counting ---
  const std::vector<SimCall>& Calls() const;
  void ClearCalls();          // empties the record; CallCount keeps counting
  int64_t CallCount() const;  // calls since the host was made
  // The k-th call from now (1-based) returns hr and has no effect; object outputs are null.
  void FailCall(int64_t k, HRESULT hr);
  // The k-th call from now has its effect and answers with the success code `code` (S_FALSE).
  void SucceedCallWith(int64_t k, HRESULT code);
  // The k-th call from now, if it gives an object, succeeds with a null object instead.
  void GiveNoObject(int64_t k);
  // The k-th call from now performs `action` inside it, before its own effect, as a host that
  // pumps messages during a call may call back into the add-in. The action's own calls count on.
  void DuringCall(int64_t k, std::function<void()> action);
  void ClearFaults();
  int LiveHandles() const;
  void AddComObject(int delta);
  int LiveComObjects() const;

  // --- Used by the in-process handles ---
  struct CallTicket {
    int64_t sequence = 0;
    HRESULT forcedFailure = S_OK;  // a failure code when the call must fail
    HRESULT successCode = S_OK;    // the answer of a call that succeeds
    bool noObject = false;
  };
  CallTicket BeginCall(const char* name) noexcept;
  void EndCall(const CallTicket& ticket, HRESULT result, bool gaveObject) noexcept;
  SimAppState& AppState() { return app_; }
  const SimAppState& AppState() const { return app_; }
  // StartCommand's effect: E_INVALIDARG for an unknown id, else the command becomes active and
  // RunTool is raised.
  HRESULT RunCommand(int32_t id);
  HRESULT Unsubscribe(int32_t cookie);
  void CountHandle(int delta);

 private:
  struct Subscription {
    std::shared_ptr<SimEventTarget> target;
    int32_t mask = 0;
  };
  void Raise(const SimEvent& event);
  int32_t BuildLeader(int childCount, const std::vector<SimPoint>& points, SimPoint textPoint);
  int32_t MakeLeader(int32_t drawingId, const std::u16string& info, int childCount, const std::vector<SimPoint>& points,
                     SimPoint textPoint);

  SimModel model_;
  SimAppState app_;
  std::shared_ptr<SimEventTarget> defaultTarget_;
  std::map<int32_t, Subscription> subscriptions_;
  int32_t nextCookie_ = 1;
  std::vector<SimCall> calls_;
  int64_t callCount_ = 0;
  int64_t clearedCalls_ = 0;  // calls_[i] is call number clearedCalls_ + i + 1
  std::map<int64_t, HRESULT> failures_;
  std::map<int64_t, bool> noObjects_;
  std::map<int64_t, std::function<void()>> actions_;
  int liveHandles_ = 0;
  int liveComObjects_ = 0;
};
