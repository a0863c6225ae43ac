// The label formats: every label of every format read back, the range and unknown-format
// failures, and the lenient readers on the texts users actually type.
#include "labels/label_format.h"

#include <gtest/gtest.h>

#include "framework/utf8.h"
#include "testing/windows1252_code_page.h"

#include <cstdint>
#include <initializer_list>
#include <limits>
#include <set>
#include <string>
#include <vector>

namespace {

constexpr int32_t kMarker = static_cast<int32_t>(0xdeadbeef);

struct FormatRange {
  int32_t format;
  int32_t top;
  const char* rangeText;
};

constexpr FormatRange kFormats[] = {
    {Arabic, 999, "E!Range 1 - 999"},
    {Letters, 702, "E!Range 1 - 702"},
    {Roman, 999, "E!Range 1 - 999"},
};

TEST(LabelFormat, EveryNumberRoundTrips) {
  for (const FormatRange& range : kFormats) {
    std::set<std::string> seen;
    for (int32_t n = 1; n <= range.top; ++n) {
      SCOPED_TRACE("format " + std::to_string(range.format) + " number " + std::to_string(n));
      std::string label = "previous";
      ASSERT_EQ(S_OK, NumberToLabel(n, range.format, &label));
      EXPECT_TRUE(seen.insert(label).second) << label << " given twice";
      int32_t detected = kMarker;
      EXPECT_EQ(S_OK, DetectLabelFormat(label, &detected));
      EXPECT_EQ(range.format, detected) << label;
      int32_t value = kMarker;
      EXPECT_EQ(S_OK, LabelToNumber(label, range.format, &value));
      EXPECT_EQ(n, value) << label;
    }
  }
}

TEST(LabelFormat, KnownLabels) {
  struct Case {
    int32_t format;
    int32_t value;
    const char* label;
  };
  const Case cases[] = {
      {Arabic, 1, "1"},       {Arabic, 10, "10"},
      {Arabic, 100, "100"},   {Arabic, 999, "999"},
      {Letters, 1, "A"},      {Letters, 26, "Z"},
      {Letters, 27, "AA"},    {Letters, 52, "AZ"},
      {Letters, 53, "BA"},    {Letters, 677, "ZA"},
      {Letters, 702, "ZZ"},   {Roman, 1, "i"},
      {Roman, 4, "iv"},       {Roman, 9, "ix"},
      {Roman, 14, "xiv"},     {Roman, 40, "xl"},
      {Roman, 90, "xc"},      {Roman, 101, "ci"},
      {Roman, 400, "cd"},     {Roman, 500, "d"},
      {Roman, 900, "cm"},     {Roman, 888, "dccclxxxviii"},
      {Roman, 999, "cmxcix"},
  };
  for (const Case& c : cases) {
    std::string label = "previous";
    EXPECT_EQ(S_OK, NumberToLabel(c.value, c.format, &label)) << c.label;
    EXPECT_EQ(c.label, label);
  }
}

TEST(LabelFormat, LongestRomanLabelIs888) {
  size_t longest = 0;
  int32_t longestAt = 0;
  for (int32_t n = 1; n <= 999; ++n) {
    std::string label;
    ASSERT_EQ(S_OK, NumberToLabel(n, Roman, &label));
    if (label.size() > longest) {
      longest = label.size();
      longestAt = n;
    }
  }
  EXPECT_EQ(12u, longest);
  EXPECT_EQ(888, longestAt);
}

TEST(LabelFormat, OutOfRangeGivesRangeText) {
  for (const FormatRange& range : kFormats) {
    for (int32_t value : {0, range.top + 1, -1, -range.top, INT32_MIN, INT32_MAX}) {
      std::string label = "previous";
      EXPECT_EQ(E_FAIL, NumberToLabel(value, range.format, &label)) << range.format << " " << value;
      EXPECT_EQ(range.rangeText, label) << range.format << " " << value;
    }
  }
}

TEST(LabelFormat, UnknownFormatLeavesLabelUntouched) {
  for (int32_t format : std::initializer_list<int32_t>{3, NoLabel, -2, 100, INT32_MIN, INT32_MAX}) {
    for (int32_t value : {1, 0, 1000}) {
      std::string label = "untouched";
      EXPECT_EQ(E_FAIL, NumberToLabel(value, format, &label)) << format << " " << value;
      EXPECT_EQ("untouched", label) << format << " " << value;
    }
  }
}

TEST(LabelFormat, DetectionByLastCharacter) {
  struct Case {
    std::string text;
    int32_t format;
  };
  const Case cases[] = {
      {"", NoLabel},
      {"12", Arabic},
      {"Item 12", Arabic},
      {"0", Arabic},
      {"B", Letters},
      {"x-B", Letters},
      {"XIV", Letters},
      {"cmxcix", Roman},
      {"Fig. iv", Roman},
      {"m", Roman},
      {"d", Roman},
      {"l", Roman},
      {"12a", NoLabel},
      {"A1 ", NoLabel},
      {"n", NoLabel},
      {"@", NoLabel},
      {"[", NoLabel},
      {"/", NoLabel},
      {":", NoLabel},
      {"I", Letters},
      {"\xE9", NoLabel},
      {std::string{'7', '\0'}, NoLabel},
      {std::string{'\0'}, NoLabel},
  };
  for (const Case& c : cases) {
    int32_t format = kMarker;
    EXPECT_EQ(S_OK, DetectLabelFormat(c.text, &format)) << c.text;
    EXPECT_EQ(c.format, format) << "'" << c.text << "'";
  }
}

struct ReadCase {
  std::string text;
  int32_t value;
  HRESULT hr;
};

void ExpectReads(int32_t format, const std::vector<ReadCase>& cases) {
  for (const ReadCase& c : cases) {
    int32_t value = kMarker;
    EXPECT_EQ(c.hr, LabelToNumber(c.text, format, &value)) << "'" << c.text << "'";
    EXPECT_EQ(c.value, value) << "'" << c.text << "'";
  }
}

TEST(LabelFormat, ReadsArabicLikeStrtol) {
  ExpectReads(Arabic, {
                          {"12", 12, S_OK},
                          {"007", 7, S_OK},
                          {"12a", 12, S_OK},
                          {"12 34", 12, S_OK},
                          {"1e3", 1, S_OK},
                          {"0x1A", 0, S_OK},
                          {"-3", -3, S_OK},
                          {"Item 12", 0, S_OK},
                          {"", 0, S_OK},
                          {"  +12", 12, S_OK},
                          {" \t\n\v\f\r7", 7, S_OK},
                          {std::string{'\xA0', '5'}, 0, S_OK},
                          {"-", 0, S_OK},
                          {"+", 0, S_OK},
                          {"+-5", 0, S_OK},
                          {"- 5", 0, S_OK},
                          {"   ", 0, S_OK},
                          {std::string{'5', '\0', '6'}, 5, S_OK},
                          {std::string{'\0', '5'}, 0, S_OK},
                      });
}

TEST(LabelFormat, ClampsArabicAtThe32BitLimits) {
  ExpectReads(Arabic, {
                          {"2147483647", INT32_MAX, S_OK},
                          {"2147483648", INT32_MAX, S_OK},
                          {"-2147483648", INT32_MIN, S_OK},
                          {"-2147483649", INT32_MIN, S_OK},
                          {"4294967296", INT32_MAX, S_OK},
                          {"4294967307", INT32_MAX, S_OK},
                          {"-4294967297", INT32_MIN, S_OK},
                          {"99999999999999999999999999", INT32_MAX, S_OK},
                          {"-99999999999999999999999999", INT32_MIN, S_OK},
                          {std::string(5000, '9'), INT32_MAX, S_OK},
                          {"-" + std::string(5000, '9'), INT32_MIN, S_OK},
                          {std::string(5000, '0') + "42", 42, S_OK},
                          {"-" + std::string(5000, '0') + "12", -12, S_OK},
                      });
}

TEST(LabelFormat, ReadsLettersAsSignedBytes) {
  ExpectReads(Letters, {
                           {"A", 1, S_OK},
                           {"Z", 26, S_OK},
                           {"AA", 27, S_OK},
                           {"AZ", 52, S_OK},
                           {"BA", 53, S_OK},
                           {"ZA", 677, S_OK},
                           {"ZZ", 702, S_OK},
                           {"5A", -285, S_OK},
                           {"a", 33, S_OK},
                           {"@", 0, S_OK},
                           {"\x80", -192, S_OK},
                           {"\xFF", -65, S_OK},
                           {"\xFF\xFF", -1755, S_OK},
                           {std::string{'\0'}, -64, S_OK},
                           {"", 0, E_FAIL},
                           {"ABC", 0, E_FAIL},
                           {"ZZZZ", 0, E_FAIL},
                       });
}

TEST(LabelFormat, ReadsRomanFromTheRight) {
  ExpectReads(Roman, {
                         {"i", 1, S_OK},
                         {"iv", 4, S_OK},
                         {"ix", 9, S_OK},
                         {"xiv", 14, S_OK},
                         {"cm", 900, S_OK},
                         {"cmxcix", 999, S_OK},
                         {"dccclxxxviii", 888, S_OK},
                         {"iiii", 4, S_OK},
                         {"ic", 99, S_OK},
                         {"vx", 5, S_OK},
                         {"iim", 1000, S_OK},
                         {"mmm", 3000, S_OK},
                         {"Fig. iv", 5, S_OK},  // the i of "Fig" counts too
                         {"x-i", 11, S_OK},
                         {"IV", 0, S_OK},
                         {"", 0, S_OK},
                     });
}

TEST(LabelFormat, RomanSumOfAnOverlongTextWrapsIn32Bits) {
  const std::string text(2147484, 'm');  // 2147484000, past INT32_MAX
  int32_t value = 0;
  EXPECT_EQ(S_OK, LabelToNumber(text, Roman, &value));
  EXPECT_EQ(static_cast<int32_t>(2147484000LL - 4294967296LL), value);
}

TEST(LabelFormat, UnknownFormatReadsNothing) {
  for (int32_t format : std::initializer_list<int32_t>{NoLabel, 3, INT32_MIN, INT32_MAX}) {
    int32_t value = kMarker;
    EXPECT_EQ(E_FAIL, LabelToNumber("12", format, &value)) << format;
    EXPECT_EQ(0, value) << format;
  }
}

TEST(LabelFormat, NullOutputsArePointerErrors) {
  EXPECT_EQ(E_POINTER, NumberToLabel(1, Arabic, nullptr));
  EXPECT_EQ(E_POINTER, NumberToLabel(0, Arabic, nullptr));
  EXPECT_EQ(E_POINTER, NumberToLabel(1, 3, nullptr));
  EXPECT_EQ(E_POINTER, DetectLabelFormat("12", nullptr));
  for (int32_t format : std::initializer_list<int32_t>{NoLabel, Arabic, Letters, Roman, 3}) {
    EXPECT_EQ(E_POINTER, LabelToNumber("12", format, nullptr)) << format;
  }
}

// Dressed labels: each letter set at its bounds and at each letter it skips, leading zeros,
// prefix and suffix, the range texts alone. Each label that is written is read back.
TEST(LabelFormat, StyledLabelsAndTheirReading) {
  const LabelStyle all, noIOQ{"", "", 0, LettersWithoutIOQ}, noIOQSXZ{"", "", 0, LettersWithoutIOQSXZ};
  const struct {
    LabelStyle style;
    int32_t format;
    int32_t value;
    const char* text;  // UTF-8
    HRESULT hr;
  } cases[] = {
      {all, Letters, 9, "I", S_OK},
      {all, Letters, 702, "ZZ", S_OK},
      {all, Letters, 703, "E!Range 1 - 702", E_FAIL},
      {{"", "", 0, 7}, Letters, 9, "I", S_OK},  // an unknown set is all letters
      {noIOQ, Letters, 8, "H", S_OK},
      {noIOQ, Letters, 9, "J", S_OK},
      {noIOQ, Letters, 14, "P", S_OK},
      {noIOQ, Letters, 15, "R", S_OK},
      {noIOQ, Letters, 23, "Z", S_OK},
      {noIOQ, Letters, 24, "AA", S_OK},
      {noIOQ, Letters, 31, "AH", S_OK},
      {noIOQ, Letters, 32, "AJ", S_OK},
      {noIOQ, Letters, 552, "ZZ", S_OK},
      {noIOQ, Letters, 553, "E!Range 1 - 552", E_FAIL},
      {noIOQSXZ, Letters, 9, "J", S_OK},
      {noIOQSXZ, Letters, 15, "R", S_OK},
      {noIOQSXZ, Letters, 16, "T", S_OK},
      {noIOQSXZ, Letters, 19, "W", S_OK},
      {noIOQSXZ, Letters, 20, "Y", S_OK},
      {noIOQSXZ, Letters, 21, "AA", S_OK},
      {noIOQSXZ, Letters, 28, "AH", S_OK},
      {noIOQSXZ, Letters, 29, "AJ", S_OK},
      {noIOQSXZ, Letters, 420, "YY", S_OK},
      {noIOQSXZ, Letters, 421, "E!Range 1 - 420", E_FAIL},
      {{"", "", 3}, Arabic, 7, "007", S_OK},
      {{"", "", 3}, Arabic, 999, "999", S_OK},
      {{"", "", 4}, Arabic, 999, "0999", S_OK},
      {{"", "", 4}, Arabic, 1000, "E!Range 1 - 999", E_FAIL},
      {{"", "", 9}, Arabic, 7, "000000007", S_OK},
      {{"", "", -1}, Arabic, 7, "7", S_OK},
      {{"", "", 3}, Letters, 7, "G", S_OK},  // zeros are for Arabic labels only
      {{"P-", "", 2}, Arabic, 7, "P-07", S_OK},
      {{"V", "a"}, Arabic, 12, "V12a", S_OK},
      {{"D", "", 0, LettersWithoutIOQ}, Letters, 9, "DJ", S_OK},
      {{"Fig. ", ")"}, Roman, 4, "Fig. iv)", S_OK},
      {{"\u2300", " mm"}, Arabic, 5, "\u23005 mm", S_OK},
      {{"P-", "/1", 2}, Arabic, 0, "E!Range 1 - 999", E_FAIL},  // the range text alone
      {{"P-", "/1", 2, LettersWithoutIOQSXZ}, Letters, 421, "E!Range 1 - 420", E_FAIL},
  };
  const Windows1252CodePage codePage;
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.text) + " from " + std::to_string(c.value));
    std::string text = "previous";
    EXPECT_EQ(c.hr, NumberToLeaderText(c.value, c.format, c.style, &text));
    EXPECT_EQ(c.text, text);
    if (FAILED(c.hr)) continue;
    int32_t format = kMarker, value = kMarker;
    EXPECT_EQ(S_OK, ReadLeaderText(Utf8ToUtf16(text), c.style, codePage, &format, &value));
    EXPECT_EQ(c.format, format);
    EXPECT_EQ(c.value, value);
  }
}

// Every label of every format and letter set, dressed, reads back as its number.
TEST(LabelFormat, EveryStyledLabelRoundTrips) {
  const Windows1252CodePage codePage;
  for (int32_t format : {Arabic, Letters, Roman}) {
    for (int32_t set : {AllLetters, LettersWithoutIOQ, LettersWithoutIOQSXZ}) {
      const LabelStyle style{"P-", "\u00b0", 3, set};
      const int32_t top = LabelRangeTop(format, style);
      ASSERT_EQ(format == Letters ? (set == AllLetters ? 702 : set == LettersWithoutIOQ ? 552 : 420) : 999, top);
      std::set<std::string> seen;
      for (int32_t n = 1; n <= top + 1; ++n) {
        std::string text;
        const HRESULT hr = NumberToLeaderText(n, format, style, &text);
        ASSERT_EQ(n <= top ? S_OK : E_FAIL, hr) << format << " " << set << " " << n;
        if (FAILED(hr)) break;
        EXPECT_TRUE(seen.insert(text).second) << text << " given twice";
        int32_t detected = kMarker, value = kMarker;
        ASSERT_EQ(S_OK, ReadLeaderText(Utf8ToUtf16(text), style, codePage, &detected, &value));
        EXPECT_EQ(format, detected) << text;
        EXPECT_EQ(n, value) << text;
      }
    }
  }
}

}  // namespace
