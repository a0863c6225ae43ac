// Loading and saving the picklist file, and the data folder it lives in. A load remembers the
// file it read and the bytes it took: a list nobody changed is saved as those bytes (a double-byte
// page does not give every byte sequence back unchanged), and a file whose list was never taken
// in is not written over.
#include "picklist/pick_list_store.h"

#include <algorithm>
#include <vector>

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

// The file form of `text`: its ANSI bytes and one zero byte. The file ends at its first zero
// byte, so a zero inside the text would end it early.
std::string FileBytes(const CodePage& codePage, std::u16string_view text) {
  std::string bytes = codePage.ToAnsi(text.substr(0, text.find(u'\0')));
  bytes.push_back('\0');
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
    std::u16string text = codePage_.ToWide(bytes);
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
      files_.WriteNewFile(loadedFile ? loadedPath_ : path, FileBytes(codePage_, text));
      return;
    }
    if (loadedFile && codePage_.ToWide(loadedBytes_) == text) {
      files_.WriteWholeFile(path, std::string(loadedBytes_) + '\0');
      return;
    }
    files_.WriteWholeFile(path, FileBytes(codePage_, text));
  } catch (...) {
    // Out of memory before the write: the old file stays as it was.
  }
}
