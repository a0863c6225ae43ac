// Decimal text: writing gives the shortest signed form, and reading agrees with the C runtime's
// strtoll clamped to 32 bits (label_format_test covers the reader's corner cases through the
// Arabic labels).
#include "framework/decimal_text.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <limits>
#include <utility>
#include <string>

namespace {

constexpr int32_t kMin32 = std::numeric_limits<int32_t>::min();
constexpr int32_t kMax32 = std::numeric_limits<int32_t>::max();

TEST(DecimalText, WritesSignedDecimal) {
  const struct {
    int32_t value;
    const char* text;
  } cases[] = {
      {0, "0"},
      {7, "7"},
      {-7, "-7"},
      {10, "10"},
      {-10, "-10"},
      {1000000, "1000000"},
      {kMax32, "2147483647"},
      {kMin32, "-2147483648"},
      {kMin32 + 1, "-2147483647"},
  };
  for (const auto& c : cases) EXPECT_EQ(WriteInt32(c.value), c.text) << c.value;
}

TEST(DecimalText, ReadsBackWhatItWrites) {
  for (int64_t power = 1; power <= int64_t{1} << 31; power *= 10) {
    for (int64_t near : {power - 1, power, power + 1, -power - 1, -power, -power + 1}) {
      const int32_t value = static_cast<int32_t>(std::clamp<int64_t>(near, kMin32, kMax32));
      EXPECT_EQ(ReadLeadingInt32(WriteInt32(value)), value);
    }
  }
  EXPECT_EQ(ReadLeadingInt32(WriteInt32(kMin32)), kMin32);
  EXPECT_EQ(ReadLeadingInt32(WriteInt32(kMax32)), kMax32);
}

TEST(DecimalText, ReadsLikeStrtollClampedTo32Bits) {
  const char* texts[] = {
      "",
      "0",
      "-0",
      "+0",
      "42abc",
      "  \t-17 ",
      "\v\f\r\n9",
      "0x10",
      "1e5",
      "- 3",
      "+-3",
      "--3",
      "2147483647",
      "2147483648",
      "-2147483648",
      "-2147483649",
      "99999999999",
      "-99999999999",
      "00000000000000000000012",
      "18446744073709551617",
      "-9223372036854775809",
      "\xA0\x35",  // a no-break space, then 5
  };
  for (const char* text : texts) {
    const long long parsed = std::strtoll(text, nullptr, 10);
    EXPECT_EQ(ReadLeadingInt32(text), std::clamp<long long>(parsed, kMin32, kMax32)) << "'" << text << "'";
  }
}

// A numeric field holds a whole number, or nothing the add-in can use (the value is left alone).
TEST(DecimalText, ReadsANumericFieldStrictly) {
  const std::pair<const char*, int32_t> read[] = {
      {"0", 0}, {"007", 7}, {"  42", 42}, {"\t-5", -5}, {"-0", 0}, {"2147483647", kMax32}, {"-2147483648", kMin32}};
  for (const auto& [text, expected] : read) {
    int32_t value = 12345;
    EXPECT_TRUE(ReadDecimalFieldInt32(text, &value)) << "'" << text << "'";
    EXPECT_EQ(expected, value) << "'" << text << "'";
  }
  const std::string refused[] = {
      "2147483648", "-2147483649", "99999999999",        "", "   ", "-", "+5", "12a", "12 ", "1 2",
      "--3",        "\n5",         std::string(200, '9')};
  for (const std::string& text : refused) {
    int32_t value = 12345;
    EXPECT_FALSE(ReadDecimalFieldInt32(text, &value)) << "'" << text << "'";
    EXPECT_EQ(12345, value) << "'" << text << "'";
  }
}

}  // namespace
