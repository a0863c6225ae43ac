// tlhost.exe's command line: `[--script FILE [--out FOLDER] [--report FILE.xml]]`. Each option
// comes once and with a value, and --out and --report only with a script: a command line that
// means anything else is refused rather than half obeyed (the window opening instead of a run).
#pragma once

#include <string>
#include <vector>

struct HostArguments {
  std::wstring script;
  std::wstring outFolder;
  std::wstring report;
};

constexpr char kHostUsage[] = "usage: tlhost.exe [--script FILE [--out FOLDER] [--report FILE.xml]]";

// The options of the arguments after the program's name; false for a command line of another form.
bool ReadHostArguments(const std::vector<std::wstring>& args, HostArguments* read);
