// A small double-byte code page for the core's tests, shaped like the East Asian ANSI pages
// (Shift-JIS in particular) where the faults hide: a trail byte may equal an ASCII character
// such as '<' or '/', so code that scans bytes instead of characters splits pairs or finds
// separators that are not there.
//
//   0x00-0x7F  ASCII
//   0x81-0x9F  lead bytes; with a trail byte 0x21-0x7E or 0x80-0xFC they form one character,
//              U+4E00 + leadIndex * 219 + trailIndex (indexes counted from 0x81, and from 0x21
//              over the two trail ranges without the gap)
//   0xA0-0xDF  single-byte characters U+FF60-U+FF9F
//   0x80, 0xE0-0xFF  no character
//
// Decoding: a lead byte always takes the byte after it along (as the stepping helpers do), and
// a pair whose second byte is no trail byte becomes one '?'; a lead byte at the end, and the
// single bytes that are no character, become '?'. Encoding: every UTF-16 unit outside the page
// (surrogate halves one by one) becomes '?'.
#pragma once

#include "framework/code_page.h"

class TestDoubleByteCodePage : public CodePage {
 public:
  static constexpr unsigned char kFirstLead = 0x81;
  static constexpr unsigned char kLastLead = 0x9F;
  static constexpr int kTrailCount = 219;
  static constexpr char16_t kFirstPairChar = 0x4E00;
  static constexpr char16_t kFirstSingleChar = 0xFF60;

  std::string ToAnsi(std::u16string_view utf16) const override;
  std::u16string ToUtf16(std::string_view ansi) const override;
  bool IsLeadByte(unsigned char byte) const override;

  // The index of a trail byte in 0..218, or -1 for a byte that cannot trail.
  static int TrailIndex(unsigned char byte);
};
