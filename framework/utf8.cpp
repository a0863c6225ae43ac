// UTF-8 to UTF-16 and back. Whole picklists pass through here: each output is sized once and
// filled in place, runs of ASCII a block at a time.
#include "framework/utf8.h"

#include <cstdint>
#include <cstring>

namespace {

constexpr char16_t kReplacement = 0xFFFD;

// Eight bytes, or four UTF-16 units, of ASCII: no byte with its top bit set, no unit past 0x7F.
// Whole picklists are mostly ASCII, and a block test per eight bytes keeps them moving.
bool AsciiBytes(const char* bytes) {
  uint64_t block;
  std::memcpy(&block, bytes, sizeof block);
  return (block & 0x8080808080808080u) == 0;
}
bool AsciiUnits(const char16_t* units) {
  uint64_t block;
  std::memcpy(&block, units, sizeof block);
  return (block & 0xFF80FF80FF80FF80u) == 0;
}

bool IsContinuation(unsigned char byte) {
  return (byte & 0xC0) == 0x80;
}

// The range the second byte of a sequence must lie in: narrower than 0x80-0xBF after the lead
// bytes whose sequences would otherwise be overlong, surrogates or past U+10FFFF.
bool SecondByteFits(unsigned char lead, unsigned char second) {
  switch (lead) {
    case 0xE0:
      return second >= 0xA0 && second <= 0xBF;
    case 0xED:
      return second >= 0x80 && second <= 0x9F;
    case 0xF0:
      return second >= 0x90 && second <= 0xBF;
    case 0xF4:
      return second >= 0x80 && second <= 0x8F;
    default:
      return IsContinuation(second);
  }
}

// The length of the sequence that `lead` starts, or 0 when no sequence starts with it.
size_t SequenceLength(unsigned char lead) {
  if (lead >= 0xC2 && lead <= 0xDF) return 2;
  if (lead >= 0xE0 && lead <= 0xEF) return 3;
  if (lead >= 0xF0 && lead <= 0xF4) return 4;
  return 0;
}

char16_t* PutCodePoint(char32_t c, char16_t* out) {
  if (c < 0x10000) {
    *out++ = static_cast<char16_t>(c);
  } else {
    c -= 0x10000;
    *out++ = static_cast<char16_t>(0xD800 + (c >> 10));
    *out++ = static_cast<char16_t>(0xDC00 + (c & 0x3FF));
  }
  return out;
}

bool IsPair(std::u16string_view utf16, size_t pos) {
  return utf16[pos] >= 0xD800 && utf16[pos] <= 0xDBFF && pos + 1 < utf16.size() && utf16[pos + 1] >= 0xDC00 &&
         utf16[pos + 1] <= 0xDFFF;
}

}  // namespace

// The output never has more units than the input has bytes: it is sized once and cut to length.
std::u16string Utf8ToUtf16(std::string_view utf8) {
  std::u16string utf16(utf8.size(), u'\0');
  char16_t* const first = utf16.empty() ? nullptr : &utf16[0];
  char16_t* out = first;
  const size_t size = utf8.size();
  size_t pos = 0;
  while (pos < size) {
    while (pos + 8 <= size && AsciiBytes(utf8.data() + pos)) {
      for (size_t i = 0; i < 8; ++i) out[i] = static_cast<char16_t>(utf8[pos + i]);
      out += 8;
      pos += 8;
    }
    if (pos == size) break;
    const auto lead = static_cast<unsigned char>(utf8[pos]);
    if (lead < 0x80) {
      *out++ = lead;
      ++pos;
      continue;
    }
    const size_t length = SequenceLength(lead);
    // The well-formed part: the lead byte and each following byte that may continue it.
    size_t taken = 1;
    if (length > 0 && pos + 1 < size && SecondByteFits(lead, static_cast<unsigned char>(utf8[pos + 1]))) {
      taken = 2;
      while (taken < length && pos + taken < size && IsContinuation(static_cast<unsigned char>(utf8[pos + taken]))) {
        ++taken;
      }
    }
    if (taken < length || length == 0) {
      *out++ = kReplacement;
    } else {
      char32_t c = lead & (0x7F >> length);
      for (size_t i = 1; i < length; ++i) c = (c << 6) | (static_cast<unsigned char>(utf8[pos + i]) & 0x3F);
      out = PutCodePoint(c, out);
    }
    pos += taken;
  }
  utf16.resize(static_cast<size_t>(out - first));
  return utf16;
}

// Two passes: the size first, then the bytes into a string of that size; both take four ASCII
// units at a time while they last. The size takes every surrogate as three bytes; a text with
// surrogates has its pairs counted again.
std::string Utf16ToUtf8(std::u16string_view utf16) {
  const size_t size = utf16.size();
  const char16_t* units = utf16.data();
  size_t bytes = size;
  size_t surrogates = 0;
  for (size_t pos = 0; pos < size; ++pos) {
    if (pos + 4 <= size && AsciiUnits(units + pos)) {
      pos += 3;  // four ASCII units: a byte each
      continue;
    }
    const char16_t c = units[pos];
    bytes += (c >= 0x80) + (c >= 0x800);
    surrogates += (c & 0xF800) == 0xD800;
  }
  if (surrogates != 0) {
    for (size_t pos = 0; pos + 1 < size; ++pos) {
      if (IsPair(utf16, pos)) {
        bytes -= 2;  // four bytes for the pair, not six
        ++pos;
      }
    }
  }
  std::string utf8(bytes, '\0');
  char* out = bytes == 0 ? nullptr : &utf8[0];
  for (size_t pos = 0; pos < size; ++pos) {
    // Four ASCII units at a time while they last.
    while (pos + 4 <= size && AsciiUnits(units + pos)) {
      for (size_t i = 0; i < 4; ++i) out[i] = static_cast<char>(units[pos + i]);
      out += 4;
      pos += 4;
    }
    if (pos == size) break;
    char32_t c = units[pos];
    if (c < 0x80) {
      *out++ = static_cast<char>(c);
      continue;
    }
    if (IsPair(utf16, pos)) {
      c = 0x10000 + ((c - 0xD800) << 10) + (utf16[++pos] - 0xDC00);
    } else if (c >= 0xD800 && c <= 0xDFFF) {
      c = kReplacement;
    }
    if (c < 0x800) {
      *out++ = static_cast<char>(0xC0 | (c >> 6));
    } else if (c < 0x10000) {
      *out++ = static_cast<char>(0xE0 | (c >> 12));
      *out++ = static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    } else {
      *out++ = static_cast<char>(0xF0 | (c >> 18));
      *out++ = static_cast<char>(0x80 | ((c >> 12) & 0x3F));
      *out++ = static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    }
    *out++ = static_cast<char>(0x80 | (c & 0x3F));
  }
  return utf8;
}

size_t DecodeUtf8At(std::string_view utf8, size_t pos, char32_t* c) {
  const auto lead = static_cast<unsigned char>(utf8[pos]);
  if (lead < 0x80) {
    *c = lead;
    return 1;
  }
  const size_t length = SequenceLength(lead);
  if (length == 0 || pos + length > utf8.size() || !SecondByteFits(lead, static_cast<unsigned char>(utf8[pos + 1]))) {
    return 0;
  }
  char32_t value = lead & (0x7F >> length);
  for (size_t i = 1; i < length; ++i) {
    const auto byte = static_cast<unsigned char>(utf8[pos + i]);
    if (!IsContinuation(byte)) return 0;
    value = (value << 6) | (byte & 0x3F);
  }
  *c = value;
  return length;
}

// Walks back over continuation bytes only as far as one character reaches; stray ones further
// back are characters of their own (each decodes to U+FFFD).
size_t Utf8BoundaryAtOrBefore(std::string_view utf8, size_t limit) {
  if (limit >= utf8.size()) return utf8.size();
  size_t start = limit;
  while (start > 0 && limit - start < 3 && IsContinuation(static_cast<unsigned char>(utf8[start]))) --start;
  const auto lead = static_cast<unsigned char>(utf8[start]);
  if (start == limit || IsContinuation(lead)) return limit;
  // `limit` lies inside the sequence that starts at `start` only if that sequence reaches it.
  size_t end = start + 1;
  const size_t length = SequenceLength(lead);
  if (length > 0 && SecondByteFits(lead, static_cast<unsigned char>(utf8[start + 1]))) {
    end = start + 2;
    while (end < start + length && end < utf8.size() && IsContinuation(static_cast<unsigned char>(utf8[end]))) ++end;
  }
  return end > limit ? start : limit;
}

std::u16string Utf16FromBytes(std::string_view bytes, bool bigEndian) {
  std::u16string utf16;
  utf16.reserve(bytes.size() / 2);
  for (size_t i = 0; i + 1 < bytes.size(); i += 2) {
    const auto first = static_cast<unsigned char>(bytes[i]), second = static_cast<unsigned char>(bytes[i + 1]);
    utf16.push_back(static_cast<char16_t>(bigEndian ? (first << 8) | second : (second << 8) | first));
  }
  return utf16;
}
