// Whole numbers as decimal text, the way the add-in has always read and written them: reading is
// C's strtol in base 10 with a 32-bit long, so a label or a stored setting means what it meant to
// the C runtime, and writing is plain signed decimal.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

// The leading decimal integer of `text`: white space (' ', \t, \n, \v, \f, \r) skipped, an
// optional sign, then digits up to the first non-digit. No digits gives 0; a value beyond the
// 32-bit range gives INT32_MIN or INT32_MAX. Never fails and reads any length.
int32_t ReadLeadingInt32(std::string_view text);

// A whole number typed into a dialog's numeric field: optional leading blanks (' ', \t), an
// optional minus sign, then one or more digits and nothing else, within the signed 32-bit range.
// False, with *value untouched, for anything else: empty, "12a", "+5", "-", too many digits.
bool ReadDecimalFieldInt32(std::string_view text, int32_t* value);

// The most characters a signed 32-bit number takes as text: "-2147483648". A numeric field takes
// no more, so that pasting a long text costs nothing.
constexpr size_t kInt32TextLength = 11;

// '0' to '9' and nothing else, whatever the locale.
inline bool IsDecimalDigit(char c) {
  return c >= '0' && c <= '9';
}

// `value` held to the signed 32-bit range: a sum that passes it stays at its nearest end.
inline int32_t SaturatedInt32(int64_t value) {
  return value < INT32_MIN ? INT32_MIN : value > INT32_MAX ? INT32_MAX : static_cast<int32_t>(value);
}

// Signed decimal: a minus sign for negative values, no leading zeros, no spaces.
std::string WriteInt32(int32_t value);

// The leading decimal number of `text` as a standard text-to-double conversion reads it: white
// space, an optional sign, digits with an optional fraction, an optional exponent. No number
// gives 0.
double ReadLeadingDecimal(std::string_view text);
