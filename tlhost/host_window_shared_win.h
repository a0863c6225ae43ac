// What the parts of the reference host's window share: the command ids of the local menu's
// entries and the texts the transcript is written with.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "simhost/sim_host.h"
#include "tlhost/drawing_scene.h"

constexpr int kLocalMenuBase = 2000;  // the local menu's entries, by their index

inline std::string Quoted(const std::u16string& text) {
  return "\"" + Utf16ToUtf8(text) + "\"";
}

// A menu path's parts: "Insert|Tallyline B&y|Number" has three.
inline std::vector<std::wstring> SplitPath(const std::wstring& path) {
  std::vector<std::wstring> parts;
  size_t start = 0;
  for (size_t bar; (bar = path.find(L'|', start)) != std::wstring::npos; start = bar + 1) {
    parts.push_back(path.substr(start, bar - start));
  }
  parts.push_back(path.substr(start));
  return parts;
}

inline const char* CommandName(int32_t command) {
  switch (command) {
    case kSimCommandLeader:
      return "Leader";
    case kSimCommandSelect:
      return "Select";
    case 0:
      return "none";
    default:
      return "other";
  }
}
