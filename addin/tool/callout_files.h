// The Renumber tool's files: the parts list it checks the selected callouts against, and the
// callout table it exports. Paths are UTF-8 as the user typed or chose them; the file port takes
// them in the ANSI code page, with %VARIABLE%s expanded and UNC names as they are.
#pragma once

#include <optional>
#include <string>

#include "framework/code_page.h"
#include "framework/dialog.h"
#include "framework/files.h"
#include "parts_list/parts_list.h"

// The parts list of `path` read in the Number tool's format and style; or, in `*problem`, one line
// that names the file and why it could not be read.
std::optional<PartsList> LoadPartsList(FileSystem& files, const CodePage& codePage, const std::string& path,
                                       int32_t format, const LabelStyle& style, std::string* problem);

// Asks for a file in the common Save dialog (callouts.csv to start with) and writes `table` there;
// a write that fails is told in a message box. Cancel writes nothing.
void SaveCalloutTable(FileSystem& files, const CodePage& codePage, DialogRunner& runner, const std::string& table);
