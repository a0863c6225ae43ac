// A small reader of separated text rather than a library: the DLL is cross-compiled and carries
// no third-party code, Debian packages no MinGW build of a CSV library, and what the parts lists
// of spreadsheets need (one separator found from the header, quotes, line breaks in quotes) is a
// single pass over the text.
#include "parts_list/parts_list.h"

#include <array>

#include "framework/sorted_list_order.h"
#include "framework/utf8.h"

namespace {

// The separator of the first line: the most frequent outside quotes, comma when none is there.
char FindSeparator(std::string_view text) {
  std::array<size_t, 3> counts{};
  constexpr std::array<char, 3> kSeparators = {'\t', ';', ','};
  bool quoted = false;
  for (const char c : text) {
    if (c == '"') quoted = !quoted;
    if (quoted) continue;
    if (c == '\n' || c == '\r') break;
    for (size_t i = 0; i < kSeparators.size(); ++i) counts[i] += c == kSeparators[i];
  }
  size_t best = 2;
  for (size_t i = 0; i < kSeparators.size(); ++i) {
    if (counts[i] > counts[best]) best = i;
  }
  return kSeparators[best];
}

// UTF-16 without a mark, as some exports write it: a zero byte beside each of the first characters.
bool LooksLikeUtf16(std::string_view bytes, bool* bigEndian) {
  if (bytes.size() < 4) return false;
  if (bytes[0] != '\0' && bytes[1] == '\0' && bytes[2] != '\0' && bytes[3] == '\0') {
    *bigEndian = false;
    return true;
  }
  if (bytes[0] == '\0' && bytes[1] != '\0' && bytes[2] == '\0' && bytes[3] != '\0') {
    *bigEndian = true;
    return true;
  }
  return false;
}

std::string_view TrimmedCell(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
  return text;
}

bool IsItemHeader(std::string_view cell) {
  static constexpr std::string_view kHeaders[] = {"item", "item no", "item number", "pos",    "position",
                                                  "no",   "nr",      "#",           "find no"};
  cell = TrimmedCell(cell);
  if (!cell.empty() && cell.back() == '.') cell.remove_suffix(1);
  for (const std::string_view header : kHeaders) {
    if (CompareIgnoringAsciiCase(cell, header) == 0) return true;
  }
  return false;
}

}  // namespace

std::vector<std::vector<std::string>> ReadSeparatedText(std::string_view text) {
  const char separator = FindSeparator(text);
  std::vector<std::vector<std::string>> rows;
  std::vector<std::string> row;
  std::string field;
  bool quoted = false, rowStarted = false;
  for (size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (quoted) {
      if (c != '"') {
        field += c;
      } else if (i + 1 < text.size() && text[i + 1] == '"') {
        field += '"';
        ++i;
      } else {
        quoted = false;
      }
      continue;
    }
    rowStarted = true;
    if (c == '"') {
      quoted = true;
    } else if (c == separator) {
      row.push_back(std::move(field));
      field.clear();
    } else if (c == '\r' || c == '\n') {
      if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
      row.push_back(std::move(field));
      field.clear();
      rows.push_back(std::move(row));
      row.clear();
      rowStarted = false;
    } else {
      field += c;
    }
  }
  if (rowStarted || quoted) {
    row.push_back(std::move(field));
    rows.push_back(std::move(row));
  }
  return rows;
}

std::string PartsListText(std::string_view bytes, const CodePage& codePage) {
  bool bigEndian = false;
  if (bytes.substr(0, 3) == kUtf8Mark) return std::string(bytes.substr(3));
  if (bytes.substr(0, 2) == "\xFF\xFE" || bytes.substr(0, 2) == "\xFE\xFF") {
    return Utf16ToUtf8(Utf16FromBytes(bytes.substr(2), bytes[0] == '\xFE'));
  }
  if (LooksLikeUtf16(bytes, &bigEndian)) return Utf16ToUtf8(Utf16FromBytes(bytes, bigEndian));
  const std::string utf8(bytes);
  if (Utf16ToUtf8(Utf8ToUtf16(utf8)) == utf8) return utf8;
  return Utf16ToUtf8(codePage.ToUtf16(bytes));
}

std::string SeparatedField(std::string_view field, char separator) {
  const bool quote = field.find_first_of(std::string{separator, '"', '\r', '\n'}) != std::string_view::npos ||
                     (!field.empty() && (field.front() == ' ' || field.back() == ' '));
  if (!quote) return std::string(field);
  std::string text = "\"";
  for (const char c : field) text += c == '"' ? std::string("\"\"") : std::string(1, c);
  return text + '"';
}

PartsList ReadPartsList(std::string_view bytes, const CodePage& codePage, int32_t format, const LabelStyle& style) {
  const std::vector<std::vector<std::string>> rows = ReadSeparatedText(PartsListText(bytes, codePage));
  PartsList list;
  if (rows.empty()) return list;
  const auto readItem = [&](const std::string& cell, int32_t* number) {
    int32_t read = NoLabel;
    // A number past the format's range is no label the Number tool writes.
    return SUCCEEDED(ReadLeaderText(Utf8ToUtf16(TrimmedCell(cell)), style, codePage, &read, number)) &&
           read == format && *number >= 1 && *number <= LabelRangeTop(format, style);
  };
  size_t column = 0, first = 1;
  const std::vector<std::string>& header = rows.front();
  size_t named = 0;
  while (named < header.size() && !IsItemHeader(header[named])) ++named;
  int32_t number = 0;
  if (named < header.size()) {
    column = named;
  } else if (!header.empty() && readItem(header.front(), &number)) {
    first = 0;  // no header: the first row is a part
  }
  for (size_t r = first; r < rows.size(); ++r) {
    const std::string_view cell = column < rows[r].size() ? TrimmedCell(rows[r][column]) : std::string_view();
    if (cell.empty()) continue;
    if (readItem(std::string(cell), &number)) {
      list.items.push_back(number);
    } else {
      ++list.unreadableRows;
    }
  }
  return list;
}
