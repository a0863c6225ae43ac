// The callout table. Numbers are written without the C runtime's locale, which a host may have
// set to one with a decimal comma, so that every spreadsheet reads the same file the same way.
#include "renumber/callout_table.h"

#include <cmath>
#include <cstdio>

#include "framework/decimal_text.h"
#include "framework/utf8.h"
#include "parts_list/parts_list.h"

std::string PlainDecimal(double value) {
  if (!std::isfinite(value)) return {};
  char text[40];
  std::snprintf(text, sizeof text, "%.10g", value);
  std::string plain(text);
  for (char& c : plain) {
    if (c == ',') c = '.';
  }
  return plain;
}

std::string CalloutTable(const std::vector<RenumberItem>& items, const std::vector<uint32_t>& rows,
                         const std::vector<LeaderTip>& tips, char separator) {
  std::string table(kUtf8Mark);
  const auto line = [&](const std::vector<std::string>& fields) {
    for (size_t i = 0; i < fields.size(); ++i) {
      if (i > 0) table += separator;
      table += SeparatedField(fields[i], separator);
    }
    table += "\r\n";
  };
  line({kCalloutColumns[0], kCalloutColumns[1], kCalloutColumns[2], kCalloutColumns[3], kCalloutColumns[4]});
  for (const uint32_t index : rows) {
    if (index >= items.size() || !items[index].isLeader) continue;
    const RenumberItem& item = items[index];
    const bool numbered = item.format != NoLabel;
    const bool known = index < tips.size() && tips[index].known;
    line({OldLabelText(item), numbered ? WriteInt32(item.number) : std::string(), item.text,
          known ? PlainDecimal(tips[index].x) : std::string(), known ? PlainDecimal(tips[index].y) : std::string()});
  }
  return table;
}
