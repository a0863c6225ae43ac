// Decimal reading without the C runtime, so that no locale and no width of `long` can change
// what a text means.
#include "framework/decimal_text.h"

#include <algorithm>
#include <cctype>
#include <cmath>

namespace {

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
  for (; pos < text.size() && IsDecimalDigit(text[pos]); ++pos) {
    magnitude = std::min(magnitude * 10 + (text[pos] - '0'), kMagnitudeCap);
  }
  if (negative) return static_cast<int32_t>(-magnitude);
  return static_cast<int32_t>(std::min(magnitude, kMagnitudeCap - 1));
}

bool ReadDecimalFieldInt32(std::string_view text, int32_t* value) {
  size_t pos = 0;
  while (pos < text.size() && (text[pos] == ' ' || text[pos] == '\t')) ++pos;
  const bool negative = pos < text.size() && text[pos] == '-';
  if (negative) ++pos;
  if (pos == text.size()) return false;
  // The magnitude may reach 2^31 for INT32_MIN; anything larger is out of range at once.
  constexpr int64_t kLargestMagnitude = int64_t{1} << 31;
  int64_t magnitude = 0;
  for (; pos < text.size(); ++pos) {
    if (!IsDecimalDigit(text[pos])) return false;
    magnitude = magnitude * 10 + (text[pos] - '0');
    if (magnitude > kLargestMagnitude) return false;
  }
  if (!negative && magnitude == kLargestMagnitude) return false;
  *value = static_cast<int32_t>(negative ? -magnitude : magnitude);
  return true;
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

double ReadLeadingDecimal(std::string_view text) {
  size_t i = 0;
  while (i < text.size() && std::isspace(static_cast<unsigned char>(text[i]))) ++i;
  double sign = 1;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) sign = text[i++] == '-' ? -1 : 1;
  double value = 0;
  bool digits = false;
  for (; i < text.size() && std::isdigit(static_cast<unsigned char>(text[i])); ++i, digits = true)
    value = value * 10 + (text[i] - '0');
  if (i < text.size() && text[i] == '.') {
    double scale = 0.1;
    for (++i; i < text.size() && std::isdigit(static_cast<unsigned char>(text[i])); ++i, scale /= 10, digits = true)
      value += (text[i] - '0') * scale;
  }
  if (!digits) return 0;
  if (i + 1 < text.size() && (text[i] == 'e' || text[i] == 'E')) {
    size_t j = i + 1;
    int exponentSign = 1;
    if (text[j] == '+' || text[j] == '-') exponentSign = text[j++] == '-' ? -1 : 1;
    int exponent = 0;
    bool exponentDigits = false;
    for (; j < text.size() && std::isdigit(static_cast<unsigned char>(text[j])) && exponent < 400; ++j) {
      exponent = exponent * 10 + (text[j] - '0');
      exponentDigits = true;
    }
    if (exponentDigits) value *= std::pow(10.0, exponentSign * exponent);
  }
  return sign * value;
}
