// The parts list of a drawing, as spreadsheets and ERP systems write it: a CSV file (comma or
// semicolon) or tab-separated text, in UTF-8 (with or without its byte order mark), the ANSI code
// page or UTF-16, with quoted fields ("" for a quote inside one, line breaks inside quotes). Its
// item column holds the callout labels, read as the Number tool reads a leader's text.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "framework/code_page.h"
#include "labels/label_format.h"

// The rows of a separated text (UTF-8), each a list of fields with quotes undone. The separator
// is found from the first line: the most frequent of tab, semicolon and comma outside quotes
// (comma when none is there). Line ends are CRLF, LF or CR; a last empty line makes no row.
std::vector<std::vector<std::string>> ReadSeparatedText(std::string_view text);

// A file's bytes as UTF-8 text: after a UTF-8 or UTF-16 byte order mark in that encoding; without
// one, UTF-8 when the bytes are valid UTF-8, UTF-16 when they plainly are (a zero byte beside each
// ASCII character), and the ANSI code page otherwise.
std::string PartsListText(std::string_view bytes, const CodePage& codePage);

// `field` as one field of a separated text: quoted (quotes doubled) when it holds the separator,
// a quote or a line break, or starts or ends with a blank.
std::string SeparatedField(std::string_view field, char separator);

struct PartsList {
  std::vector<int32_t> items;  // the numbers of the rows' items, in row order
  size_t unreadableRows = 0;   // rows whose item is no label of the format and style
};

// The item column is the first whose header is Item, Item No., Item Number, Pos, Pos., Position,
// No., Nr., # or Find No. (letter case, blanks around it and a trailing dot ignored); else the
// first column. The first row is the header unless no cell of it names the item column and its
// first cell is a label: then the file has no header. A row whose item is empty is skipped.
PartsList ReadPartsList(std::string_view bytes, const CodePage& codePage, int32_t format, const LabelStyle& style);
