// Loading and saving the picklist file, and the data folder it lives in. A load remembers the
// file it read and the bytes it took: a list nobody changed is saved as those bytes, and so is
// each item nobody changed (a double-byte page does not give every byte sequence back
// unchanged, nor does UTF-8 a broken sequence); a file whose list was never taken in is not
// written over.
#include "picklist/pick_list_store.h"

#include <algorithm>
#include <deque>
#include <map>
#include <vector>

#include "framework/utf8.h"
#include "picklist/pick_list_records.h"

namespace {

bool IsMissingFile(HRESULT hr) {
  return hr == HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND) || hr == HRESULT_FROM_WIN32(ERROR_PATH_NOT_FOUND);
}

char FoldAsciiCase(char c) {
  return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// Windows names files without regard to case; folding ASCII only may call two different files
// the same, which errs towards not writing.
bool SameFileName(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (FoldAsciiCase(a[i]) != FoldAsciiCase(b[i])) return false;
  }
  return true;
}

bool IsMarked(std::string_view bytes) {
  return bytes.substr(0, kUtf8Mark.size()) == kUtf8Mark;
}

// The text up to its first zero character: the file ends at its first zero byte, so a zero
// inside the text would end it early.
std::u16string_view UpToZero(std::u16string_view text) {
  return text.substr(0, text.find(u'\0'));
}

// How the list's text becomes file bytes and back, in one of the file's two encodings.
class FileEncoding {
 public:
  FileEncoding(const CodePage& codePage, bool utf8) : codePage_(codePage), utf8_(utf8) {}
  std::u16string Decode(std::string_view bytes) const { return utf8_ ? Utf8ToWide(bytes) : codePage_.ToWide(bytes); }
  std::string Encode(std::u16string_view text) const { return utf8_ ? WideToUtf8(text) : codePage_.ToAnsi(text); }
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

// The file bytes of `text`: its records found in the wide text (where the file's rules hold
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

std::string PickListFilePath(FileSystem& files, const CodePage& codePage, std::string_view dataPath) {
  // On Windows the stored value is a C string: nothing after a zero byte is part of it.
  dataPath = dataPath.substr(0, dataPath.find('\0'));
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
  if (pieces.empty()) return {};

  // The first piece is the drive ("C:") or the top folder; it is taken as it is.
  std::string path(pieces.front());
  path += '\\';
  for (size_t i = 1; i < pieces.size(); ++i) {
    path.append(pieces[i]).push_back('\\');
    files.CreateFolder(path);  // an existing folder is fine; a failure shows when the file is used
  }
  path += kPickListFileName;
  return path;
}

PickListStore::PickListStore(FileSystem& files, const CodePage& codePage) : files_(files), codePage_(codePage) {}

std::u16string PickListStore::Load(std::string_view dataPath) {
  loadFailed_ = false;
  loadedUtf8_ = false;
  loadedPath_.clear();
  loadedBytes_.clear();
  try {
    loadedPath_ = PickListFilePath(files_, codePage_, dataPath);
    if (loadedPath_.empty()) return {};
    std::string bytes;
    const HRESULT hr = files_.ReadWholeFile(loadedPath_, &bytes);
    // A missing file that cannot be created either may only be out of reach for now (a network
    // drive not yet reconnected): that is no empty list.
    if (IsMissingFile(hr) && SUCCEEDED(files_.WriteNewFile(loadedPath_, {}))) return {};
    if (FAILED(hr)) {
      loadFailed_ = true;
      return {};
    }
    bytes.resize(std::min(bytes.find('\0'), bytes.size()));
    // The mark decodes to U+FEFF, which keeps the list in UTF-8.
    loadedUtf8_ = IsMarked(bytes);
    std::u16string text = FileEncoding(codePage_, loadedUtf8_).Decode(bytes);
    loadedBytes_ = std::move(bytes);
    return text;
  } catch (...) {
    // Out of memory half-way: the file may hold a list that was not taken in.
    loadFailed_ = true;
    loadedBytes_.clear();
    return {};
  }
}

void PickListStore::Save(std::string_view dataPath, std::u16string_view text) {
  try {
    const std::string path = PickListFilePath(files_, codePage_, dataPath);
    if (path.empty()) return;
    const bool loadedFile = !loadedPath_.empty() && SameFileName(loadedPath_, path);
    if (loadFailed_ && (loadedFile || loadedPath_.empty())) {
      // The name the load used: the same file to Windows, whatever the case of this one.
      files_.WriteNewFile(loadedFile ? loadedPath_ : path, FileBytes(text, !loadedFile));
      return;
    }
    if (loadedFile && FileEncoding(codePage_, loadedUtf8_).Decode(loadedBytes_) == text) {
      files_.WriteWholeFile(path, std::string(loadedBytes_) + '\0');
      return;
    }
    files_.WriteWholeFile(path, FileBytes(text, !loadedFile));
  } catch (...) {
    // Out of memory before the write: the old file stays as it was.
  }
}

std::string PickListStore::FileBytes(std::u16string_view text, bool otherFile) const {
  text = UpToZero(text);
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
  if (!otherFile && utf8 == loadedUtf8_) kept = ItemsLostInDecoding(encoding, loadedBytes_);
  bytes = kept.empty() ? encoding.Encode(text) : EncodeKeeping(encoding, text, kept);
  bytes.push_back('\0');
  return bytes;
}
