// The picklist file TLeaders.txt in the data folder, which several add-ins (several hosts, on one
// machine or many) may share: read when the tool object starts, written whenever the user
// confirms a change, and merged with what the others saved meanwhile. The file holds the
// picklist's records followed by one zero byte, in the ANSI code page or, when it starts with the
// UTF-8 byte order mark, in UTF-8; a UTF-16 file is read too. Nothing here speaks to the user or
// the host: a save says what kept it from the file, and the caller tells the user. A file that
// cannot be read or written leaves the add-in working on the list in memory.
#pragma once

#include <string>
#include <string_view>

#include "framework/code_page.h"
#include "framework/files.h"
#include "pick_list/pick_list_merge.h"
#include "pick_list/pick_list_problems.h"

inline constexpr char kPickListFileName[] = "TLeaders.txt";
// Beside the file: the lock that saves take in turn.
inline constexpr char kPickListLockSuffix[] = ".tl-lock";

// The picklist file of the data folder `storedPath`, creating the folders on the way below its
// root (failures ignored). %NAME%s of the environment are expanded first. The root is a drive
// ("C:\\..."), a share ("\\\\server\\share\\..."), either of those after the long-path prefix
// ("\\\\?\\C:\\...", "\\\\?\\UNC\\server\\share\\..."), or the first folder of a relative path; no
// folder is created for it. The path is split at backslashes that are whole characters of the
// code page (on a double-byte page the second byte of a character may be 0x5C). Empty pieces are
// dropped, so a final or doubled backslash changes nothing. Empty when `storedPath` names no
// folder at all (empty, only backslashes, a server without a share). May throw std::bad_alloc.
std::string PickListFilePath(FileSystem& files, const CodePage& codePage, std::string_view storedPath);

// How long a save waits for another add-in's save to end before it gives up.
inline constexpr uint32_t kPickListLockTimeoutMs = 5000;

// The kinds of file the store reads; it writes the first two.
enum class PickListFileKind { Ansi, Utf8, Utf16 };

class PickListStore {
 public:
  // `order`: how the pick dialog sorts, which a merged list follows.
  PickListStore(FileSystem& files, const CodePage& codePage, ListOrder order = PlainListOrder);

  // The picklist text of the file in the data folder `dataPath`: all of it, but for one final
  // zero byte (a zero byte inside it ends nothing). From UTF-8 when it starts with the byte order
  // mark (which stays, as U+FEFF, at the start of the text), from UTF-16 when it starts with that
  // mark or plainly is UTF-16 (its records' tags in UTF-16; U+FEFF first again), and from the ANSI
  // code page otherwise. A missing file is created empty and gives the empty text. A file that
  // cannot be read, or a missing one that cannot be created (its drive is not there), gives the
  // empty text too and makes a failed load.
  std::u16string Load(std::string_view dataPath);

  // Saves the changes of `*text` to the file in the data folder `dataPath`; afterwards `*text`
  // holds the list as the file does. A text whose items are those of the file as this store last
  // read or wrote it is not written at all. Otherwise the save takes the lock beside the file,
  // reads the file again and, where another add-in changed it since, merges (pick_list_merge.h)
  // and sorts the result as the pick dialog does; then writes through a temporary file, so a
  // failed write keeps the old file. A text that starts with U+FEFF, or that holds a character
  // the ANSI code page lacks, is written in UTF-8 with the mark first; any other in the ANSI code
  // page. Each item equal to one of the file, in the same encoding, keeps its bytes.
  //  - A file that no save and no editor leaves behind (only zero bytes, cut off inside a record,
  //    emptied to no bytes where the list held items) is damage: the merge takes none of its
  //    removals, and a copy of it stays beside it as "TLeaders (damaged, <computer> <time>).txt".
  //  - When the lock is not had within the lock timeout, or the file cannot be read or written,
  //    nothing is written and `*text` stays as it is, for the next save; the result says why.
  //    After one wait in vain, saves try the lock at once until they find it free. When
  //    `closing` (no next save will come), the list goes beside the file instead, as "TLeaders
  //    (not merged, <computer> <time>).txt", or into the user's own folder where the data folder
  //    takes no file; such a file never replaces another.
  //  - After a failed Load the file's list was never taken in: the save merges with the file as
  //    it is now (as if nothing had been removed from it), or writes the list where no file is.
  //  - A data folder other than that of the last Load gets the text as it is.
  PickListProblem Save(std::string_view dataPath, std::u16string* text, bool closing);

  // Takes into `*text` what others saved in the file since this store last read or wrote it, by
  // the same merge, when the file's size or last-write time says that it changed; after a failed
  // load, the file's whole list as soon as it can be read. True when `*text` changed. Nothing
  // happens for a file that cannot be read.
  bool TakeOthersChanges(std::string_view dataPath, std::u16string* text);

  // True while the list of the file of the last Load has not been read: the load failed and no
  // look since could read it.
  bool LoadFailed() const { return loadFailed_; }
  // The data folder of the last Load as the user knows it: without the file name and the final
  // backslash ("\\server\\cad\\Tallyline").
  std::string DataFolder() const;
  // True the first time in this store's life that `problem` is asked about: the user is told of
  // each problem once.
  bool FirstTimeFor(PickListProblem problem);
  void SetLockTimeout(uint32_t milliseconds) { lockTimeoutMs_ = milliseconds; }

 private:
  // The file now, read again under the lock: false, and the problem, when it cannot be had.
  PickListProblem LockAndRead(std::unique_ptr<FileLock>* lock, std::string* bytes, bool* missing);
  // Merges `*text` with the file's `now` and writes the result; its problem when that fails.
  PickListProblem MergeAndWrite(std::u16string* text, const std::string& now, bool missing, bool closing);
  // Keeps a copy of a damaged file, beside it or in the user's folder.
  void KeepDamagedCopy(std::string_view bytes);
  // Writes `bytes` as a new file "<stem> (<what>, <computer> <time>[ n]).txt" beside `listPath`,
  // else in the user's folder. False when neither could take it.
  bool WriteSideFile(const std::string& listPath, const char* what, std::string_view bytes);
  // The change that could not be saved: into a side file when `closing`; the problem passes through.
  PickListProblem Keep(const std::string& listPath, std::u16string_view text, PickListProblem problem, bool closing);
  std::string Utf8Path(const std::string& path) const;

  // The file form of `text`; items found in `keptFrom` (file bytes of kind `keptKind`) keep their bytes.
  std::string FileBytes(std::u16string_view text, std::string_view keptFrom, PickListFileKind keptKind) const;
  // The list of `ours` merged with the file's `bytes`, when they differ from what the store knows.
  // Without `takeRemovals` (a damaged file) nothing the base held is lost.
  std::u16string MergedWith(std::u16string_view ours, std::string_view bytes, bool takeRemovals) const;
  // Remembers `bytes` as the file's content, as read or written.
  void TakeAsBase(std::string bytes);

  FileSystem& files_;
  const CodePage& codePage_;
  ListOrder order_;
  uint32_t lockTimeoutMs_ = kPickListLockTimeoutMs;
  bool loadFailed_ = false;
  bool lockStuck_ = false;  // the last wait for the lock was in vain
  bool told_[kPickListProblemKinds] = {};
  std::string loadedPath_;      // the file of the last Load; empty when it named none or is not known
  std::string loadedDataPath_;  // the data folder it was asked for
  std::string savedPath_;       // the file of the last Save
  // The file as this store last read or wrote it: all its bytes, their kind, their text, its stamp.
  std::string baseBytes_;
  PickListFileKind baseKind_ = PickListFileKind::Ansi;
  std::u16string baseText_;
  FileStamp baseStamp_;
  bool baseStamped_ = false;
};

// The text of a picklist file's bytes (the final zero byte is no part of them) and their kind.
std::u16string PickListFileText(const CodePage& codePage, std::string_view bytes, PickListFileKind* kind);

// Whether a picklist file's bytes (and their text) are damage that neither a save nor an editor
// leaves behind: two or more zero bytes and nothing else, a run of zero characters, a record cut
// off before its closing tag, or no bytes at all where the list held items (`listHadItems`). One
// zero byte is the empty list as a save writes it.
bool PickListFileLooksDamaged(std::string_view bytes, std::u16string_view text, bool listHadItems);
