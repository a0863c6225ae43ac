// Conversions between leader numbers and their label texts. Reading is deliberately lenient (a
// label is whatever a user typed into a leader text), so the readers never reject a character;
// they only fail where no number can be read at all.
#include "labels/label_format.h"

#include "framework/decimal_text.h"

namespace {

constexpr int32_t kArabicTop = 999;
constexpr int32_t kLettersTop = 702;  // ZZ
constexpr int32_t kRomanTop = 999;    // cmxcix
constexpr int32_t kAlphabetSize = 26;

int32_t RomanDigitValue(char c) {
  switch (c) {
    case 'i':
      return 1;
    case 'v':
      return 5;
    case 'x':
      return 10;
    case 'l':
      return 50;
    case 'c':
      return 100;
    case 'd':
      return 500;
    case 'm':
      return 1000;
    default:
      return 0;
  }
}

std::string ArabicLabel(int32_t value) {
  return std::to_string(value);
}

std::string LettersLabel(int32_t value) {
  const int32_t first = (value - 1) / kAlphabetSize;
  std::string label;
  if (first >= 1) {
    label += static_cast<char>('A' + first - 1);
    label += static_cast<char>('A' + value - kAlphabetSize * first - 1);
  } else {
    label += static_cast<char>('A' + value - 1);
  }
  return label;
}

std::string RomanLabel(int32_t value) {
  static constexpr const char* kHundreds[] = {"", "c", "cc", "ccc", "cd", "d", "dc", "dcc", "dccc", "cm"};
  static constexpr const char* kTens[] = {"", "x", "xx", "xxx", "xl", "l", "lx", "lxx", "lxxx", "xc"};
  static constexpr const char* kUnits[] = {"", "i", "ii", "iii", "iv", "v", "vi", "vii", "viii", "ix"};
  std::string label = kHundreds[value / 100];
  label += kTens[value / 10 % 10];
  label += kUnits[value % 10];
  return label;
}

struct LabelRule {
  int32_t top;
  const char* rangeText;
  std::string (*write)(int32_t value);
};

const LabelRule* RuleOf(int32_t format) {
  static constexpr LabelRule kRules[] = {
      {kArabicTop, kRangeText999, ArabicLabel},
      {kLettersTop, kRangeText702, LettersLabel},
      {kRomanTop, kRangeText999, RomanLabel},
  };
  if (format < Arabic || format > Roman) return nullptr;
  return &kRules[format];
}

// Letters are not validated: any one or two bytes give a number, as signed bytes.
HRESULT LettersNumber(std::string_view text, int32_t* value) {
  const auto letterValue = [](char c) { return static_cast<signed char>(c) - ('A' - 1); };
  if (text.size() == 1) {
    *value = letterValue(text[0]);
    return S_OK;
  }
  if (text.size() == 2) {
    *value = letterValue(text[0]) * kAlphabetSize + letterValue(text[1]);
    return S_OK;
  }
  return E_FAIL;
}

// Scanned from the right: a digit worth less than the one after it is subtracted (the i of iv).
// Sums of texts too long for any label wrap around in 32 bits instead of overflowing.
int32_t RomanNumber(std::string_view text) {
  uint32_t total = 0;
  int32_t previous = 0;
  for (auto it = text.rbegin(); it != text.rend(); ++it) {
    const int32_t digit = RomanDigitValue(*it);
    if (digit < previous) {
      total -= static_cast<uint32_t>(digit);
    } else {
      total += static_cast<uint32_t>(digit);
    }
    previous = digit;
  }
  return static_cast<int32_t>(total);
}

}  // namespace

HRESULT NumberToLabel(int32_t value, int32_t format, std::string* label) {
  RETURN_HR_IF_NULL(E_POINTER, label);
  const LabelRule* rule = RuleOf(format);
  RETURN_HR_IF(E_FAIL, rule == nullptr);
  try {
    if (value < 1 || value > rule->top) {
      *label = rule->rangeText;
      return E_FAIL;
    }
    *label = rule->write(value);
  } catch (...) {
    return E_OUTOFMEMORY;
  }
  return S_OK;
}

HRESULT DetectLabelFormat(std::string_view text, int32_t* format) {
  RETURN_HR_IF_NULL(E_POINTER, format);
  *format = NoLabel;
  if (text.empty()) return S_OK;
  const char last = text.back();
  if (IsDecimalDigit(last)) {
    *format = Arabic;
  } else if (last >= 'A' && last <= 'Z') {
    *format = Letters;
  } else if (RomanDigitValue(last) != 0) {
    *format = Roman;
  }
  return S_OK;
}

HRESULT LabelToNumber(std::string_view text, int32_t format, int32_t* value) {
  RETURN_HR_IF_NULL(E_POINTER, value);
  *value = 0;
  switch (format) {
    case Arabic:
      *value = ReadLeadingInt32(text);  // strtol's reading, clamped to 32 bits
      return S_OK;
    case Letters:
      return LettersNumber(text, value);
    case Roman:
      *value = RomanNumber(text);
      return S_OK;
    default:
      return E_FAIL;
  }
}
