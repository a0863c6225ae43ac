// What the position orders and the Number tool's "continue" read from the host: the tips of the
// selected leaders' arrows, and the highest label among a drawing's leaders. Each reads only when
// asked, and only through the host port.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "framework/code_page.h"
#include "host/host_port.h"
#include "renumber/label_census.h"
#include "renumber/renumber_labels.h"
#include "renumber/renumber_order.h"

// The tip of each leader item's arrow: the first vertex of the leader's vertex child (child 2),
// found again by its graphic id in the drawing's graphic list. One tip per item; an item that is
// no leader, or whose tip a host call does not give, has no known tip. Reading stops, the rest
// unknown, once `stillHeld` says the host let go of the add-in. Seven host calls per leader.
void ReadLeaderTips(HostDrawing& drawing, const std::vector<RenumberItem>& items,
                    const std::function<bool()>& stillHeld, std::vector<LeaderTip>* tips);

// Every leader of the drawing's graphic list into `highest`, its text as UTF-8, so that a prefix
// or suffix of any character is compared whole. `step` turns each host call's status into the
// operation's (a host that let go fails it). The first failure ends the reading with its code; a
// missing object is E_POINTER.
HRESULT ReadHighestLabel(HostDrawing& drawing, const std::function<HRESULT(HRESULT)>& step, HighestLabel* highest);
