// The tool object's own state beside what it keeps between sessions (StoredOptions): the state
// of a running placement, and the references it holds to the host. One object serves all five
// tools; the host references are held from the first Initialize to the first Terminate,
// everything else the host owns is obtained per operation. The tool object keeps both private;
// the routines around it take the single values they need.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "host/host_port.h"

enum PlacementStateCode : int32_t {
  Idle = 0,
  AwaitingObject = 1,  // the Object tool waits for the user to select an object
  Placing = 2,         // the host leader command runs with the add-in's text
};

// A running placement and the numbering it goes on with.
struct PlacementMembers {
  int32_t EventCookie = -1;  // -1 when not subscribed
  int32_t RunningNumber = 1;
  int32_t LastGraphicCount = 0;
  int32_t StartGraphicCount = 0;
  int32_t ActiveTool = -1;  // 0, 1 or 2 while a placement runs
  int32_t PlacementState = Idle;
  bool EndOnRunTool = true;
  std::u16string CurrentPickText;            // empty but present
  std::optional<std::u16string> LeaderText;  // text last pushed into LeaderTool
};

// The host's objects and what the add-in learned of the host when it connected.
struct HostMembers {
  int32_t LeaderCommandId = 0;
  int32_t SelectCommandId = 0;
  HostRef<HostApp> App;
  HostRef<HostAddinServices> AddinServices;
  HostRef<HostCommands> Commands;
  HostRef<HostLeaderTool> LeaderTool;
  std::string HostVersion;  // 8-bit, ANSI code page
};
