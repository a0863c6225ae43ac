// The add-in's options as the add-in itself reads them, and the root each is taken from: the
// reference host prepares, shows and checks them through this, over the registry port.
#pragma once

#include <optional>
#include <string>

#include "framework/registry.h"

struct AddinSetting {
  std::optional<std::string> ansi;  // the stored bytes up to the first NUL; none: no root holds it
  RegistryRoot root = RegistryRoot::LocalMachine;
};

// The value `name` (DataPath, or any name in the options' key) as the add-in finds it, however
// long: from HKEY_LOCAL_MACHINE where the add-in may write there; otherwise from the user's copy
// under HKEY_CURRENT_USER where it holds a value the add-in takes (a stored option by its kind,
// a data path that names a folder of the add-in's length), and from the machine's where not.
// Looking creates no key.
AddinSetting ReadAddinSetting(Registry& registry, const std::string& name);

// The data folder the add-in keeps its picklist in: the stored one it takes, or its default.
std::string AddinDataPath(Registry& registry);
