// The options the add-in keeps between sessions, and the one table that says where and how each
// is stored: under HKEY_LOCAL_MACHINE (or the user's copy under HKEY_CURRENT_USER) the data
// folder in the family key and every other option as a REG_SZ text in its subkey, named as in
// the table. The settings store and the reference host read the names, kinds, defaults and
// limits from here.
#pragma once

#include <cstddef>
#include <cstdint>
#include <iterator>
#include <limits>
#include <optional>
#include <set>
#include <string>

#include "labels/label_format.h"

constexpr char kFamilyKeyPath[] = "SOFTWARE\\Varnkit";
constexpr char kOptionsKeyName[] = "VKTL";    // the options' subkey, below the family key
constexpr char kDataPathName[] = "DataPath";  // a text in the family key
constexpr char kDefaultDataPath[] = "C:\\Program Files\\DEVO\\Varnkit\\Data\\";
constexpr size_t kDataPathMaxLength = 511;
constexpr size_t kLabelAffixMaxLength = 31;  // prefix and suffix, in UTF-16 units as an edit box counts
constexpr int32_t kLowestStep = 1;
constexpr int32_t kHighestStep = 999;

// What the add-in keeps between sessions: the options of the table, the data folder and the
// picklist that the picklist store keeps there. A default-made one holds the table's defaults.
struct StoredOptions {
  StoredOptions();

  int32_t TLDefMode;  // read and written back; nothing depends on it
  int32_t TLDefFormat;
  int32_t TLDefObjDSource;
  int32_t TLDefRenObjects;
  bool TLDefRenFixOrder;
  bool TLDefRenReset;
  bool TLPickAutoAdd;
  bool TLPickAutoPick;
  bool TLDefConvertPoint;
  // How the Number tool dresses its labels; the defaults give the bare labels.
  std::string TLDefPrefix;  // UTF-8, at most kLabelAffixMaxLength characters
  std::string TLDefSuffix;
  int32_t TLDefStep;                           // the running number's advance per leader, 1 to 999
  int32_t TLDefDigits;                         // least digits of an Arabic label, 0 to 9
  int32_t TLDefLetterSet;                      // LetterSet: all, without I, O, Q, or without I, O, Q, S, X, Z
  int32_t TLDefRenOrder;                       // the Renumber dialog's order of consecutive numbers
  std::string TLDefRenTolerance;               // its tolerance of rows and columns, a decimal text
  bool TLDefContinue;                          // the Number tool goes on after the drawing's highest label
  std::string TLPartsList;                     // the parts list Renumber checks against (UTF-8 path); empty: none
  std::string DataPath = kDefaultDataPath;     // 8-bit, at most kDataPathMaxLength characters
  std::optional<std::u16string> PickListText;  // the whole picklist in file form; none at first
  // The names of the options (DataPath among them) that an administrator's policy sets: the
  // dialogs show them but let no one change them, and they are never stored.
  std::set<std::string> Enforced;
};

// How a stored option is kept: a number, a flag or a text. Every value is stored as a text.
enum class StoredKind { Number, Flag, Text };

// One row of the table: the value's name, its kind and the member of StoredOptions that holds it
// (exactly one of `number`, `flag` and `text`), its default and its limits.
//
// A number is read as strtol reads it. Its range is what the add-in's own dialogs give; a stored
// number outside it is taken as it is, and the code that uses the option decides what it means
// (a negative format counts as Arabic, an unknown text source gives no text). A flag is stored as
// 0 or 1 and read as true for any number but 0. A number or a flag whose stored text is empty
// keeps what it holds; a text takes an empty stored text as an empty text. A text longer than
// its limit is not taken.
struct StoredOption {
  const char* name;
  StoredKind kind;
  int32_t StoredOptions::*number = nullptr;
  bool StoredOptions::*flag = nullptr;
  std::string StoredOptions::*text = nullptr;
  int32_t defaultNumber = 0;  // a number's default; a flag's as 0 or 1
  int32_t lowest = 0;         // a number's range; 0 to 1 for a flag
  int32_t highest = 0;
  const char* defaultText = "";  // a text's default
  size_t maxLength = 0;          // the most bytes a text takes; UTF-16 units for a text of any character
  // A text that may hold any character: UTF-8 in its member, a UTF-16 REG_SZ in the registry.
  bool anyCharacter = false;
};

constexpr StoredOption NumberOption(const char* name, int32_t StoredOptions::*member, int32_t defaultValue,
                                    int32_t lowest, int32_t highest) {
  StoredOption option{name, StoredKind::Number};
  option.number = member;
  option.defaultNumber = defaultValue;
  option.lowest = lowest;
  option.highest = highest;
  return option;
}

constexpr StoredOption FlagOption(const char* name, bool StoredOptions::*member, bool defaultValue) {
  StoredOption option{name, StoredKind::Flag};
  option.flag = member;
  option.defaultNumber = defaultValue ? 1 : 0;
  option.highest = 1;
  return option;
}

constexpr StoredOption TextOption(const char* name, std::string StoredOptions::*member, const char* defaultValue,
                                  size_t maxLength) {
  StoredOption option{name, StoredKind::Text};
  option.text = member;
  option.defaultText = defaultValue;
  option.maxLength = maxLength;
  return option;
}

// A text of any character, at most `maxLength` UTF-16 units (as an edit box counts them).
constexpr StoredOption AnyTextOption(const char* name, std::string StoredOptions::*member, const char* defaultValue,
                                     size_t maxLength) {
  StoredOption option = TextOption(name, member, defaultValue, maxLength);
  option.anyCharacter = true;
  return option;
}

constexpr int32_t kLowestNumber = std::numeric_limits<int32_t>::min();
constexpr int32_t kHighestNumber = std::numeric_limits<int32_t>::max();

// In the order in which they are read, written and shown.
// clang-format off
inline constexpr StoredOption kStoredOptions[] = {
    FlagOption(  "TLDefConvertPoint", &StoredOptions::TLDefConvertPoint, true),
    NumberOption("TLDefMode",         &StoredOptions::TLDefMode,         0,      kLowestNumber, kHighestNumber),
    NumberOption("TLDefFormat",       &StoredOptions::TLDefFormat,       Arabic, Arabic,        Roman),
    NumberOption("TLDefObjDSource",   &StoredOptions::TLDefObjDSource,   0,      0,             2),  // Info, layer, path length
    NumberOption("TLDefRenObjects",   &StoredOptions::TLDefRenObjects,   1,      0,             2),  // all, numeric, same format
    FlagOption(  "TLDefRenFixOrder",  &StoredOptions::TLDefRenFixOrder,  true),
    FlagOption(  "TLDefRenReset",     &StoredOptions::TLDefRenReset,     false),
    FlagOption(  "TLPickAutoAdd",     &StoredOptions::TLPickAutoAdd,     true),
    FlagOption(  "TLPickAutoPick",    &StoredOptions::TLPickAutoPick,    true),
    AnyTextOption("TLDefPrefix",      &StoredOptions::TLDefPrefix,       "",     kLabelAffixMaxLength),
    AnyTextOption("TLDefSuffix",      &StoredOptions::TLDefSuffix,       "",     kLabelAffixMaxLength),
    NumberOption("TLDefStep",         &StoredOptions::TLDefStep,         1,      kLowestStep,   kHighestStep),
    NumberOption("TLDefDigits",       &StoredOptions::TLDefDigits,       0,      kFewestDigits, kMostDigits),
    NumberOption("TLDefLetterSet",    &StoredOptions::TLDefLetterSet,    AllLetters, AllLetters, LettersWithoutIOQSXZ),
    NumberOption("TLDefRenOrder",     &StoredOptions::TLDefRenOrder,     0,      0,             4),  // labels, rows, columns, selection, clockwise
    TextOption(  "TLDefRenTolerance", &StoredOptions::TLDefRenTolerance, "2.5",  19),  // drawing units, a plain decimal
    FlagOption(  "TLDefContinue",     &StoredOptions::TLDefContinue,     false),
    AnyTextOption("TLPartsList",      &StoredOptions::TLPartsList,       "",     kDataPathMaxLength),  // a path, %VARIABLE%s expanded
};
// clang-format on

// A run of rows to read and write: the add-in's table, or another.
struct StoredOptionRows {
  const StoredOption* first;
  const StoredOption* last;
  const StoredOption* begin() const { return first; }
  const StoredOption* end() const { return last; }
};
inline constexpr StoredOptionRows kStoredOptionRows{std::begin(kStoredOptions), std::end(kStoredOptions)};

// What taking a stored text did to its option.
enum class StoredTextTaken {
  Taken,      // the option holds what the text says
  LeftAlone,  // an empty text of a number or a flag: the option keeps what it held
  TooLong,    // a text longer than its option's limit: the option keeps what it held
};

// Sets the option to its default.
void SetDefault(const StoredOption& option, StoredOptions& options);
// The text the option is stored as.
std::string StoredText(const StoredOption& option, const StoredOptions& options);
// Takes a stored text (its bytes up to the first NUL) into the option, as its kind reads it.
StoredTextTaken TakeStoredText(const StoredOption& option, const std::string& text, StoredOptions& options);

// The row of that name; none for a name that is not stored.
const StoredOption* FindStoredOption(const std::string& name);

// The Number tool's label style and step as the options hold them; a stored step outside 1 to 999
// counts as the nearer bound.
LabelStyle NumberLabelStyle(const StoredOptions& options);
int32_t NumberStep(const StoredOptions& options);
