// The options the add-in keeps between sessions, and the one table that says where and how each
// is stored: under HKEY_LOCAL_MACHINE (or the user's copy under HKEY_CURRENT_USER) the data
// folder in the family key and every other option as a REG_SZ text in its subkey, named as in
// the table. The settings store, the glue of the dialogs, the reference host and the tests all
// read the names, kinds, defaults and ranges from here.
#pragma once

#include <cstddef>
#include <cstdint>
#include <limits>
#include <optional>
#include <string>

#include "labels/label_format.h"

constexpr char kFamilyKeyPath[] = "SOFTWARE\\Varnkit";
constexpr char kSettingsKeyName[] = "VKTL";   // the options' subkey, below the family key
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
  int32_t TLDefStep = 1;                       // the running number's advance per leader, 1 to 999
  int32_t TLDefDigits = 0;                     // least digits of an Arabic label, 0 to 9
  int32_t TLDefLetterSet = 0;                  // LetterSet: all, without I, O, Q, or without I, O, Q, S, X, Z
  std::string DataPath = kDefaultDataPath;     // 8-bit, at most kDataPathMaxLength characters
  std::optional<std::u16string> PickListText;  // the whole picklist in file form; none at first
};

// A stored option is a number or a flag: exactly one of `number` and `flag` is set. A flag is
// stored as 0 or 1 and read as true for any number but 0. The range is what the add-in's own
// dialogs give; a stored number outside it is taken as it is, and the code that uses the option
// decides what it means (a negative format counts as Arabic, an unknown text source gives no text).
struct StoredOption {
  const char* name;
  int32_t StoredOptions::*number;
  bool StoredOptions::*flag;
  int32_t defaultValue;
  int32_t lowest;
  int32_t highest;

  int32_t Get(const StoredOptions& options) const { return number ? options.*number : (options.*flag ? 1 : 0); }
  void Set(StoredOptions& options, int32_t value) const {
    if (number) {
      options.*number = value;
    } else {
      options.*flag = value != 0;
    }
  }
};

constexpr int32_t kLowestNumber = std::numeric_limits<int32_t>::min();
constexpr int32_t kHighestNumber = std::numeric_limits<int32_t>::max();

// In the order in which they are read, written and shown.
// clang-format off
inline constexpr StoredOption kStoredOptions[] = {
    // name                 number                             flag                                default  lowest  highest
    {"TLDefConvertPoint",   nullptr,                           &StoredOptions::TLDefConvertPoint,  1,       0,      1},
    {"TLDefMode",           &StoredOptions::TLDefMode,         nullptr,                            0,       kLowestNumber, kHighestNumber},
    {"TLDefFormat",         &StoredOptions::TLDefFormat,       nullptr,                            Arabic,  Arabic, Roman},
    {"TLDefObjDSource",     &StoredOptions::TLDefObjDSource,   nullptr,                            0,       0,      2},  // Info, layer, path length
    {"TLDefRenObjects",     &StoredOptions::TLDefRenObjects,   nullptr,                            1,       0,      2},  // all, numeric, same format
    {"TLDefRenFixOrder",    nullptr,                           &StoredOptions::TLDefRenFixOrder,   1,       0,      1},
    {"TLDefRenReset",       nullptr,                           &StoredOptions::TLDefRenReset,      0,       0,      1},
    {"TLPickAutoAdd",       nullptr,                           &StoredOptions::TLPickAutoAdd,      1,       0,      1},
    {"TLPickAutoPick",      nullptr,                           &StoredOptions::TLPickAutoPick,     1,       0,      1},
};
// clang-format on

// The row of that name; none for a name that is not stored.
const StoredOption* FindStoredOption(const std::string& name);

// The Number tool's label style and step as the options hold them; a stored step outside 1 to 999
// counts as the nearer bound.
LabelStyle NumberLabelStyle(const StoredOptions& options);
int32_t NumberStep(const StoredOptions& options);
