// UTF-8 to UTF-16 and back. Picklists are mostly ASCII, so runs of ASCII are copied without a
// decode step each.
#include "framework/utf8.h"

namespace {

constexpr char16_t kReplacement = 0xFFFD;

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

void AppendCodePoint(char32_t c, std::u16string* wide) {
  if (c < 0x10000) {
    wide->push_back(static_cast<char16_t>(c));
  } else {
    c -= 0x10000;
    wide->push_back(static_cast<char16_t>(0xD800 + (c >> 10)));
    wide->push_back(static_cast<char16_t>(0xDC00 + (c & 0x3FF)));
  }
}

}  // namespace

std::u16string Utf8ToWide(std::string_view utf8) {
  std::u16string wide;
  wide.reserve(utf8.size());
  const size_t size = utf8.size();
  size_t pos = 0;
  while (pos < size) {
    const auto lead = static_cast<unsigned char>(utf8[pos]);
    if (lead < 0x80) {
      size_t end = pos + 1;
      while (end < size && static_cast<unsigned char>(utf8[end]) < 0x80) ++end;
      wide.append(utf8.begin() + pos, utf8.begin() + end);
      pos = end;
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
      wide.push_back(kReplacement);
    } else {
      char32_t c = lead & (0x7F >> length);
      for (size_t i = 1; i < length; ++i) c = (c << 6) | (static_cast<unsigned char>(utf8[pos + i]) & 0x3F);
      AppendCodePoint(c, &wide);
    }
    pos += taken;
  }
  return wide;
}

std::string WideToUtf8(std::u16string_view wide) {
  std::string utf8;
  utf8.reserve(wide.size());
  const size_t size = wide.size();
  for (size_t pos = 0; pos < size; ++pos) {
    char32_t c = wide[pos];
    if (c < 0x80) {
      utf8.push_back(static_cast<char>(c));
      continue;
    }
    if (c >= 0xD800 && c <= 0xDFFF) {
      const bool pair = c <= 0xDBFF && pos + 1 < size && wide[pos + 1] >= 0xDC00 && wide[pos + 1] <= 0xDFFF;
      if (pair) {
        c = 0x10000 + ((c - 0xD800) << 10) + (wide[++pos] - 0xDC00);
      } else {
        c = kReplacement;
      }
    }
    if (c < 0x800) {
      utf8.push_back(static_cast<char>(0xC0 | (c >> 6)));
    } else if (c < 0x10000) {
      utf8.push_back(static_cast<char>(0xE0 | (c >> 12)));
      utf8.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
    } else {
      utf8.push_back(static_cast<char>(0xF0 | (c >> 18)));
      utf8.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
      utf8.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
    }
    utf8.push_back(static_cast<char>(0x80 | (c & 0x3F)));
  }
  return utf8;
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
