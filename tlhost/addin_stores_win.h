// The machine as the add-in finds it: its settings in the registry and its picklist file. A
// script prepares them before it loads the add-in and shows them after it unloads it, as a user
// would look at the registry editor and the data folder. Texts come and go in UTF-8; the registry
// values hold them in the process's ANSI code page, the picklist file in that code page or in
// UTF-8 after its byte order mark, as the add-in stores them.
#pragma once

#include <string>
#include <vector>

// HKLM\SOFTWARE\Varnkit: DataPath there, every other name in its subkey VKTL; text values. False
// with `problem` for a text the ANSI code page cannot hold, which is never stored as "?".
bool WriteSetting(const std::string& name, const std::string& value, std::string* problem);
// Removes the add-in's keys under HKEY_LOCAL_MACHINE and HKEY_CURRENT_USER.
void ForgetSettings();
// Writes the picklist file of the data folder with these items, as the add-in writes it: in the
// ANSI code page, or in UTF-8 after its byte order mark when the code page lacks a character.
bool WritePickList(const std::vector<std::string>& items, std::string* problem);
// A value as the add-in reads it, however long: from HKEY_LOCAL_MACHINE where the add-in may
// write there, otherwise from the user's copy under HKEY_CURRENT_USER where it holds a value the
// add-in takes, and from the machine's otherwise; false when there is none.
bool ReadSetting(const std::string& name, std::string* value);
// The items of the picklist file in file order, as the add-in reads them; false when there is
// no file.
bool ReadPickList(std::vector<std::string>* items);
// The settings and the picklist file as lines for the transcript. A setting the add-in takes from
// the user's copy is marked "(HKCU)"; the others come from HKEY_LOCAL_MACHINE.
std::vector<std::string> DescribeSettings();
std::vector<std::string> DescribePickList();
// Creates each missing folder of the path in turn, as the add-in does before it writes.
void CreateFolders(const std::wstring& path);
