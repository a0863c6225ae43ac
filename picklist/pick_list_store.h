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
// first one (failures ignored). The path is split at backslashes that are whole characters of
// the code page (on a double-byte page the second byte of a character may be 0x5C). Empty
// pieces are dropped, so a final or doubled backslash changes nothing and a leading one makes
// the path relative. Empty when `dataPath` names no folder at all (empty, or only backslashes).
// May throw std::bad_alloc.
std::string PickListFilePath(FileSystem& files, const CodePage& codePage, std::string_view dataPath);

class PickListStore {
 public:
  PickListStore(FileSystem& files, const CodePage& codePage);

  // The picklist text of the file in the data folder `dataPath`: its text up to the first zero
  // byte. A missing file is created empty and gives the empty text. A file that cannot be read,
  // or a missing one that cannot be created (its drive is not there), gives the empty text too
  // and makes a failed load.
  std::u16string Load(std::string_view dataPath);

  // Writes `text` and one zero byte to the file in the data folder `dataPath`, through a
  // temporary file, so a failed write keeps the old file.
  //  - A text equal to what the last Load gave from that file goes back as the very bytes that
  //    Load took, whether or not the code page converts them back unchanged.
  //  - After a failed Load of that file its list was never taken in: the text is written only
  //    where no file exists at that moment, so the list in memory (the user's edits included)
  //    is dropped whenever writing it would replace a file.
  void Save(std::string_view dataPath, std::u16string_view text);

  // True when the last Load could neither read its file nor create it.
  bool LoadFailed() const { return loadFailed_; }

 private:
  FileSystem& files_;
  const CodePage& codePage_;
  bool loadFailed_ = false;
  std::string loadedPath_;   // the file of the last Load; empty when it named none or is not known
  std::string loadedBytes_;  // what the last Load took from it: the bytes before the first zero
};
