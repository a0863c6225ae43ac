// The settings store against the in-memory registry: what each stored text loads as and is
// written back as, the keys that must be there before anything is read or written, and the
// per-user copy that stands in where HKEY_LOCAL_MACHINE cannot be written.
#include "addin/tool/options_store.h"

#include "framework/utf8.h"

#include <gtest/gtest.h>

#include <iterator>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "testing/documented_options.h"
#include "testing/memory_registry.h"
#include "options_key.h"

namespace {

constexpr uint32_t kRegMultiText = 7, kRegQword = 11;  // REG_MULTI_SZ, REG_QWORD
constexpr RegistryRoot kMachine = RegistryRoot::LocalMachine;
constexpr RegistryRoot kUser = RegistryRoot::CurrentUser;
constexpr char kFamily[] = "SOFTWARE\\Varnkit";
constexpr char kDefaultPath[] = "C:\\Program Files\\DEVO\\Varnkit\\Data\\";

// Text as a REG_SZ value stores it.
std::string Sz(std::string text) {
  text.push_back('\0');
  return text;
}

// The stored options by value name, each as the text it is written as.
using Stored = std::map<std::string, std::string>;

// The text a member of any kind is stored as: a number in decimal, a flag as 1 or 0.
std::string TextOf(const StoredOption& option, const StoredOptions& options) {
  switch (option.kind) {
    case StoredKind::Number:
      return std::to_string(options.*option.number);
    case StoredKind::Flag:
      return options.*option.flag ? "1" : "0";
    case StoredKind::Text:
      break;
  }
  return options.*option.text;
}

Stored StoredMembers(const StoredOptions& options) {
  Stored stored = {{"DataPath", options.DataPath}};
  for (const StoredOption& option : kStoredOptions) stored[option.name] = TextOf(option, options);
  return stored;
}

// What the stored values under `root` hold, as REG_SZ bytes with their NUL; missing ones (and
// `except`) are left out, and a value of any other type fails the test.
Stored Written(const MemoryRegistry& registry, RegistryRoot root, const std::string& except = "") {
  Stored written;
  auto take = [&](const char* path, const std::string& name) {
    if (name == except) return;
    uint32_t type = 0;
    std::string bytes;
    if (!registry.GetRawValue(root, path, name, &type, &bytes)) return;
    EXPECT_EQ(type, kRegText) << name;
    written[name] = bytes;
  };
  take(kFamily, "DataPath");
  for (const StoredOption& option : kStoredOptions) take(kOptionsKey, option.name);
  return written;
}

Stored AsWritten(Stored texts) {
  for (auto& entry : texts) entry.second = Sz(entry.second);
  return texts;
}

void Plant(MemoryRegistry& registry, RegistryRoot root, const std::string& name, const std::string& text) {
  registry.SetRawValue(root, name == "DataPath" ? kFamily : kOptionsKey, name, kRegText, Sz(text));
}

TEST(OptionsStore, EmptyRegistryKeepsTheInitialValuesAndSavesThem) {
  MemoryRegistry registry;
  OptionsStore store(registry);
  EXPECT_FALSE(store.Home().has_value());
  StoredOptions members;
  store.Load(members);
  EXPECT_EQ(StoredMembers(members), StoredMembers(StoredOptions{}));
  EXPECT_EQ(store.Home(), kMachine);
  EXPECT_TRUE(registry.KeyExists(kMachine, kOptionsKey));  // created by the load
  EXPECT_TRUE(Written(registry, kMachine).empty());

  store.Save(members);
  // The names and defaults as the add-in documents them for its users.
  Stored expected = {{"DataPath", std::string(kDefaultPath) + '\0'}};
  for (const DocumentedOption& option : kDocumentedOptions)
    expected[option.name] = std::string(option.defaultText) + '\0';

  EXPECT_EQ(Written(registry, kMachine), expected);
  EXPECT_FALSE(registry.KeyExists(kUser, "SOFTWARE"));
}

TEST(StoredOptionTable, EachRowIsOneKindWithItsDefaultInRangeAndIsFoundByItsName) {
  const StoredOptions defaults;
  ASSERT_EQ(std::size(kStoredOptions), std::size(kDocumentedOptions));
  for (size_t row = 0; row < std::size(kStoredOptions); ++row) {
    const StoredOption& option = kStoredOptions[row];
    const DocumentedOption& documented = kDocumentedOptions[row];
    SCOPED_TRACE(documented.name);
    EXPECT_STREQ(option.name, documented.name);
    EXPECT_EQ(option.kind, documented.kind);
    EXPECT_EQ(option.number != nullptr, option.kind == StoredKind::Number);
    EXPECT_EQ(option.flag != nullptr, option.kind == StoredKind::Flag);
    EXPECT_EQ(option.text != nullptr, option.kind == StoredKind::Text);
    switch (option.kind) {
      case StoredKind::Number:
        EXPECT_LE(option.lowest, option.defaultNumber);
        EXPECT_LE(option.defaultNumber, option.highest);
        break;
      case StoredKind::Flag:
        EXPECT_EQ(option.lowest, 0);
        EXPECT_EQ(option.highest, 1);
        break;
      case StoredKind::Text:
        EXPECT_LE(std::string(option.defaultText).size(), option.maxLength);
        EXPECT_LT(option.maxLength, kOptionsReadBufferBytes);  // a text the limit allows reads whole
        break;
    }
    EXPECT_EQ(TextOf(option, defaults), documented.defaultText);
    EXPECT_EQ(FindStoredOption(option.name), &option);
  }
  EXPECT_EQ(FindStoredOption("DataPath"), nullptr);  // a text of the family key, not of the table
  EXPECT_EQ(FindStoredOption("tldefformat"), nullptr);
}

// One planted value, loaded over the initial members and saved back.
struct ValueCase {
  const char* name;
  uint32_t type;
  std::string bytes;     // as stored
  std::string loaded;    // the member afterwards
  bool ignored = false;  // not taken (too long, or a type its option does not take)
};

// A stored step outside 1 to 999 stays as stored and counts as the nearest end where it is used.
TEST(StoredOptionTable, AStepOutsideItsRangeCountsAsItsNearestEnd) {
  const struct {
    int32_t stored, used;
  } cases[] = {{5000, 999}, {1000, 999}, {999, 999}, {10, 10}, {1, 1}, {0, 1}, {-7, 1}};
  for (const auto& c : cases) {
    StoredOptions options;
    options.TLDefStep = c.stored;
    EXPECT_EQ(c.used, NumberStep(options)) << c.stored;
  }
}

TEST(OptionsStore, EachStoredValueLoadsAndIsWrittenBack) {
  const std::string longPath(kDataPathMaxLength, 'p');
  const ValueCase cases[] = {
      {"TLDefFormat", kRegText, Sz("-1"), "-1"},
      {"TLDefFormat", kRegText, Sz(" \t+12 items"), "12"},
      {"TLDefFormat", kRegText,
       std::string("3\0"
                   "9",
                   3),
       "3"},
      {"TLDefMode", kRegText, Sz("abc"), "0"},
      {"TLDefRenObjects", kRegText, Sz("abc"), "0"},
      {"TLDefMode", kRegText, Sz("99999999999"), "2147483647"},
      {"TLDefMode", kRegText, Sz("-99999999999"), "-2147483648"},
      {"TLDefObjDSource", kRegText, Sz("0x1A"), "0"},
      // Empty and unreadable texts leave the member alone.
      {"TLDefRenFixOrder", kRegText, Sz(""), "1"},
      {"TLDefRenObjects", kRegText, "", "1"},
      {"TLDefObjDSource", kRegText, std::string(2000, '5'), "0", true},
      // The buffer holds 1024 bytes: a value of that size reads, one byte more does not.
      {"TLDefRenObjects", kRegText, Sz("42" + std::string(1021, 'x')), "42"},
      {"TLDefRenObjects", kRegText, Sz("42" + std::string(1022, 'x')), "1", true},
      // A number or flag as an administrator's REG_DWORD counts as its number; a text option
      // takes no DWORD, and no option a type that is neither text nor DWORD.
      {"TLDefMode", kRegDword, std::string("\x07\0\0\0", 4), "7"},
      {"TLDefMode", kRegDword, std::string("\xFF\xFF\xFF\xFF", 4), "-1"},
      {"TLDefRenObjects", kRegDword, std::string("\x05\0\0\0", 4), "5"},
      {"TLDefDigits", kRegDword, std::string("\x03\0\0\0", 4), "3"},
      {"TLPickAutoAdd", kRegDword, std::string(4, '\0'), "0"},
      {"TLDefMode", kRegDword, std::string("\x07\0", 2), "0", true},
      {"TLDefPrefix", kRegDword, std::string("\x07\0\0\0", 4), "", true},
      {"DataPath", kRegDword, std::string("\x07\0\0\0", 4), kDefaultPath, true},
      {"TLDefMode", kRegQword, std::string("\x07\0\0\0\0\0\0\0", 8), "0", true},
      {"TLDefRenTolerance", kRegMultiText, Sz("4") + '\0', "2.5", true},
      {"DataPath", kRegExpandText, Sz("%APPDATA%\\Tallyline\\"), "%APPDATA%\\Tallyline\\"},
      // Binary values read as their raw bytes up to the first NUL, as they always have.
      {"TLDefRenObjects", kRegBinary, "12", "12"},
      {"TLDefRenObjects", kRegBinary,
       std::string("\0"
                   "7",
                   2),
       "1"},
      // Flags are any number but 0.
      {"TLPickAutoAdd", kRegText, Sz("7"), "1"},
      {"TLPickAutoAdd", kRegText, Sz("0"), "0"},
      {"TLPickAutoAdd", kRegText, Sz("abc"), "0"},
      {"TLPickAutoPick", kRegText, Sz("0x1"), "0"},
      {"TLDefConvertPoint", kRegText, Sz("  -0"), "0"},
      {"TLDefRenReset", kRegText, Sz("7"), "1"},
      {"TLDefRenReset", kRegText, Sz("-1"), "1"},
      {"TLDefRenReset", kRegText, Sz("-99999999999"), "1"},
      {"TLDefRenFixOrder", kRegText, Sz("0"), "0"},
      // The data path is taken as it is, up to its length limit.
      {"DataPath", kRegText, Sz("D:\\Drawings\\Data\\"), "D:\\Drawings\\Data\\"},
      {"DataPath", kRegText, Sz(" 12 \xC4\xD6"), " 12 \xC4\xD6"},
      {"DataPath", kRegBinary, "E:\\", "E:\\"},
      {"DataPath", kRegText, Sz(longPath), longPath},
      {"DataPath", kRegText, Sz(longPath + "p"), kDefaultPath, true},
      {"DataPath", kRegText, Sz(std::string(600, 'p')), kDefaultPath, true},
      {"DataPath", kRegText, Sz(""), kDefaultPath},
  };
  std::vector<ValueCase> all(std::begin(cases), std::end(cases));
  // Every number and flag takes the ends of its range as they are; every text its longest.
  for (const StoredOption& option : kStoredOptions) {
    if (option.kind == StoredKind::Text) {
      const std::string longest(option.maxLength, 't');
      all.push_back({option.name, kRegText, Sz(longest), longest});
      continue;
    }
    for (const int32_t end : {option.lowest, option.highest}) {
      all.push_back({option.name, kRegText, Sz(std::to_string(end)), std::to_string(end)});
    }
  }
  for (const ValueCase& c : all) {
    SCOPED_TRACE(std::string(c.name) + " '" + c.bytes.substr(0, 40) + "'");
    MemoryRegistry registry;
    registry.SetRawValue(kMachine, std::string(c.name) == "DataPath" ? kFamily : kOptionsKey, c.name, c.type, c.bytes);
    Stored expected = StoredMembers(StoredOptions{});
    expected[c.name] = c.loaded;

    OptionsStore store(registry);
    StoredOptions members;
    store.Load(members);
    EXPECT_EQ(StoredMembers(members), expected);
    store.Save(members);
    // The options missing from a fresh machine are written; the value there stays as it is stored.
    Stored written = AsWritten(expected);
    written.erase(c.name);
    EXPECT_EQ(Written(registry, kMachine, c.name), written);
    uint32_t type = 0;
    std::string bytes;
    ASSERT_TRUE(registry.GetRawValue(kMachine, std::string(c.name) == "DataPath" ? kFamily : kOptionsKey, c.name, &type,
                                     &bytes));
    EXPECT_EQ(type, c.type);
    EXPECT_EQ(bytes, c.bytes);
    EXPECT_FALSE(registry.KeyExists(kUser, "SOFTWARE"));
  }
}

// Policies under SOFTWARE\Policies\Varnkit of either root set their options over every stored
// value, the machine's over the user's, as REG_SZ or REG_DWORD; they are never written, and
// neither is the option they set, whatever the session did to it.
TEST(OptionsStore, PoliciesOverrideTheStoredValuesAndAreNeverWritten) {
  constexpr char kPolicyFamily[] = "SOFTWARE\\Policies\\Varnkit",
                 kPolicyOptions[] = "SOFTWARE\\Policies\\Varnkit\\VKTL";
  const std::string dword2("\x02\0\0\0", 4);
  struct Policy {
    RegistryRoot root;
    uint32_t type;
    std::string bytes;
  };
  struct Case {
    const char* name;
    std::vector<Policy> policies;
    std::string loaded;
    bool enforced;
    bool machineWritable = true;
  };
  const Case cases[] = {
      {"TLDefFormat", {{kMachine, kRegDword, dword2}}, "2", true},
      {"TLDefFormat", {{kUser, kRegText, Sz("2")}}, "2", true, false},
      {"TLDefFormat", {{kUser, kRegText, Sz("2")}, {kMachine, kRegText, Sz("1")}}, "1", true},
      {"TLDefPrefix", {{kMachine, kRegText, Sz("P-")}}, "P-", true},
      {"TLDefPrefix", {{kMachine, kRegDword, dword2}}, "M", false},  // a DWORD text is no policy
      {"DataPath", {{kMachine, kRegExpandText, Sz("\\\\server\\cad\\")}}, "\\\\server\\cad\\", true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.name) + " " + std::to_string(c.policies.size()));
    const bool dataPath = std::string(c.name) == "DataPath";
    MemoryRegistry registry;
    Plant(registry, kMachine, "TLDefMode", "0");
    Plant(registry, kMachine, c.name, dataPath ? "M:\\" : "M");
    if (!c.machineWritable) registry.MarkNotWritable(kMachine, kFamily);
    for (const Policy& policy : c.policies) {
      registry.SetRawValue(policy.root, dataPath ? kPolicyFamily : kPolicyOptions, c.name, policy.type, policy.bytes);
    }
    const Stored machineBefore = Written(registry, kMachine);
    OptionsStore store(registry);
    StoredOptions members;
    store.Load(members);
    EXPECT_EQ(StoredMembers(members).at(c.name), c.loaded);
    EXPECT_EQ(members.Enforced.count(c.name), c.enforced ? 1u : 0u);
    members.TLDefFormat = 0;  // as a dialog could not: still not written
    members.TLDefPrefix = "Q-";
    members.DataPath = "U:\\";
    store.Save(members);
    // The option a policy sets keeps its stored value: the machine's as planted, none in a user's copy.
    if (c.enforced) {
      const Stored home = Written(registry, c.machineWritable ? kMachine : kUser);
      const auto stored = home.find(c.name);
      EXPECT_EQ(stored == home.end() ? std::string("(none)") : stored->second,
                c.machineWritable ? machineBefore.at(c.name) : std::string("(none)"));
    }
    for (const Policy& policy : c.policies) {
      uint32_t type = 0;
      std::string bytes;
      ASSERT_TRUE(registry.GetRawValue(policy.root, dataPath ? kPolicyFamily : kPolicyOptions, c.name, &type, &bytes));
      EXPECT_EQ(bytes, policy.bytes) << "a policy is never written";
    }
  }
}

TEST(OptionsStore, AValueTheLoadIgnoredStaysUnlessItsOptionChanged) {
  const std::string tooLong = "3" + std::string(1100, '0');
  const std::string longPath = "D:\\" + std::string(600, 'p');
  struct Case {
    const char* name;
    std::string stored;
    void (*change)(StoredOptions&);  // what the user changed during the run; null: nothing
    std::string written;
  };
  const Case cases[] = {
      {"DataPath", longPath, nullptr, longPath},
      {"DataPath", longPath, [](StoredOptions& m) { m.DataPath = "E:\\Mine\\"; }, "E:\\Mine\\"},
      {"TLDefFormat", tooLong, nullptr, tooLong},
      {"TLDefFormat", tooLong, [](StoredOptions& m) { m.TLDefFormat = 2; }, "2"},
      {"TLPickAutoAdd", tooLong, [](StoredOptions& m) { m.TLDefFormat = 2; }, tooLong},
      {"TLPickAutoAdd", tooLong, [](StoredOptions& m) { m.TLPickAutoAdd = false; }, "0"},
  };
  for (const RegistryRoot home : {kMachine, kUser}) {
    for (const Case& c : cases) {
      SCOPED_TRACE(std::string(c.name) + (c.change ? ", changed" : "") + (home == kUser ? ", per user" : ""));
      MemoryRegistry registry;
      Plant(registry, home, "TLDefMode", "0");  // the settings key of an earlier save
      Plant(registry, home, c.name, c.stored);
      if (home == kUser) registry.MarkNotWritable(kMachine, "SOFTWARE");
      OptionsStore store(registry);
      StoredOptions members;
      store.Load(members);
      EXPECT_EQ(StoredMembers(members), StoredMembers(StoredOptions{}));
      if (c.change) c.change(members);
      store.Save(members);
      EXPECT_EQ(Written(registry, home).at(c.name), Sz(c.written));
    }
  }
}

TEST(OptionsStore, EachKindTellsAMissingUserValueFromAnEmptyOneAndKeepsOneTooLong) {
  // One row of each kind; the data path's member holds the text, as StoredOptions' free text.
  constexpr StoredOption kRows[] = {
      NumberOption("Number", &StoredOptions::TLDefMode, 0, kLowestNumber, kHighestNumber),
      FlagOption("Flag", &StoredOptions::TLPickAutoAdd, true),
      TextOption("Text", &StoredOptions::DataPath, "", 8),
  };
  struct Case {
    size_t row;
    std::string machine;
    std::optional<std::string> user;  // none: the user's copy lacks the value
    std::string loaded;
  };
  const std::string overBuffer(kOptionsReadBufferBytes, '7');
  const Case cases[] = {
      {0, "5", std::nullopt, "5"},     {0, "5", "", "5"},  {0, "5", overBuffer, "5"},
      {1, "0", std::nullopt, "0"},     {1, "0", "", "0"},  {1, "0", overBuffer, "0"},
      {2, "abc", std::nullopt, "abc"}, {2, "abc", "", ""}, {2, "abc", "12345678", "12345678"},
      {2, "abc", "123456789", "abc"},
  };
  for (const Case& c : cases) {
    const StoredOption& option = kRows[c.row];
    SCOPED_TRACE(std::string(option.name) + " '" + c.user.value_or("(missing)").substr(0, 20) + "'");
    MemoryRegistry registry;
    registry.SetRawValue(kMachine, kOptionsKey, option.name, kRegText, Sz(c.machine));
    registry.MarkNotWritable(kMachine, "SOFTWARE");
    registry.SetRawValue(kUser, kOptionsKey, "Other", kRegText, Sz("1"));  // the user's key is there
    if (c.user) registry.SetRawValue(kUser, kOptionsKey, option.name, kRegText, Sz(*c.user));

    OptionsStore store(registry, StoredOptionRows{std::begin(kRows), std::end(kRows)});
    StoredOptions members;
    store.Load(members);
    EXPECT_EQ(TextOf(option, members), c.loaded);
    store.Save(members);
    // Nothing changed: the user's copy stays as it was, a missing value missing.
    uint32_t type = 0;
    std::string bytes;
    const bool there = registry.GetRawValue(kUser, kOptionsKey, option.name, &type, &bytes);
    EXPECT_EQ(there ? std::optional<std::string>(bytes) : std::nullopt,
              c.user ? std::optional<std::string>(Sz(*c.user)) : std::nullopt);
  }
}

// The prefix and suffix hold any character: they are kept in UTF-16, and their limit counts UTF-16
// units, as the dialog's edit box does, not bytes.
TEST(OptionsStore, TextsOfAnyCharacterAreKeptInUtf16) {
  const std::u16string sign = u"\u2300";
  const struct {
    std::u16string stored;
    bool taken;
  } cases[] = {
      {u"P-", true},
      {std::u16string(30, u'x') + sign, true},
      {std::u16string(31, u'x') + sign, false},
      {u"\U0001F4CF" + std::u16string(29, u'x'), true},  // a character of two units
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(Utf16ToUtf8(c.stored));
    MemoryRegistry registry;
    std::unique_ptr<RegistryKey> key;
    ASSERT_EQ(S_OK, registry.OpenKey(kMachine, kOptionsKey, RegistryAccess::ReadWrite, &key));
    ASSERT_EQ(S_OK, key->SetUtf16Text("TLDefSuffix", c.stored));
    OptionsStore store(registry);
    StoredOptions members;
    store.Load(members);
    EXPECT_EQ(c.taken ? Utf16ToUtf8(c.stored) : "", members.TLDefSuffix);
    members.TLDefPrefix = Utf16ToUtf8(c.stored);
    store.Save(members);
    std::u16string prefix, suffix;
    ASSERT_EQ(S_OK, key->QueryUtf16Text("TLDefPrefix", kOptionsReadBufferBytes, &prefix));
    ASSERT_EQ(S_OK, key->QueryUtf16Text("TLDefSuffix", kOptionsReadBufferBytes, &suffix));
    EXPECT_EQ(c.stored, prefix);
    EXPECT_EQ(c.stored, suffix) << "taken or kept as it stands";
  }
}

TEST(OptionsStore, DataPathAbsentBesideASettingsKeyKeepsTheDefault) {
  MemoryRegistry registry;
  Plant(registry, kMachine, "TLDefFormat", "2");
  Plant(registry, kMachine, "TLDefRenReset", "1");
  StoredOptions members;
  members.DataPath = "F:\\Kept\\";
  OptionsStore(registry).Load(members);
  EXPECT_EQ(members.DataPath, "F:\\Kept\\");
  EXPECT_EQ(members.TLDefFormat, 2);
  EXPECT_TRUE(members.TLDefRenReset);
}

TEST(OptionsStore, NothingIsReadOrWrittenWithoutTheSettingsKey) {
  // On both roots the family key holds a data path but cannot take the settings key below it.
  MemoryRegistry registry;
  for (RegistryRoot root : {kMachine, kUser}) {
    Plant(registry, root, "DataPath", "X:\\");
    registry.MarkNotWritable(root, kFamily);
  }
  OptionsStore store(registry);
  StoredOptions members;
  store.Load(members);
  EXPECT_EQ(StoredMembers(members), StoredMembers(StoredOptions{}));

  members.DataPath = "Y:\\";
  store.Save(members);
  for (RegistryRoot root : {kMachine, kUser}) {
    EXPECT_FALSE(registry.KeyExists(root, kOptionsKey));
    EXPECT_EQ(Written(registry, root), (Stored{{"DataPath", Sz("X:\\")}}));
  }
}

TEST(OptionsStore, WithoutWriteAccessMachineValuesApplyAndTheUsersWin) {
  MemoryRegistry registry;
  Plant(registry, kMachine, "DataPath", "M:\\Data\\");
  Plant(registry, kMachine, "TLDefMode", "5");
  Plant(registry, kMachine, "TLDefFormat", "1");
  Plant(registry, kMachine, "TLPickAutoAdd", "0");
  registry.MarkNotWritable(kMachine, "SOFTWARE");
  Plant(registry, kUser, "TLDefFormat", "2");
  Plant(registry, kUser, "TLPickAutoAdd", "");  // empty: the machine's value stays
  Plant(registry, kUser, "TLPickAutoPick", "0");
  const Stored machineBefore = Written(registry, kMachine);

  OptionsStore store(registry);
  StoredOptions members;
  store.Load(members);
  Stored expected = StoredMembers(StoredOptions{});
  expected["DataPath"] = "M:\\Data\\";
  expected["TLDefMode"] = "5";
  expected["TLDefFormat"] = "2";
  expected["TLPickAutoAdd"] = "0";
  expected["TLPickAutoPick"] = "0";
  EXPECT_EQ(StoredMembers(members), expected);
  EXPECT_EQ(store.Home(), kUser);

  members.TLDefRenObjects = 3;
  members.DataPath = "U:\\Mine\\";
  store.Save(members);
  // The user's copy takes what the user changed; the machine's values go on applying to the rest.
  EXPECT_EQ(Written(registry, kUser), AsWritten({{"DataPath", "U:\\Mine\\"},
                                                 {"TLDefFormat", "2"},
                                                 {"TLDefRenObjects", "3"},
                                                 {"TLPickAutoAdd", ""},
                                                 {"TLPickAutoPick", "0"}}));
  EXPECT_EQ(Written(registry, kMachine), machineBefore);

  StoredOptions reloaded;
  OptionsStore(registry).Load(reloaded);
  EXPECT_EQ(StoredMembers(reloaded), StoredMembers(members));
}

TEST(OptionsStore, MissingMachineKeysThatCannotBeCreatedLeaveItToTheUser) {
  MemoryRegistry registry;
  registry.MarkNotWritable(kMachine, "SOFTWARE");
  OptionsStore store(registry);
  StoredOptions members;
  store.Load(members);
  EXPECT_EQ(StoredMembers(members), StoredMembers(StoredOptions{}));
  EXPECT_FALSE(registry.KeyExists(kUser, kFamily));  // the load creates no per-user keys

  members.TLDefFormat = 2;
  store.Save(members);
  EXPECT_EQ(Written(registry, kUser), (Stored{{"TLDefFormat", Sz("2")}}));
  EXPECT_FALSE(registry.KeyExists(kMachine, kFamily));

  Plant(registry, kUser, "TLDefObjDSource", "4");
  StoredOptions reloaded;
  OptionsStore(registry).Load(reloaded);
  EXPECT_EQ(reloaded.TLDefFormat, 2);
  EXPECT_EQ(reloaded.TLDefObjDSource, 4);
}

TEST(OptionsStore, ASettingsKeyThatIsNotWritableSendsEverySaveToTheUser) {
  // The family key could be written, but the save does not write the data path there alone.
  MemoryRegistry registry;
  Plant(registry, kMachine, "DataPath", "M:\\");
  Plant(registry, kMachine, "TLDefMode", "6");
  registry.MarkNotWritable(kMachine, kOptionsKey);
  OptionsStore store(registry);
  StoredOptions members;
  store.Load(members);
  EXPECT_EQ(members.DataPath, "M:\\");
  EXPECT_EQ(members.TLDefMode, 6);

  members.DataPath = "U:\\";
  store.Save(members);
  EXPECT_EQ(Written(registry, kMachine), (Stored{{"DataPath", Sz("M:\\")}, {"TLDefMode", Sz("6")}}));
  EXPECT_EQ(Written(registry, kUser), (Stored{{"DataPath", Sz("U:\\")}}));
}

TEST(OptionsStore, WritableMachineKeysLeaveTheUsersAlone) {
  MemoryRegistry registry;
  Plant(registry, kUser, "DataPath", "U:\\");
  Plant(registry, kUser, "TLDefFormat", "2");
  OptionsStore store(registry);
  StoredOptions members;
  store.Load(members);
  EXPECT_EQ(StoredMembers(members), StoredMembers(StoredOptions{}));

  members.TLDefMode = 9;
  store.Save(members);
  EXPECT_EQ(Written(registry, kMachine), AsWritten(StoredMembers(members)));
  EXPECT_EQ(Written(registry, kUser), (Stored{{"DataPath", Sz("U:\\")}, {"TLDefFormat", Sz("2")}}));
}

TEST(OptionsStore, SaveChoosesItsRootAgain) {
  MemoryRegistry registry;
  OptionsStore store(registry);
  StoredOptions members;
  store.Load(members);
  ASSERT_EQ(store.Home(), kMachine);

  registry.MarkNotWritable(kMachine, "SOFTWARE");
  members.TLDefFormat = 2;
  store.Save(members);
  EXPECT_EQ(store.Home(), kUser);
  EXPECT_EQ(Written(registry, kUser), (Stored{{"TLDefFormat", Sz("2")}}));
  EXPECT_TRUE(Written(registry, kMachine).empty());
}

// Passes every call on and logs it; the SetText call numbered `failingWrite` fails instead.
class RecordingRegistry : public Registry {
 public:
  explicit RecordingRegistry(Registry& inner) : inner_(inner) {}

  HRESULT OpenKey(RegistryRoot root, const std::string& path, RegistryAccess access,
                  std::unique_ptr<RegistryKey>* key) override {
    const HRESULT hr = inner_.OpenKey(root, path, access, key);
    Wrap(std::string(root == kMachine ? "HKLM " : "HKCU ") + path, access, hr, key);
    return hr;
  }

  std::vector<std::string> log;
  int failingWrite = -1;

 private:
  class Key : public RegistryKey {
   public:
    Key(RecordingRegistry& owner, std::string name, std::unique_ptr<RegistryKey> inner)
        : owner_(owner), name_(std::move(name)), inner_(std::move(inner)) {}

    HRESULT OpenSubKey(const std::string& name, RegistryAccess access, std::unique_ptr<RegistryKey>* key) override {
      const HRESULT hr = inner_->OpenSubKey(name, access, key);
      owner_.Wrap(name_ + "\\" + name, access, hr, key);
      return hr;
    }
    HRESULT QueryValue(const std::string& name, size_t maxBytes, std::string* data, uint32_t* type) override {
      owner_.log.push_back("query " + name + " " + std::to_string(maxBytes));
      return inner_->QueryValue(name, maxBytes, data, type);
    }
    HRESULT SetText(const std::string& name, const std::string& text) override {
      owner_.log.push_back("set " + name_ + " " + name + "=" + text);
      if (owner_.writes++ == owner_.failingWrite) return E_ACCESSDENIED;
      return inner_->SetText(name, text);
    }
    // Texts of any character: logged as the 8-bit calls are, in UTF-8.
    HRESULT QueryUtf16Text(const std::string& name, size_t maxBytes, std::u16string* text, uint32_t* type) override {
      owner_.log.push_back("query " + name + " " + std::to_string(maxBytes));
      return inner_->QueryUtf16Text(name, maxBytes, text, type);
    }
    HRESULT SetUtf16Text(const std::string& name, const std::u16string& text) override {
      owner_.log.push_back("set " + name_ + " " + name + "=" + Utf16ToUtf8(text));
      if (owner_.writes++ == owner_.failingWrite) return E_ACCESSDENIED;
      return inner_->SetUtf16Text(name, text);
    }

   private:
    RecordingRegistry& owner_;
    std::string name_;
    std::unique_ptr<RegistryKey> inner_;
  };

  void Wrap(const std::string& name, RegistryAccess access, HRESULT hr, std::unique_ptr<RegistryKey>* key) {
    log.push_back("open " + name + (access == RegistryAccess::ReadWrite ? " rw" : " ro") +
                  (SUCCEEDED(hr) ? "" : " failed"));
    if (SUCCEEDED(hr)) *key = std::make_unique<Key>(*this, name, std::move(*key));
  }

  Registry& inner_;
  int writes = 0;
};

std::vector<std::string> Queries() {
  std::vector<std::string> queries = {"query DataPath 1024"};
  for (const DocumentedOption& option : kDocumentedOptions) {
    queries.push_back(std::string("query ") + option.name + " 1024");
  }
  return queries;
}

TEST(OptionsStore, ReadsThroughTheWritableKeysInOrder) {
  MemoryRegistry memory;
  RecordingRegistry registry(memory);
  StoredOptions members;
  OptionsStore(registry).Load(members);
  std::vector<std::string> expected = {"open HKLM SOFTWARE\\Varnkit rw", "open HKLM SOFTWARE\\Varnkit\\VKTL rw"};
  for (const std::string& query : Queries()) expected.push_back(query);
  const std::vector<std::string> policies = {"open HKCU SOFTWARE\\Policies\\Varnkit ro failed",
                                             "open HKLM SOFTWARE\\Policies\\Varnkit ro failed"};
  expected.insert(expected.end(), policies.begin(), policies.end());
  EXPECT_EQ(registry.log, expected);

  memory.MarkNotWritable(kMachine, "SOFTWARE");
  registry.log.clear();
  OptionsStore(registry).Load(members);
  expected = {"open HKLM SOFTWARE\\Varnkit rw failed", "open HKLM SOFTWARE\\Varnkit ro",
              "open HKLM SOFTWARE\\Varnkit\\VKTL ro"};
  for (const std::string& query : Queries()) expected.push_back(query);
  expected.push_back("open HKCU SOFTWARE\\Varnkit ro failed");
  expected.insert(expected.end(), policies.begin(), policies.end());
  EXPECT_EQ(registry.log, expected);
}

TEST(OptionsStore, WritesEveryValueInOrderWhateverEachWriteGives) {
  MemoryRegistry memory;
  RecordingRegistry registry(memory);
  registry.failingWrite = 0;
  StoredOptions members;
  members.TLDefFormat = -1;
  OptionsStore(registry).Save(members);
  std::vector<std::string> expected = {"open HKLM SOFTWARE\\Varnkit rw", "open HKLM SOFTWARE\\Varnkit\\VKTL rw"};
  for (const DocumentedOption& option : kDocumentedOptions) {
    const std::string text = std::string(option.name) == "TLDefFormat" ? "-1" : option.defaultText;
    expected.push_back(std::string("set HKLM SOFTWARE\\Varnkit\\VKTL ") + option.name + "=" + text);
  }
  expected.push_back("set HKLM SOFTWARE\\Varnkit DataPath=" + std::string(kDefaultPath));
  EXPECT_EQ(registry.log, expected);
  Stored written = AsWritten(StoredMembers(members));
  written.erase(kDocumentedOptions[0].name);  // the first write failed
  EXPECT_EQ(Written(memory, kMachine), written);
}

}  // namespace
