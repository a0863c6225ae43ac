// Label formats of the leader numbers: a running number shown as Arabic digits, capital letters
// or lower-case Roman numerals, and the conversions between a number and its label text. The
// texts are 8-bit (ANSI code page); callers convert from and to UTF-16 text through the code page
// port.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "framework/code_page.h"
#include "framework/status.h"

// The stored format codes; NoLabel is only ever a result of DetectLabelFormat.
enum LabelFormat : int32_t {
  NoLabel = -1,
  Arabic = 0,
  Letters = 1,
  Roman = 2,
};

// What NumberToLabel writes for a number outside the range of its format.
inline constexpr char kRangeText999[] = "E!Range 1 - 999";  // Arabic and Roman
inline constexpr char kRangeText702[] = "E!Range 1 - 702";  // Letters

// The entries of the format lists in the dialogs, in the order of the format codes.
inline constexpr char kArabicListEntry[] = "Arabic - 1, 2, 3, 4 ...    Range 1 - 999 (1 - 999)";
inline constexpr char kLettersListEntry[] = "Letters - A, B, C, D ...  Range A - ZZ (1 - 702)";
inline constexpr char kRomanListEntry[] = "Roman - i, ii, iii, iv ...    Range i - cmxcix (1 - 999)";

// The captions of the format radio buttons.
inline constexpr char kArabicCaption[] = "&1, 2, 3...";
inline constexpr char kLettersCaption[] = "&A, B, C...";
inline constexpr char kRomanCaption[] = "&i, ii, iii, iv...";

// The letters a Letters label is written with. A skipped letter is skipped at every position
// (without I, O and Q: H, J, ..., Z, AA, ..., AH, AJ, ...), so the range shrinks with the set.
enum LetterSet : int32_t {
  AllLetters = 0,
  LettersWithoutIOQ = 1,     // as datum letters are written
  LettersWithoutIOQSXZ = 2,  // as revision letters are written
};

// The least and most digits an Arabic label may be asked to have.
inline constexpr int32_t kFewestDigits = 0;
inline constexpr int32_t kMostDigits = 9;

// How a label is dressed beyond its format. The defaults give the bare labels. Prefix and suffix
// are UTF-8 and may hold any character a leader text can; a digits count outside 0 to 9 is taken
// as the nearer bound, a letter set the labels do not know as all letters.
struct LabelStyle {
  std::string prefix;
  std::string suffix;
  int32_t digits = 0;  // least digits of an Arabic label: 7 with 3 digits is "007"
  int32_t letterSet = AllLetters;
};

// Writes the label of `value` in `format`. A value outside the format's range fails with the
// range text in *label; an unknown format fails and leaves *label as it was.
HRESULT NumberToLabel(int32_t value, int32_t format, std::string* label);
// The same with the style's leading zeros and letter set; no prefix or suffix.
HRESULT NumberToLabel(int32_t value, int32_t format, const LabelStyle& style, std::string* label);

// The whole leader text (UTF-8): prefix, label and suffix. Out of range it is the range text
// alone, so that an error label stays recognisable; an unknown format leaves *text as it was.
HRESULT NumberToLeaderText(int32_t value, int32_t format, const LabelStyle& style, std::string* text);

// The part of a leader text that carries its label: the part between the style's prefix and
// suffix when the text carries both, otherwise the whole text.
std::u16string_view LabelPartOf(std::u16string_view text, const LabelStyle& style);

// The largest number a label of `format` can carry in `style` (702 for all letters, 552 without
// I, O and Q, 420 without I, O, Q, S, X and Z); 0 for an unknown format.
int32_t LabelRangeTop(int32_t format, const LabelStyle& style);

// Tells the format of a label from its last character: NoLabel when it fits none.
HRESULT DetectLabelFormat(std::string_view text, int32_t* format);

// Reads the number of a label in `format`; *value is 0 whenever nothing can be read.
HRESULT LabelToNumber(std::string_view text, int32_t format, int32_t* value);
// The same in the style's letter set: with a set other than all letters, a text holding a letter
// the set leaves out (or any other character) carries no label, and fails with 0.
HRESULT LabelToNumber(std::string_view text, int32_t format, const LabelStyle& style, int32_t* value);

// Reads a leader text back as the label it carries in `style`: the part between prefix and
// suffix, or the whole text without them, narrowed to the ANSI code page as labels are read.
// *format is NoLabel and *value 0 for a text that carries no number.
HRESULT ReadLeaderText(std::u16string_view text, const LabelStyle& style, const CodePage& codePage, int32_t* format,
                       int32_t* value);
