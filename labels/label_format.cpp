// Conversions between leader numbers and their label texts. Reading is deliberately lenient (a
// label is whatever a user typed into a leader text), so the readers never reject a character;
// they only fail where no number can be read at all.
#include "labels/label_format.h"

#include <algorithm>
#include <optional>

#include "framework/decimal_text.h"
#include "framework/utf8.h"

namespace {

constexpr int32_t kArabicTop = 999;
constexpr int32_t kRomanTop = 999;  // cmxcix
constexpr int32_t kAlphabetSize = 26;

// The letters of each set, in order; a label of one set has one or two of them, so the top is
// n + n * n: ZZ (702), ZZ again without I, O, Q (552) and YY without I, O, Q, S, X, Z (420).
struct Alphabet {
  std::string_view letters;
  const char* rangeText;
};

constexpr Alphabet kAlphabets[] = {
    {"ABCDEFGHIJKLMNOPQRSTUVWXYZ", kRangeText702},
    {"ABCDEFGHJKLMNPRSTUVWXYZ", "E!Range 1 - 552"},
    {"ABCDEFGHJKLMNPRTUVWY", "E!Range 1 - 420"},
};

const Alphabet& AlphabetOf(const LabelStyle& style) {
  const bool known = style.letterSet >= AllLetters && style.letterSet <= LettersWithoutIOQSXZ;
  return kAlphabets[known ? style.letterSet : AllLetters];
}

int32_t LettersTop(const Alphabet& alphabet) {
  const auto n = static_cast<int32_t>(alphabet.letters.size());
  return n + n * n;
}

int32_t DigitsOf(const LabelStyle& style) {
  return std::clamp(style.digits, kFewestDigits, kMostDigits);
}

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

// Leading zeros up to the least number of digits; a longer number is never cut.
std::string ArabicLabel(int32_t value, const LabelStyle& style) {
  std::string label = std::to_string(value);
  const auto digits = static_cast<size_t>(DigitsOf(style));
  if (label.size() < digits) label.insert(0, digits - label.size(), '0');
  return label;
}

std::string LettersLabel(int32_t value, const LabelStyle& style) {
  const std::string_view letters = AlphabetOf(style).letters;
  const auto n = static_cast<int32_t>(letters.size());
  const int32_t first = (value - 1) / n;
  std::string label;
  if (first >= 1) {
    label += letters[static_cast<size_t>(first - 1)];
    label += letters[static_cast<size_t>(value - n * first - 1)];
  } else {
    label += letters[static_cast<size_t>(value - 1)];
  }
  return label;
}

std::string RomanLabel(int32_t value, const LabelStyle&) {
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
  std::string (*write)(int32_t value, const LabelStyle& style);
};

std::optional<LabelRule> RuleOf(int32_t format, const LabelStyle& style) {
  switch (format) {
    case Arabic:
      return LabelRule{kArabicTop, kRangeText999, ArabicLabel};
    case Letters:
      return LabelRule{LettersTop(AlphabetOf(style)), AlphabetOf(style).rangeText, LettersLabel};
    case Roman:
      return LabelRule{kRomanTop, kRangeText999, RomanLabel};
    default:
      return std::nullopt;
  }
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

// In a set short of some letters every character must be one of its letters.
HRESULT SetLettersNumber(std::string_view text, const Alphabet& alphabet, int32_t* value) {
  const auto n = static_cast<int32_t>(alphabet.letters.size());
  int32_t number = 0;
  if (text.empty() || text.size() > 2) return E_FAIL;
  for (const char c : text) {
    const size_t at = alphabet.letters.find(c);
    if (at == std::string_view::npos) return E_FAIL;
    number = number * n + static_cast<int32_t>(at) + 1;
  }
  *value = number;
  return S_OK;
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
  return NumberToLabel(value, format, LabelStyle{}, label);
}

HRESULT NumberToLabel(int32_t value, int32_t format, const LabelStyle& style, std::string* label) {
  RETURN_HR_IF_NULL(E_POINTER, label);
  const std::optional<LabelRule> rule = RuleOf(format, style);
  RETURN_HR_IF(E_FAIL, !rule);
  try {
    if (value < 1 || value > rule->top) {
      *label = rule->rangeText;
      return E_FAIL;
    }
    *label = rule->write(value, style);
  } catch (...) {
    return E_OUTOFMEMORY;
  }
  return S_OK;
}

HRESULT NumberToLeaderText(int32_t value, int32_t format, const LabelStyle& style, std::string* text) {
  RETURN_HR_IF_NULL(E_POINTER, text);
  std::string label;
  const HRESULT hr = NumberToLabel(value, format, style, &label);
  if (label.empty()) return hr;  // an unknown format, or no memory
  try {
    *text = SUCCEEDED(hr) ? style.prefix + label + style.suffix : label;
  } catch (...) {
    return E_OUTOFMEMORY;
  }
  return hr;
}

int32_t LabelRangeTop(int32_t format, const LabelStyle& style) {
  const std::optional<LabelRule> rule = RuleOf(format, style);
  return rule ? rule->top : 0;
}

std::u16string_view LabelPartOf(std::u16string_view text, const LabelStyle& style) {
  if (style.prefix.empty() && style.suffix.empty()) return text;
  const std::u16string prefix = Utf8ToUtf16(style.prefix);
  const std::u16string suffix = Utf8ToUtf16(style.suffix);
  if (text.size() < prefix.size() + suffix.size()) return text;
  if (text.substr(0, prefix.size()) != prefix || text.substr(text.size() - suffix.size()) != suffix) return text;
  return text.substr(prefix.size(), text.size() - prefix.size() - suffix.size());
}

HRESULT ReadLeaderText(std::u16string_view text, const LabelStyle& style, const CodePage& codePage, int32_t* format,
                       int32_t* value) {
  RETURN_HR_IF_NULL(E_POINTER, format);
  RETURN_HR_IF_NULL(E_POINTER, value);
  *format = NoLabel;
  *value = 0;
  try {
    const std::string label = codePage.ToAnsi(LabelPartOf(text, style));
    DetectLabelFormat(label, format);
    LabelToNumber(label, *format, style, value);
  } catch (...) {
    *format = NoLabel;
    *value = 0;
    return E_OUTOFMEMORY;
  }
  if (*value == 0) *format = NoLabel;
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
  return LabelToNumber(text, format, LabelStyle{}, value);
}

HRESULT LabelToNumber(std::string_view text, int32_t format, const LabelStyle& style, int32_t* value) {
  RETURN_HR_IF_NULL(E_POINTER, value);
  *value = 0;
  switch (format) {
    case Arabic:
      *value = ReadLeadingInt32(text);  // strtol's reading, clamped to 32 bits: "007" is 7
      return S_OK;
    case Letters: {
      const Alphabet& alphabet = AlphabetOf(style);
      return &alphabet == &kAlphabets[AllLetters] ? LettersNumber(text, value)
                                                  : SetLettersNumber(text, alphabet, value);
    }
    case Roman:
      *value = RomanNumber(text);
      return S_OK;
    default:
      return E_FAIL;
  }
}
