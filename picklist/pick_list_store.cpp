// Loading and saving the picklist file, and the data folder it lives in.
#include "picklist/pick_list_store.h"

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

}  // namespace

std::string PickListFilePath(FileSystem& files, std::string_view dataPath) {
  // On Windows the stored value is a C string: nothing after a zero byte is part of it.
  dataPath = dataPath.substr(0, dataPath.find('\0'));
  std::vector<std::string_view> pieces;
  size_t start = 0;
  while (start < dataPath.size()) {
    size_t end = dataPath.find('\\', start);
    if (end == std::string_view::npos) end = dataPath.size();
    if (end > start) pieces.push_back(dataPath.substr(start, end - start));
    start = end + 1;
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
  failedPath_.clear();
  std::string path;
  try {
    path = PickListFilePath(files_, dataPath);
    if (path.empty()) return {};
    std::string bytes;
    const HRESULT hr = files_.ReadWholeFile(path, &bytes);
    if (IsMissingFile(hr)) {
      files_.WriteWholeFile(path, {});
      return {};
    }
    if (FAILED(hr)) {
      loadFailed_ = true;
      failedPath_.swap(path);
      return {};
    }
    return codePage_.ToWide(std::string_view(bytes).substr(0, bytes.find('\0')));
  } catch (...) {
    // Out of memory half-way: the file may hold a list that was not taken in.
    loadFailed_ = true;
    failedPath_.swap(path);
    return {};
  }
}

bool PickListStore::IsProtected(const std::string& path) const {
  return loadFailed_ && (failedPath_.empty() || SameFileName(failedPath_, path));
}

void PickListStore::Save(std::string_view dataPath, std::u16string_view text) {
  try {
    const std::string path = PickListFilePath(files_, dataPath);
    if (path.empty() || IsProtected(path)) return;
    // The file ends at its first zero byte; a zero inside the text would end it early.
    text = text.substr(0, text.find(u'\0'));
    std::string bytes = codePage_.ToAnsi(text);
    bytes.push_back('\0');
    files_.WriteWholeFile(path, bytes);
  } catch (...) {
    // Out of memory before the write: the old file stays as it was.
  }
}
