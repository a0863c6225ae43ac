// The state of the tool object: every member with its initial value, in declaration order. One
// object serves all five tools; the host references are held from the first Initialize to the
// first Terminate, everything else the host owns is obtained per operation.
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

constexpr char kDefaultDataPath[] = "C:\\Program Files\\DEVO\\Varnkit\\Data\\";
constexpr size_t kDataPathMaxLength = 511;

struct ToolMembers {
  int32_t LeaderCommandId = 0;
  int32_t SelectCommandId = 0;
  // The members carry the host objects' names; the types are qualified to tell them apart.
  HostRef<::HostApp> HostApp;
  HostRef<::HostAddinServices> AddinServices;
  HostRef<::HostCommands> HostCommands;
  HostRef<::HostLeaderTool> LeaderTool;
  int32_t EventCookie = -1;  // -1 when not subscribed
  int32_t RunningNumber = 1;
  int32_t TLDefMode = 0;  // read and written back; nothing depends on it
  int32_t TLDefFormat = 0;
  int32_t TLDefObjDSource = 0;
  int32_t LastGraphicCount = 0;
  int32_t StartGraphicCount = 0;
  int32_t ActiveTool = -1;  // 0, 1 or 2 while a placement runs
  int32_t PlacementState = Idle;
  bool EndOnRunTool = true;
  std::string HostVersion;                     // 8-bit, ANSI code page
  std::string DataPath = kDefaultDataPath;     // 8-bit, at most kDataPathMaxLength characters
  std::optional<std::u16string> PickListText;  // the whole picklist in file form; none at first
  int32_t TLDefRenObjects = 1;
  bool TLDefRenFixOrder = true;
  bool TLDefRenReset = false;
  bool TLPickAutoAdd = true;
  bool TLPickAutoPick = true;
  bool TLDefConvertPoint = true;
  std::u16string CurrentPickText;            // empty but present
  std::optional<std::u16string> LeaderText;  // text last pushed into LeaderTool
};
