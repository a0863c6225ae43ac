// The code page port: the add-in keeps its texts as 8-bit ANSI bytes (registry values, the
// picklist file, label texts) while the host and the dialogs speak UTF-16. Everything that
// crosses between the two goes through a CodePage, so that the core can be tested against an
// exact single-byte table and a double-byte page whose trail bytes look like ASCII.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

class CodePage {
 public:
  virtual ~CodePage() = default;

  // Characters the page cannot represent become '?'. May throw std::bad_alloc, as any producer
  // of a std::string does.
  virtual std::string ToAnsi(std::u16string_view utf16) const = 0;

  // Bytes that form no character of the page become '?' (U+003F).
  virtual std::u16string ToUtf16(std::string_view ansi) const = 0;

  // True when `byte` starts a two-byte character.
  virtual bool IsLeadByte(unsigned char byte) const = 0;
};

// The position just past the character that starts at `pos`: a lead byte takes the byte after
// it along, whatever that byte is, as CharNextExA does; a lead byte at the very end stands alone.
// Positions at or past the end give text.size().
size_t NextCharBoundary(const CodePage& codePage, std::string_view text, size_t pos);

// The largest character boundary of `text` that is not past `limit` (a count of bytes from the
// start). Walks from the start, because a trail byte cannot be told from a lead byte by itself.
size_t CharBoundaryAtOrBefore(const CodePage& codePage, std::string_view text, size_t limit);

// True when the page holds every character of `utf16`: it converts there and back unchanged.
bool AnsiHolds(const CodePage& codePage, std::u16string_view utf16);

// `text` cut to at most `maxBytes` bytes without splitting a two-byte character.
std::string_view TruncateOnCharBoundary(const CodePage& codePage, std::string_view text, size_t maxBytes);
