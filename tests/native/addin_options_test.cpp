// The reference host's reading of the add-in's settings: each value and the root it comes from,
// as the add-in reads them, against the in-memory registry.
#include "tlhost/addin_options.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "testing/memory_registry.h"
#include "options_key.h"

// Named, not anonymous: its helpers share names with the settings store's tests, and a unity
// batch may hold both files.
namespace addin_options_test {

constexpr RegistryRoot kMachine = RegistryRoot::LocalMachine;
constexpr RegistryRoot kUser = RegistryRoot::CurrentUser;
constexpr char kFamily[] = "SOFTWARE\\Varnkit";

void Plant(MemoryRegistry& registry, RegistryRoot root, const std::string& name, const std::string& text) {
  registry.SetRawValue(root, name == "DataPath" ? kFamily : kOptionsKey, name, kRegText, text + '\0');
}

TEST(AddinOptions, EachValueComesFromTheRootTheAddinTakesItFrom) {
  struct Case {
    const char* what;
    bool machineWritable;
    const char* name;
    std::optional<std::string> machine, user;  // none: the value is missing there
    std::optional<std::string> shown;
    RegistryRoot root;
  };
  const Case cases[] = {
      {"a writable machine decides alone", true, "TLDefFormat", "1", "2", "1", kMachine},
      {"the user's value wins", false, "TLDefFormat", "1", "2", "2", kUser},
      {"a missing user value leaves the machine's", false, "TLDefFormat", "1", std::nullopt, "1", kMachine},
      {"an empty number is not taken", false, "TLPickAutoAdd", "0", "", "0", kMachine},
      {"an empty data path is not taken", false, "DataPath", "M:\\", "", "M:\\", kMachine},
      {"a data path too long is not taken", false, "DataPath", "M:\\", std::string(512, 'p'), "M:\\", kMachine},
      {"nothing anywhere", false, "TLDefMode", std::nullopt, std::nullopt, std::nullopt, kMachine},
      {"a name the add-in does not know is shown as it is", false, "Other", std::nullopt, "", "", kUser},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    MemoryRegistry registry;
    Plant(registry, kMachine, "TLDefRenReset", "0");  // both roots hold their keys
    Plant(registry, kUser, "TLDefRenReset", "0");
    if (c.machine) Plant(registry, kMachine, c.name, *c.machine);
    if (c.user) Plant(registry, kUser, c.name, *c.user);
    if (!c.machineWritable) registry.MarkNotWritable(kMachine, "SOFTWARE");
    const AddinSetting setting = ReadAddinSetting(registry, c.name);
    EXPECT_EQ(setting.ansi, c.shown);
    EXPECT_EQ(setting.root, c.root);
  }
}

TEST(AddinOptions, TheDataPathNeedsTheSettingsKeyWhereTheAddinCannotCreateIt) {
  for (const bool machineWritable : {true, false}) {
    SCOPED_TRACE(machineWritable ? "machine writable" : "machine read-only");
    MemoryRegistry registry;
    Plant(registry, kMachine, "DataPath", "M:\\Data\\");  // no settings key below it
    if (!machineWritable) registry.MarkNotWritable(kMachine, "SOFTWARE");
    EXPECT_EQ(AddinDataPath(registry), machineWritable ? "M:\\Data\\" : "C:\\Program Files\\DEVO\\Varnkit\\Data\\");
    EXPECT_FALSE(registry.KeyExists(kMachine, kOptionsKey)) << "looking creates no key";
  }
}

}  // namespace addin_options_test
