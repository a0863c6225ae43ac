// Loading and saving the picklist file, and the data folder it lives in. The store remembers the
// file as it last read or wrote it: a list nobody changed is not written, each item nobody
// changed keeps its bytes (a double-byte page does not give every byte sequence back unchanged,
// nor does UTF-8 a broken sequence), what others saved since is merged, and a file whose list was
// never taken in is not written over.
#include "pick_list/pick_list_store.h"

#include <algorithm>
#include <deque>
#include <map>
#include <utility>
#include <vector>

#include "framework/failure_trace.h"
#include "framework/sorted_list_order.h"
#include "framework/utf8.h"
#include "pick_list/pick_list_records.h"

namespace {

bool IsMissingFile(HRESULT hr) {
  return hr == HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND) || hr == HRESULT_FROM_WIN32(ERROR_PATH_NOT_FOUND);
}

// Windows names files without regard to case; folding ASCII only may call two different files
// the same, which errs towards not writing.
bool SameFileName(std::string_view a, std::string_view b) {
  return CompareIgnoringAsciiCase(a, b) == 0;
}

bool IsMarked(std::string_view bytes) {
  return bytes.substr(0, kUtf8Mark.size()) == kUtf8Mark;
}

// The text without its zero characters: the file ends with a zero byte, and a reader that takes
// it to end there would lose what follows one.
std::u16string WithoutZeros(std::u16string_view text) {
  std::u16string kept(text);
  kept.erase(std::remove(kept.begin(), kept.end(), u'\0'), kept.end());
  return kept;
}

// The file's bytes without the one zero byte that ends a file the add-in wrote.
std::string_view WithoutFinalZero(std::string_view bytes) {
  return !bytes.empty() && bytes.back() == '\0' ? bytes.substr(0, bytes.size() - 1) : bytes;
}

constexpr std::string_view kUtf16LittleMark = "\xFF\xFE";
constexpr std::string_view kUtf16BigMark = "\xFE\xFF";
// The opening tag in UTF-16 (little-endian; big-endian from the byte after).
constexpr std::string_view kUtf16OpenTag("<\0T\0L\0T\0>\0<\0N\0A\0M\0E\0>\0", 22);

// Whether bytes without a mark plainly are UTF-16: a record's opening tag stands there in
// UTF-16, at a whole unit, and nowhere in 8 bits. Gives whether it is big-endian.
bool PlainlyUtf16(std::string_view bytes, bool* bigEndian) {
  if (bytes.find(kRecordOpenTag) != std::string_view::npos) return false;
  for (size_t at = bytes.find(kUtf16OpenTag); at != std::string_view::npos; at = bytes.find(kUtf16OpenTag, at + 1)) {
    // "<\0" at an even place is little-endian; "\0<" (the tag one byte on) is big-endian.
    if (at % 2 == 0 || (at % 2 == 1 && bytes[at - 1] == '\0')) {
      *bigEndian = at % 2 == 1;
      return true;
    }
  }
  return false;
}

std::u16string FromUtf16(std::string_view bytes, bool bigEndian) {
  // The list is Unicode: it is kept, and saved, in UTF-8, which the mark first says.
  return std::u16string(1, kByteOrderMark) + Utf16FromBytes(bytes, bigEndian);
}

std::vector<std::u16string_view> ItemsOf(std::u16string_view text) {
  return FindRecordItems(text);
}

// How the list's text becomes file bytes and back, in one of the file's two encodings.
class FileEncoding {
 public:
  FileEncoding(const CodePage& codePage, bool utf8) : codePage_(codePage), utf8_(utf8) {}
  std::u16string Decode(std::string_view bytes) const { return utf8_ ? Utf8ToUtf16(bytes) : codePage_.ToUtf16(bytes); }
  std::string Encode(std::u16string_view text) const { return utf8_ ? Utf16ToUtf8(text) : codePage_.ToAnsi(text); }
  std::vector<std::string_view> Items(std::string_view bytes) const {
    return utf8_ ? FindRecordItems(bytes) : FindPickListItems(codePage_, bytes);
  }

 private:
  const CodePage& codePage_;
  bool utf8_;
};

// The loaded items whose bytes their text does not encode back to, by that text, in file order.
using KeptItems = std::map<std::u16string, std::deque<std::string_view>, std::less<>>;

KeptItems ItemsLostInDecoding(const FileEncoding& encoding, std::string_view loadedBytes) {
  KeptItems kept;
  for (const std::string_view item : encoding.Items(loadedBytes)) {
    std::u16string text = encoding.Decode(item);
    if (encoding.Encode(text) != item) kept[std::move(text)].push_back(item);
  }
  return kept;
}

// The file bytes of `text`: its records found in the UTF-16 text (where the file's rules hold
// for both encodings), each item that a load kept written as the bytes it came from.
std::string EncodeKeeping(const FileEncoding& encoding, std::u16string_view text, KeptItems& kept) {
  std::string bytes;
  size_t done = 0;
  for (const std::u16string_view item : FindRecordItems(text)) {
    const auto found = kept.find(item);
    if (found == kept.end() || found->second.empty()) continue;
    const size_t start = static_cast<size_t>(item.data() - text.data());
    bytes += encoding.Encode(text.substr(done, start - done));
    bytes += found->second.front();
    found->second.pop_front();
    done = start + item.size();
  }
  bytes += encoding.Encode(text.substr(done));
  return bytes;
}

}  // namespace

std::u16string PickListFileText(const CodePage& codePage, std::string_view bytes, PickListFileKind* kind) {
  bool bigEndian = false;
  if (bytes.substr(0, 2) == kUtf16LittleMark || bytes.substr(0, 2) == kUtf16BigMark) {
    *kind = PickListFileKind::Utf16;
    return FromUtf16(bytes.substr(2), bytes[0] == kUtf16BigMark[0]);
  }
  if (PlainlyUtf16(bytes, &bigEndian)) {
    *kind = PickListFileKind::Utf16;
    return FromUtf16(bytes, bigEndian);
  }
  bytes = WithoutFinalZero(bytes);
  // The mark decodes to U+FEFF, which keeps the list in UTF-8.
  *kind = IsMarked(bytes) ? PickListFileKind::Utf8 : PickListFileKind::Ansi;
  return FileEncoding(codePage, *kind == PickListFileKind::Utf8).Decode(bytes);
}

namespace {

bool StartsWith(std::string_view text, std::string_view start, bool ignoreCase = false) {
  if (text.size() < start.size()) return false;
  return ignoreCase ? CompareIgnoringAsciiCase(text.substr(0, start.size()), start) == 0
                    : text.substr(0, start.size()) == start;
}

// How many leading pieces of the path name the place that holds its folders, which no one creates:
// the share of "\\server\share\..." and of "\\?\UNC\server\share\...", the drive of "\\?\C:\..."
// and of "C:\...", or the first folder of a relative path. Zero for a path that names no such place.
size_t RootPieces(std::string_view path, size_t pieces) {
  size_t root = 1;
  if (StartsWith(path, "\\\\?\\UNC\\", true)) {
    root = 4;  // ?, UNC, server, share
  } else if (StartsWith(path, "\\\\?\\")) {
    root = 2;  // ?, drive
  } else if (StartsWith(path, "\\\\")) {
    root = 2;  // server, share
  }
  return pieces >= root ? root : 0;
}

}  // namespace

std::string PickListFilePath(FileSystem& files, const CodePage& codePage, std::string_view storedPath) {
  // On Windows the stored value is a C string: nothing after a zero byte is part of it.
  storedPath = storedPath.substr(0, storedPath.find('\0'));
  const std::string expanded = files.ExpandEnvironment(std::string(storedPath));
  const std::string_view dataPath = expanded;
  std::vector<std::string_view> pieces;
  size_t start = 0;
  for (size_t pos = 0; pos <= dataPath.size();) {
    if (pos < dataPath.size() && dataPath[pos] != '\\') {
      pos = NextCharBoundary(codePage, dataPath, pos);
      continue;
    }
    if (pos > start) pieces.push_back(dataPath.substr(start, pos - start));
    start = ++pos;
  }
  const size_t root = RootPieces(dataPath, pieces.size());
  if (root == 0) return {};

  // The root is taken as it is: a drive ("C:"), a share ("\\server\share"), or the top folder of
  // a relative path.
  std::string path = StartsWith(dataPath, "\\\\") ? "\\\\" : "";
  for (size_t i = 0; i < root; ++i) path.append(pieces[i]).push_back('\\');
  for (size_t i = root; i < pieces.size(); ++i) {
    path.append(pieces[i]).push_back('\\');
    files.CreateFolder(path);  // an existing folder is fine; a failure shows when the file is used
  }
  path += kPickListFileName;
  return path;
}

PickListStore::PickListStore(FileSystem& files, const CodePage& codePage, ListOrder order)
    : files_(files), codePage_(codePage), order_(order) {}

void PickListStore::TakeAsBase(std::string bytes) {
  baseText_ = PickListFileText(codePage_, bytes, &baseKind_);
  baseBytes_ = std::move(bytes);
}

std::u16string PickListStore::Load(std::string_view dataPath) {
  loadFailed_ = false;
  loadedPath_.clear();
  loadedDataPath_.clear();
  baseBytes_.clear();
  baseText_.clear();
  baseKind_ = PickListFileKind::Ansi;
  baseStamped_ = false;
  try {
    loadedDataPath_ = dataPath;
    loadedPath_ = PickListFilePath(files_, codePage_, dataPath);
    if (loadedPath_.empty()) return {};
    // Stamped before the read: a change in between shows as a change later.
    baseStamped_ = SUCCEEDED(files_.ReadFileStamp(loadedPath_, &baseStamp_));
    std::string bytes;
    const HRESULT hr = files_.ReadWholeFile(loadedPath_, &bytes);
    // A missing file that cannot be created either may only be out of reach for now (a network
    // drive not yet reconnected): that is no empty list.
    if (IsMissingFile(hr) && SUCCEEDED(files_.WriteNewFile(loadedPath_, {}))) {
      baseStamped_ = SUCCEEDED(files_.ReadFileStamp(loadedPath_, &baseStamp_));
      return {};
    }
    if (FAILED(hr)) {
      loadFailed_ = true;
      return {};
    }
    TakeAsBase(std::move(bytes));
    return baseText_;
  } catch (...) {
    // Out of memory half-way: the file may hold a list that was not taken in.
    loadFailed_ = true;
    baseBytes_.clear();
    baseText_.clear();
    return {};
  }
}

std::u16string PickListStore::MergedWith(std::u16string_view ours, std::string_view bytes, bool takeRemovals) const {
  PickListFileKind kind = PickListFileKind::Ansi;
  const std::u16string theirs = PickListFileText(codePage_, bytes, &kind);
  const std::vector<std::u16string_view> merged =
      MergeItems(ItemsOf(baseText_), ItemsOf(ours), ItemsOf(theirs), takeRemovals);
  // The list stays UTF-8 where either side is Unicode; FileBytes adds the mark for an item that needs it.
  return SortedListText(merged, order_, IsUtf8List(ours) || IsUtf8List(theirs));
}

std::string PickListStore::Utf8Path(const std::string& path) const {
  return Utf16ToUtf8(codePage_.ToUtf16(path));
}

std::string PickListStore::DataFolder() const {
  const std::string& path = savedPath_.empty() ? loadedPath_ : savedPath_;
  const size_t end = path.size() > sizeof kPickListFileName ? path.size() - sizeof kPickListFileName : 0;
  return path.substr(0, end);
}

bool PickListStore::FirstTimeFor(PickListProblem problem) {
  bool& told = told_[static_cast<int>(problem)];
  return problem != PickListProblem::None && !std::exchange(told, true);
}

PickListProblem PickListStore::Save(std::string_view dataPath, std::u16string* text, bool closing) {
  std::string path;
  try {
    path = PickListFilePath(files_, codePage_, dataPath);
    if (path.empty()) return PickListProblem::None;
    savedPath_ = path;
    if (loadFailed_ && loadedPath_.empty()) {
      // The load failed before it knew its file: this is the file whose list was not taken in.
      loadedPath_ = path;
      loadedDataPath_ = dataPath;
    }
    if (!SameFileName(loadedPath_, path)) {
      const HRESULT hr = files_.WriteWholeFile(path, FileBytes(*text, {}, PickListFileKind::Ansi));
      if (SUCCEEDED(hr)) return PickListProblem::None;
      TraceFileFailure("picklist: write", Utf8Path(path), hr, FileFailureCause(hr));
      return Keep(path, *text, WriteProblem(hr), closing);
    }
    // Nothing of the list changed; after a failed load, nothing was confirmed since.
    if (loadFailed_ ? text->empty() : SameItems(ItemsOf(*text), ItemsOf(baseText_))) return PickListProblem::None;

    std::unique_ptr<FileLock> lock;
    std::string now;
    bool missing = false;
    const PickListProblem problem = LockAndRead(&lock, &now, &missing);
    if (problem != PickListProblem::None) return Keep(loadedPath_, *text, problem, closing);
    return MergeAndWrite(text, now, missing, closing);
  } catch (...) {
    // Out of memory before the write: the old file stays as it was, and so does the list in memory.
    return PickListProblem::None;
  }
}

PickListProblem PickListStore::LockAndRead(std::unique_ptr<FileLock>* lock, std::string* bytes, bool* missing) {
  const std::string lockPath = loadedPath_ + kPickListLockSuffix;
  HRESULT hr = files_.LockFile(lockPath, lockStuck_ ? 0 : lockTimeoutMs_, lock);
  if (FAILED(hr)) {
    // A lock that stays held past a whole wait (a hung holder, a folder of its name) is tried at
    // once from now on, so that the user does not wait again and again for nothing.
    if (hr == HRESULT_FROM_WIN32(ERROR_SHARING_VIOLATION)) lockStuck_ = true;
    TraceFileFailure("picklist: lock", Utf8Path(lockPath), hr, FileFailureCause(hr));
    return LockProblem(hr);
  }
  lockStuck_ = false;
  hr = files_.ReadWholeFile(loadedPath_, bytes);
  *missing = IsMissingFile(hr);
  if (FAILED(hr) && !*missing) {
    TraceFileFailure("picklist: read", Utf8Path(loadedPath_), hr, FileFailureCause(hr));
    return ReadProblem(hr);
  }
  return PickListProblem::None;
}

PickListProblem PickListStore::MergeAndWrite(std::u16string* text, const std::string& now, bool missing, bool closing) {
  // A file that vanished gets the whole list; one that others changed, the merge; one read for
  // the first time (after a failed load), the merge with nothing removed from it.
  const bool changed = !missing && (loadFailed_ || now != baseBytes_);
  PickListFileKind nowKind = PickListFileKind::Ansi;
  const std::u16string nowText = missing ? std::u16string() : PickListFileText(codePage_, now, &nowKind);
  // A file read for the first time took nothing from a list this store knew.
  const bool damaged = changed && !loadFailed_ && PickListFileLooksDamaged(now, nowText, !ItemsOf(baseText_).empty());
  if (damaged) KeepDamagedCopy(now);
  const std::u16string merged = changed ? MergedWith(*text, now, !damaged) : std::u16string();
  const std::u16string_view result = changed ? std::u16string_view(merged) : std::u16string_view(*text);
  std::string bytes = FileBytes(result, missing ? std::string_view() : WithoutFinalZero(now), nowKind);
  // Where no file was read, none is replaced: one that appeared meanwhile has its list merged next time.
  const HRESULT hr =
      missing && loadFailed_ ? files_.WriteNewFile(loadedPath_, bytes) : files_.WriteWholeFile(loadedPath_, bytes);
  if (FAILED(hr)) {
    TraceFileFailure("picklist: write", Utf8Path(loadedPath_), hr, FileFailureCause(hr));
    return Keep(loadedPath_, result, WriteProblem(hr), closing);
  }
  loadFailed_ = false;
  baseStamped_ = SUCCEEDED(files_.ReadFileStamp(loadedPath_, &baseStamp_));
  TakeAsBase(std::move(bytes));
  *text = baseText_;
  return PickListProblem::None;
}

bool PickListStore::TakeOthersChanges(std::string_view dataPath, std::u16string* text) {
  try {
    // The data folder of the load: its file is known, and no folder is made again for a look.
    if (loadedPath_.empty() || dataPath != loadedDataPath_) return false;
    FileStamp stamp;
    if (FAILED(files_.ReadFileStamp(loadedPath_, &stamp))) return false;
    if (!loadFailed_ && baseStamped_ && stamp == baseStamp_) return false;
    std::string now;
    const HRESULT hr = files_.ReadWholeFile(loadedPath_, &now);
    if (FAILED(hr)) return false;
    const bool firstRead = std::exchange(loadFailed_, false);
    baseStamp_ = stamp;
    baseStamped_ = true;
    if (!firstRead && now == baseBytes_) return false;
    PickListFileKind kind = PickListFileKind::Ansi;
    const bool damaged = !firstRead && PickListFileLooksDamaged(now, PickListFileText(codePage_, now, &kind),
                                                                !ItemsOf(baseText_).empty());
    if (damaged) KeepDamagedCopy(now);
    std::u16string merged = MergedWith(*text, now, !damaged);
    TakeAsBase(std::move(now));
    const bool differs = merged != *text;
    *text = std::move(merged);
    return differs;
  } catch (...) {
    return false;  // out of memory: the list stays as it was
  }
}

void PickListStore::KeepDamagedCopy(std::string_view bytes) {
  TraceFileFailure("picklist: merge with damaged", Utf8Path(loadedPath_), E_FAIL,
                   "none of its removals taken; a copy is kept beside it");
  WriteSideFile(loadedPath_, "damaged", bytes);
}

PickListProblem PickListStore::Keep(const std::string& listPath, std::u16string_view text, PickListProblem problem,
                                    bool closing) {
  if (closing && !WriteSideFile(listPath, "not merged", FileBytes(text, {}, PickListFileKind::Ansi))) {
    TraceFileFailure("picklist: keep the list beside", Utf8Path(listPath), E_FAIL,
                     "neither the data folder nor the user's folder takes a file");
  }
  return problem;
}

bool PickListStore::WriteSideFile(const std::string& listPath, const char* what, std::string_view bytes) {
  // "C:\Data\TLeaders.txt" -> "C:\Data\TLeaders (not merged, PC-7 2026-03-01 14-05-09).txt"
  const std::string stemName = std::string(kPickListFileName, sizeof kPickListFileName - 5);
  const std::string label = std::string(" (") + what + ", " + files_.ComputerAndTime();
  const auto folderOf = [](const std::string& list) {
    return list.substr(0, list.size() - (sizeof kPickListFileName - 1));
  };
  for (int place = 0; place < 2; ++place) {
    // Beside the list, else in the user's own folder, made on the way as the data folder is.
    const std::string list = place == 0 ? listPath : PickListFilePath(files_, codePage_, files_.UserDataFolder());
    if (list.empty()) continue;
    const std::string folder = folderOf(list);
    // Two hosts that close in the same second each find a name of their own.
    for (int copy = 1; copy <= 99; ++copy) {
      const std::string path =
          folder + stemName + label + (copy > 1 ? " " + std::to_string(copy) : std::string()) + ").txt";
      const HRESULT hr = files_.WriteNewFile(path, bytes);
      if (SUCCEEDED(hr)) return true;
      if (hr == HRESULT_FROM_WIN32(kErrorAlreadyExists)) continue;
      TraceFileFailure("picklist: write", Utf8Path(path), hr, FileFailureCause(hr));
      break;
    }
  }
  return false;
}

bool PickListFileLooksDamaged(std::string_view bytes, std::u16string_view text, bool listHadItems) {
  if (bytes.empty()) return listHadItems;
  if (bytes.size() >= 2 && bytes.find_first_not_of('\0') == std::string_view::npos) return true;
  if (text.find(std::u16string_view(u"\0\0", 2)) != std::u16string_view::npos) return true;
  // Cut off inside a record: an opening tag, or the start of one, after the last closing tag.
  static constexpr std::u16string_view kOpen = u"<TLT><NAME>", kClose = u"</NAME></TLT>";
  const size_t lastClose = text.rfind(kClose);
  std::u16string_view tail = text.substr(lastClose == std::u16string_view::npos ? 0 : lastClose + kClose.size());
  if (tail.find(kOpen) != std::u16string_view::npos) return true;
  while (!tail.empty() && (tail.back() == u'\0' || tail.back() == u'\r' || tail.back() == u'\n')) tail.remove_suffix(1);
  const size_t lastOpenStart = tail.rfind(u'<');
  return lastOpenStart != std::u16string_view::npos && tail.size() - lastOpenStart < kOpen.size() &&
         kOpen.substr(0, tail.size() - lastOpenStart) == tail.substr(lastOpenStart);
}

std::string PickListStore::FileBytes(std::u16string_view text, std::string_view keptFrom,
                                     PickListFileKind keptKind) const {
  std::u16string whole;
  if (text.find(u'\0') != std::u16string_view::npos) {
    whole = WithoutZeros(text);
    text = whole;
  }
  // A list that the ANSI code page cannot hold is kept in UTF-8, mark first; nothing becomes '?'.
  std::u16string marked;
  const bool utf8 = IsUtf8List(text) || !AnsiHolds(codePage_, text);
  if (utf8 && !IsUtf8List(text)) {
    marked.assign(1, kByteOrderMark).append(text);
    text = marked;
  }
  const FileEncoding encoding(codePage_, utf8);
  std::string bytes;
  KeptItems kept;
  const bool sameEncoding = keptKind == (utf8 ? PickListFileKind::Utf8 : PickListFileKind::Ansi);
  if (!keptFrom.empty() && sameEncoding) kept = ItemsLostInDecoding(encoding, keptFrom);
  bytes = kept.empty() ? encoding.Encode(text) : EncodeKeeping(encoding, text, kept);
  bytes.push_back('\0');
  return bytes;
}
