#include "tlhost/host_arguments.h"

bool ReadHostArguments(const std::vector<std::wstring>& args, HostArguments* read) {
  std::wstring* const values[] = {&read->script, &read->outFolder, &read->report};
  const wchar_t* const names[] = {L"--script", L"--out", L"--report"};
  bool seen[3] = {};
  for (size_t i = 0; i < args.size(); i += 2) {
    size_t which = 0;
    while (which < 3 && args[i] != names[which]) ++which;
    if (which == 3 || seen[which] || i + 1 >= args.size() || args[i + 1].empty()) return false;
    seen[which] = true;
    *values[which] = args[i + 1];
  }
  return seen[0] || (!seen[1] && !seen[2]);
}
