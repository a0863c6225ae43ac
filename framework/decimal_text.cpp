// Decimal reading without the C runtime, so that no locale and no width of `long` can change
// what a text means.
#include "framework/decimal_text.h"

#include <algorithm>

namespace {

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

// The white space that strtol skips in the "C" locale.
bool IsCSpace(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

}  // namespace

int32_t ReadLeadingInt32(std::string_view text) {
  size_t pos = 0;
  while (pos < text.size() && IsCSpace(text[pos])) ++pos;
  bool negative = false;
  if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) {
    negative = text[pos] == '-';
    ++pos;
  }
  // Once the magnitude reaches 2^31 the result is one of the limits, so it stops growing there.
  constexpr int64_t kMagnitudeCap = int64_t{1} << 31;
  int64_t magnitude = 0;
  for (; pos < text.size() && IsDigit(text[pos]); ++pos) {
    magnitude = std::min(magnitude * 10 + (text[pos] - '0'), kMagnitudeCap);
  }
  if (negative) return static_cast<int32_t>(-magnitude);
  return static_cast<int32_t>(std::min(magnitude, kMagnitudeCap - 1));
}

std::string WriteInt32(int32_t value) {
  // The magnitude in 32 unsigned bits, which holds that of INT32_MIN as well.
  uint32_t magnitude = value < 0 ? 0u - static_cast<uint32_t>(value) : static_cast<uint32_t>(value);
  char digits[11];  // "-2147483648" is the longest
  char* begin = digits + sizeof digits;
  do {
    *--begin = static_cast<char>('0' + magnitude % 10);
    magnitude /= 10;
  } while (magnitude != 0);
  if (value < 0) *--begin = '-';
  return std::string(begin, digits + sizeof digits);
}
