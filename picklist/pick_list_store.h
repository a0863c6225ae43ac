// The picklist file TLeaders.txt in the data folder: read once when the tool object starts and
// written back when it ends. The file holds the picklist's records followed by one zero byte, in
// the ANSI code page or, when it starts with the UTF-8 byte order mark, in UTF-8. Nothing here reports to the user or
// the host; a file that cannot be read or written leaves the add-in working on the list in memory.
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
  // byte, from UTF-8 when it starts with the byte order mark (which stays, as U+FEFF, at the start
  // of the text) and from the ANSI code page otherwise. A missing file is created empty and gives the empty text. A
  // file that cannot be read, or a missing one that cannot be created (its drive is not there), gives the empty text
  // too and makes a failed load.
  std::u16string Load(std::string_view dataPath);

  // Writes `text` and one zero byte to the file in the data folder `dataPath`, through a
  // temporary file, so a failed write keeps the old file. A text that starts with U+FEFF, or
  // that holds a character the ANSI code page lacks, is written in UTF-8 with the mark first;
  // any other in the ANSI code page.
  //  - A text equal to what the last Load gave from that file goes back as the very bytes that
  //    Load took, whether or not the code page converts them back unchanged. In a changed text,
  //    each item equal to one that Load took from that file, in the same encoding, keeps its
  //    bytes too.
  //  - After a failed Load of that file its list was never taken in: the text is written only
  //    where no file exists at that moment, so the list in memory (the user's edits included)
  //    is dropped whenever writing it would replace a file.
  void Save(std::string_view dataPath, std::u16string_view text);

  // True when the last Load could neither read its file nor create it.
  bool LoadFailed() const { return loadFailed_; }

 private:
  // The file form of `text`; `otherFile`: not the file of the last Load, whose items count not.
  std::string FileBytes(std::u16string_view text, bool otherFile) const;

  FileSystem& files_;
  const CodePage& codePage_;
  bool loadFailed_ = false;
  bool loadedUtf8_ = false;  // the last Load read UTF-8
  std::string loadedPath_;   // the file of the last Load; empty when it named none or is not known
  std::string loadedBytes_;  // what the last Load took from it: the bytes before the first zero
};
