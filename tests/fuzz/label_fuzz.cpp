// Arbitrary bytes as leader texts: detection and reading must hold their rules on any input, and
// every number a text reads as must label and read back to itself.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <string>
#include <string_view>

#include "labels/label_format.h"

namespace {

#define FUZZ_CHECK(condition)           \
  do {                                  \
    if (!(condition)) __builtin_trap(); \
  } while (0)

constexpr int32_t kMarker = static_cast<int32_t>(0xdeadbeef);
constexpr std::string_view kRomanDigits = "ivxlcdm";

bool IsUpper(char c) {
  return c >= 'A' && c <= 'Z';
}
bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}
bool IsRomanDigit(char c) {
  return kRomanDigits.find(c) != std::string_view::npos;
}

int32_t TopOf(int32_t format) {
  return format == Letters ? 702 : 999;
}

// The C library's own reader, clamped from 64 to 32 bits; it stops at an embedded NUL just as
// the label reader stops at any non-digit.
int32_t ReferenceArabic(std::string_view text) {
  const std::string terminated(text);
  const long long parsed = std::strtoll(terminated.c_str(), nullptr, 10);
  if (parsed > std::numeric_limits<int32_t>::max()) return std::numeric_limits<int32_t>::max();
  if (parsed < std::numeric_limits<int32_t>::min()) return std::numeric_limits<int32_t>::min();
  return static_cast<int32_t>(parsed);
}

int64_t RomanDigitValue(char c) {
  static constexpr int64_t kValues[] = {1, 5, 10, 50, 100, 500, 1000};
  const size_t at = kRomanDigits.find(c);
  return at == std::string_view::npos ? 0 : kValues[at];
}

// Left to right: a digit is subtracted when its right-hand neighbour is worth more.
int64_t ReferenceRoman(std::string_view text) {
  int64_t total = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    const int64_t digit = RomanDigitValue(text[i]);
    const int64_t next = i + 1 < text.size() ? RomanDigitValue(text[i + 1]) : 0;
    total += digit < next ? -digit : digit;
  }
  return total;
}

// A label in range: made only of its format's characters, detected as its format, read back.
void CheckLabelRoundTrip(int32_t value, int32_t format) {
  std::string label = "unchanged";
  FUZZ_CHECK(NumberToLabel(value, format, &label) == S_OK);
  FUZZ_CHECK(!label.empty() && label.size() <= 12);
  for (char c : label) {
    FUZZ_CHECK(format == Arabic ? IsDigit(c) : format == Letters ? IsUpper(c) : IsRomanDigit(c));
  }
  int32_t detected = kMarker;
  FUZZ_CHECK(DetectLabelFormat(label, &detected) == S_OK && detected == format);
  int32_t readBack = kMarker;
  FUZZ_CHECK(LabelToNumber(label, format, &readBack) == S_OK && readBack == value);
}

void CheckDetection(std::string_view text) {
  int32_t format = kMarker;
  FUZZ_CHECK(DetectLabelFormat(text, &format) == S_OK);
  if (text.empty()) {
    FUZZ_CHECK(format == NoLabel);
    return;
  }
  const char last = text.back();
  switch (format) {
    case Arabic:
      FUZZ_CHECK(IsDigit(last));
      break;
    case Letters:
      FUZZ_CHECK(IsUpper(last));
      break;
    case Roman:
      FUZZ_CHECK(IsRomanDigit(last));
      break;
    case NoLabel:
      FUZZ_CHECK(!IsDigit(last) && !IsUpper(last) && !IsRomanDigit(last));
      break;
    default:
      FUZZ_CHECK(false);
  }
}

void CheckReading(std::string_view text, int32_t format) {
  int32_t value = kMarker;
  const HRESULT hr = LabelToNumber(text, format, &value);
  FUZZ_CHECK(hr == S_OK || hr == E_FAIL);
  if (hr == E_FAIL) FUZZ_CHECK(value == 0);
  switch (format) {
    case Arabic:
      FUZZ_CHECK(hr == S_OK && value == ReferenceArabic(text));
      break;
    case Letters:
      FUZZ_CHECK((hr == E_FAIL) == (text.size() != 1 && text.size() != 2));
      // Each character counts as a signed byte less 64.
      if (text.size() == 1) FUZZ_CHECK(value >= -128 - 64 && value <= 127 - 64);
      if (text.size() == 2) {
        int32_t first = kMarker;
        int32_t second = kMarker;
        FUZZ_CHECK(LabelToNumber(text.substr(0, 1), Letters, &first) == S_OK);
        FUZZ_CHECK(LabelToNumber(text.substr(1, 1), Letters, &second) == S_OK);
        FUZZ_CHECK(value == first * 26 + second);
      }
      break;
    case Roman:
      // The reader's sum wraps in 32 bits on texts long enough to pass the limits.
      FUZZ_CHECK(hr == S_OK && value == static_cast<int32_t>(static_cast<uint32_t>(ReferenceRoman(text))));
      break;
    default:
      FUZZ_CHECK(hr == E_FAIL);
  }
  if (hr == S_OK && format >= Arabic && format <= Roman && value >= 1 && value <= TopOf(format)) {
    CheckLabelRoundTrip(value, format);
  }
}

// The first four bytes as a number to label: anything from far out of range to in range.
void CheckLabelling(std::string_view text) {
  if (text.size() < sizeof(int32_t)) return;
  int32_t value = 0;
  std::memcpy(&value, text.data(), sizeof value);
  for (int32_t format = NoLabel; format <= 3; ++format) {
    std::string label = "unchanged";
    const HRESULT hr = NumberToLabel(value, format, &label);
    if (format < Arabic || format > Roman) {
      FUZZ_CHECK(hr == E_FAIL && label == "unchanged");
      continue;
    }
    const int32_t top = TopOf(format);
    if (value < 1 || value > top) {
      FUZZ_CHECK(hr == E_FAIL);
      FUZZ_CHECK(label == (format == Letters ? "E!Range 1 - 702" : "E!Range 1 - 999"));
    } else {
      CheckLabelRoundTrip(value, format);
    }
    const uint32_t folded = static_cast<uint32_t>(value) % static_cast<uint32_t>(top);
    CheckLabelRoundTrip(static_cast<int32_t>(folded) + 1, format);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  CheckDetection(text);
  for (int32_t format = NoLabel; format <= 3; ++format) CheckReading(text, format);
  CheckLabelling(text);
  return 0;
}
