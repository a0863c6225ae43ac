// Label formats of the leader numbers: a running number shown as Arabic digits, capital letters
// or lower-case Roman numerals, and the conversions between a number and its label text. The
// texts are 8-bit (ANSI code page); callers convert from and to wide text through the code page
// port.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

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

// Writes the label of `value` in `format`. A value outside the format's range fails with the
// range text in *label; an unknown format fails and leaves *label as it was.
HRESULT NumberToLabel(int32_t value, int32_t format, std::string* label);

// Tells the format of a label from its last character: NoLabel when it fits none.
HRESULT DetectLabelFormat(std::string_view text, int32_t* format);

// Reads the number of a label in `format`; *value is 0 whenever nothing can be read.
HRESULT LabelToNumber(std::string_view text, int32_t format, int32_t* value);
