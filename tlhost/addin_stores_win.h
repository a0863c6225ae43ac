// The machine as the add-in finds it: its settings in the registry and its picklist file. A
// script prepares them before it loads the add-in and shows them after it unloads it, as a user
// would look at the registry editor and the data folder.
#pragma once

#include <string>
#include <vector>

// HKLM\SOFTWARE\Varnkit: DataPath there, every other name in its subkey VKTL; text values.
bool WriteSetting(const std::string& name, const std::string& value);
// Removes the add-in's keys under HKEY_LOCAL_MACHINE and HKEY_CURRENT_USER.
void ForgetSettings();
// Writes the picklist file of the data folder with these items, as the add-in writes it.
bool WritePickList(const std::vector<std::string>& items);
// A value as the add-in left it; false when there is none.
bool ReadSetting(const std::string& name, std::string* value);
// The items of the picklist file in file order; false when there is no file.
bool ReadPickList(std::vector<std::string>* items);
// The settings and the picklist file as lines for the transcript.
std::vector<std::string> DescribeSettings();
std::vector<std::string> DescribePickList();
