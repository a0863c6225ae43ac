// The picklist file TLeaders.txt in the data folder: read once when the tool object starts and
// written back when it ends. The file holds the picklist's records in the ANSI code page followed
// by one zero byte. Nothing here reports to the user or the host; a file that cannot be read or
// written leaves the add-in working on the list in memory.
#pragma once

#include <string>
#include <string_view>

#include "framework/code_page.h"
#include "framework/files.h"

inline constexpr char kPickListFileName[] = "TLeaders.txt";

// The picklist file of the data folder `dataPath`, creating the folders on the way below the
// first one (failures ignored). Empty backslash-separated pieces are dropped, so a final or
// doubled backslash changes nothing and a leading one makes the path relative. Empty when
// `dataPath` names no folder at all (empty, or only backslashes). May throw std::bad_alloc.
std::string PickListFilePath(FileSystem& files, std::string_view dataPath);

class PickListStore {
 public:
  PickListStore(FileSystem& files, const CodePage& codePage);

  // The picklist text of the file in the data folder `dataPath`: its text up to the first zero
  // byte; empty when there is no file (an empty file is created then) or it cannot be read.
  std::u16string Load(std::string_view dataPath);

  // Writes `text` and one zero byte to the file in the data folder `dataPath`, through a
  // temporary file, so a failed write keeps the old file. A file that the last Load found but
  // could not read is left alone: its list was never shown and would be lost.
  void Save(std::string_view dataPath, std::u16string_view text);

  // True when the last Load found a file it could not read.
  bool LoadFailed() const { return loadFailed_; }

 private:
  bool IsProtected(const std::string& path) const;

  FileSystem& files_;
  const CodePage& codePage_;
  bool loadFailed_ = false;
  std::string failedPath_;  // the file of the failed load; empty when it is not known
};
