// Stepping over whole characters of 8-bit text, for cutting texts to a byte limit.
#include "framework/code_page.h"

size_t NextCharBoundary(const CodePage& codePage, std::string_view text, size_t pos) {
  if (pos >= text.size()) return text.size();
  const bool pair = codePage.IsLeadByte(static_cast<unsigned char>(text[pos])) && pos + 1 < text.size();
  return pos + (pair ? 2 : 1);
}

size_t CharBoundaryAtOrBefore(const CodePage& codePage, std::string_view text, size_t limit) {
  if (limit >= text.size()) return text.size();
  size_t boundary = 0;
  for (;;) {
    const size_t next = NextCharBoundary(codePage, text, boundary);
    if (next > limit) return boundary;
    boundary = next;
  }
}

std::string_view TruncateOnCharBoundary(const CodePage& codePage, std::string_view text, size_t maxBytes) {
  return text.substr(0, CharBoundaryAtOrBefore(codePage, text, maxBytes));
}

bool AnsiHolds(const CodePage& codePage, std::u16string_view utf16) {
  return codePage.ToUtf16(codePage.ToAnsi(utf16)) == utf16;
}
