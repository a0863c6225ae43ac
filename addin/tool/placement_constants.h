// What a leader placement asks of the host: the events it listens to, the prompt of the Object
// tool and the caption of the undo record of a point-leader conversion.
#pragma once

#include <cstdint>

// Event mask of a placement: bit n is the event with dispatch id 12 + n (BeforeExit, the six
// drawing events, MouseDown, SelectionChange, RunTool).
constexpr int32_t kPlacementEventMask = 0x4847F;

constexpr char16_t kObjectPrompt[] = u"Varnkit_TL : Select the object you wish to base the leader on";
constexpr char16_t kConvertUndoCaption[] = u"TL Text";
