// The selected callouts as a table for a spreadsheet or an ERP system: one row per leader with
// its label as the Renumber dialog shows it, its number, its text and the tip of its arrow.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "renumber/renumber_labels.h"
#include "renumber/renumber_order.h"

// The column heads of the table.
inline constexpr const char* kCalloutColumns[] = {"Label", "Number", "Leader text", "X", "Y"};

// The file bytes: UTF-8 with its byte order mark, the column heads, then the leaders of `items`
// in `rows` (indices into `items`; items that are no leaders are left out), fields separated by
// `separator` and quoted where they need it, lines ended by CRLF. A label is "(blank)" for a
// leader without a number, whose number field is empty; coordinates are drawing units with '.'
// as the decimal point, empty where the tip is not known.
std::string CalloutTable(const std::vector<RenumberItem>& items, const std::vector<uint32_t>& rows,
                         const std::vector<LeaderTip>& tips, char separator);

// `value` as a plain decimal with '.' whatever the locale: "12.5", "-3", "0.001".
std::string PlainDecimal(double value);
