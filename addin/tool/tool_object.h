// The tool object: all state of the add-in and every operation of its five tools, in plain C++
// over the host port. The COM class converts automation arguments and hands them here; the
// native tests drive it directly against the simulated host. Its state is its own: the stored
// options, the running placement and the host references are private, and the services it calls
// get only the values they work on.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "addin/tool/tool_members.h"
#include "addin/tool/tool_services.h"
#include "framework/code_page.h"
#include "host/host_port.h"
#include "labels/label_format.h"

struct StoredOptions;

// Button state for one UpdateToolStatus poll; an output left empty is not written to the host.
struct ToolStatus {
  std::optional<bool> enabled;
  std::optional<bool> checked;
  std::optional<bool> result;
};

class ToolObject {
 public:
  ToolObject(ToolServices& services, const CodePage& codePage);
  ~ToolObject();
  ToolObject(const ToolObject&) = delete;
  ToolObject& operator=(const ToolObject&) = delete;

  // The tool protocol. `result` is written only where the protocol says (true = 1 to the host).
  HRESULT Initialize(HostTool* thisTool, bool* result);
  HRESULT Terminate();
  HRESULT Run(HostTool* thisTool, bool* result);
  HRESULT UpdateToolStatus(HostTool* thisTool, ToolStatus* status);
  HRESULT DoLMCommand(int32_t cmdIndex);

  // Host events, delivered only while a placement holds a subscription.
  HRESULT MouseDown();
  HRESULT SelectionChange(HostDrawing* whichDrawing);
  HRESULT RunTool();
  HRESULT PlacementEndingEvent();  // BeforeExit and the drawing events

  // Placement routines, also used by the local menu and the progress check.
  HRESULT StartLeaderCommand(int32_t tool);
  HRESULT ArmObjectSelection();
  HRESULT SubscribeHostEvents();
  HRESULT EndPlacement();
  HRESULT CheckPlacementProgress(int32_t tool, HostDrawing& drawing);
  // Takes a point leader's text out as a graphic of its own; `appended` counts the graphics it
  // added to the list (0 or 1).
  HRESULT ConvertPointLeader(HostGraphicList& list, int32_t* appended);
  // Computes the next leader's text for ActiveTool and writes it into the host's leader tool.
  // A number outside its format's range writes the range text and still fails; `labelFailed`
  // (optional) tells that failure from a host failure.
  HRESULT UpdateLeaderText(HostGraphic* baseObject, bool* labelFailed = nullptr);
  HRESULT SetupLocalMenu();

  // The host version as a number: the leading decimal number of its first three characters.
  double HostVersionNumber() const;

 private:
  // The test-only view of the native tests (testing/) reads and sets the private state.
  friend class ToolObjectView;

  HRESULT ConnectToHost(HostTool& thisTool);
  HRESULT CountActiveDrawing(HostRef<HostDrawing>* drawing);
  HRESULT RunPlacingTool(int32_t tool, bool* result);
  // With "continue" set, moves RunningNumber one past the drawing's highest label in the Number
  // tool's format when that is higher.
  HRESULT ContinueAfterDrawing(HostDrawing& drawing);
  HRESULT ReadLeaderTextFor(HostGraphic* baseObject, std::optional<std::u16string>* text, bool* labelFailed);
  HRESULT ReadObjectText(HostGraphic& baseObject, std::u16string* text);
  HRESULT WriteLeaderText(const std::u16string& text);
  // The Number tool's format: a negative stored format counts as Arabic. CheckNumberFormat
  // gives the labels' failure for a format they do not know.
  int32_t NumberFormat() const;
  HRESULT CheckNumberFormat() const;
  void EndPlacementForTermination();
  void ResetPlacement();
  // The stored options that the placement reads, asked here so that the placement code does not
  // depend on the table of stored options.
  bool ConvertsPointLeaders() const;
  bool PicksAfterEachLeader() const;
  int32_t NumberStepOption() const;  // the running number's advance per leader
  LabelStyle NumberStyle() const;
  bool ContinuesAfterDrawing() const;
  int32_t CountRemovedTexts(HostGraphicList& graphics);
  void SaveStores();

  // The host may call back into the object from inside any host call (a host that pumps
  // messages), Terminate included. Each protocol method holds an EntryScope; the host references
  // a nested Terminate lets go of stay alive until the outermost method returns, so that no
  // method running below it is left inside a destroyed object. Scopes nest as the calls do: the
  // innermost one belongs to the method in hand.
  class EntryScope {
   public:
    explicit EntryScope(ToolObject& tool) : tool_(tool), outer_(tool.innermost_), terminations_(tool.terminations_) {
      ++tool_.callDepth_;
      tool_.innermost_ = this;
    }
    ~EntryScope();
    EntryScope(const EntryScope&) = delete;
    EntryScope& operator=(const EntryScope&) = delete;

   private:
    friend class ToolObject;
    ToolObject& tool_;
    EntryScope* outer_;
    uint32_t terminations_;  // at the method's entry
  };
  // Whether the host let go of the add-in (a Terminate) since the method in hand was entered.
  // From then on the method opens no dialog and makes no host call but those that take back
  // what it set itself (an undo record, a subscription, a prompt or a menu).
  bool LetGo() const { return innermost_ != nullptr && terminations_ != innermost_->terminations_; }
  // A host call's status as a step of the method in hand: its failure, or E_FAIL once the host
  // has let go during it.
  HRESULT Step(HRESULT hr) const { return FAILED(hr) || !LetGo() ? hr : E_FAIL; }

  // Runs one of the add-in's modal dialogs, unless one is open already (a call that arrived
  // inside its message loop): then nothing is shown and false is given. A Terminate while a
  // dialog is open saves the stores when the outermost dialog ends, so that what the user
  // confirms there is kept.
  template <class Show>
  bool OpenDialog(Show&& show) {
    if (dialogDepth_ > 0) return false;
    ++dialogDepth_;
    struct Close {
      ToolObject& tool;
      ~Close() { tool.DialogEnded(); }
    } close{*this};
    show();
    return true;
  }
  void DialogEnded();

  ToolServices& services_;
  const CodePage& codePage_;
  // Held through a pointer so that this header does not need the table of stored options.
  std::unique_ptr<StoredOptions> options_;
  PlacementMembers placement_;
  HostMembers host_;
  bool storesLoaded_ = false;  // settings and picklist are read once per object
  // Ids of the texts that point-leader conversions of this placement added to the drawing. When
  // the user undoes a conversion, its text leaves the drawing: that is no leader taken back.
  std::vector<int32_t> convertedTexts_;

  struct HostConnection {
    HostRef<HostApp> app;
    HostRef<HostAddinServices> addinServices;
    HostRef<HostCommands> commands;
    HostRef<HostLeaderTool> leaderTool;
  };
  int callDepth_ = 0;
  EntryScope* innermost_ = nullptr;
  uint32_t terminations_ = 0;
  std::vector<HostConnection> retired_;  // let go of by a nested Terminate
  int dialogDepth_ = 0;
  bool saveDeferred_ = false;
};
