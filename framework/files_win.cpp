// The file port over the ANSI file functions of kernel32. A write goes to a temporary file
// beside the target, is flushed to the disk, and then takes the target's place in one
// MoveFileEx, so that the old file survives any failure before that point. Without
// MOVEFILE_REPLACE_EXISTING that same move refuses a target that exists. A reader lets others
// delete the file while it reads, so that a writer's replace never fails on a reader.
// A lock is a file opened for its holder alone and deleted on close: Windows closes it when the
// holder's process ends, however it ends, and a network server when the client is gone.
#include "framework/files_win.h"

#include <cstdio>
#include <new>

#include <shlobj.h>

#include "framework/com_owners_win.h"

namespace {

// The code of the last failed call; never a success, even if the call left no error behind.
HRESULT LastError() {
  const DWORD error = GetLastError();
  return error == ERROR_SUCCESS ? E_FAIL : HRESULT_FROM_WIN32(error);
}

// Writes everything; WriteFile takes at most a DWORD's worth at a time.
HRESULT WriteAll(HANDLE file, std::string_view bytes) {
  while (!bytes.empty()) {
    const DWORD chunk = bytes.size() > 0x40000000 ? 0x40000000 : static_cast<DWORD>(bytes.size());
    DWORD written = 0;
    if (!WriteFile(file, bytes.data(), chunk, &written, nullptr)) return LastError();
    RETURN_HR_IF(HRESULT_FROM_WIN32(ERROR_WRITE_FAULT), written == 0);
    bytes.remove_prefix(written);
  }
  return S_OK;
}

// Fills the temporary file that `file` has open and closes it.
HRESULT FillAndClose(UniqueHandle file, std::string_view bytes) {
  RETURN_IF_FAILED(WriteAll(file.get(), bytes));
  if (!FlushFileBuffers(file.get())) return LastError();
  if (!CloseHandle(file.release())) return LastError();
  return S_OK;
}

// The temporary file of a new file: this process's and this call's own.
std::string NewFileTemporaryPath(const std::string& path) {
  static LONG calls = 0;
  char writer[32];
  std::snprintf(writer, sizeof writer, "%lu-%ld", GetCurrentProcessId(), InterlockedIncrement(&calls));
  return TemporaryPathFor(path, writer);
}

// Writes `bytes` to the temporary file of `path` and moves it there with `moveFlags`; without
// MOVEFILE_REPLACE_EXISTING the temporary file is one of this call's own.
HRESULT WriteThroughTemporary(const std::string& path, std::string_view bytes, DWORD moveFlags) {
  RETURN_HR_IF(HRESULT_FROM_WIN32(ERROR_PATH_NOT_FOUND), path.empty());
  const bool replace = (moveFlags & MOVEFILE_REPLACE_EXISTING) != 0;
  std::string temporary;
  try {
    temporary = replace ? TemporaryPathFor(path) : NewFileTemporaryPath(path);
  } catch (const std::bad_alloc&) {
    return E_OUTOFMEMORY;
  }
  UniqueHandle file(CreateFileA(temporary.c_str(), GENERIC_WRITE, 0, nullptr, replace ? CREATE_ALWAYS : CREATE_NEW,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return LastError();
  HRESULT hr = FillAndClose(std::move(file), bytes);
  if (SUCCEEDED(hr) && !MoveFileExA(temporary.c_str(), path.c_str(), moveFlags)) hr = LastError();
  if (FAILED(hr)) DeleteFileA(temporary.c_str());
  return hr;
}

class HandleLock : public FileLock {
 public:
  explicit HandleLock(UniqueHandle file) : file_(std::move(file)) {}

 private:
  UniqueHandle file_;
};

}  // namespace

HRESULT WindowsFileSystem::CreateFolder(const std::string& path) {
  RETURN_HR_IF(HRESULT_FROM_WIN32(ERROR_PATH_NOT_FOUND), path.empty());
  if (CreateDirectoryA(path.c_str(), nullptr)) return S_OK;
  const HRESULT hr = LastError();
  if (hr != HRESULT_FROM_WIN32(ERROR_ALREADY_EXISTS)) return hr;
  const DWORD attributes = GetFileAttributesA(path.c_str());
  const bool folder = attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
  return folder ? S_OK : hr;
}

HRESULT WindowsFileSystem::ReadWholeFile(const std::string& path, std::string* bytes) {
  RETURN_HR_IF_NULL(E_POINTER, bytes);
  RETURN_HR_IF(HRESULT_FROM_WIN32(ERROR_PATH_NOT_FOUND), path.empty());
  UniqueHandle file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
  if (!file) return LastError();
  LARGE_INTEGER size{};
  if (!GetFileSizeEx(file.get(), &size)) return LastError();
  RETURN_HR_IF(HRESULT_FROM_WIN32(ERROR_FILE_TOO_LARGE), static_cast<uint64_t>(size.QuadPart) > kMaxWholeFileBytes);

  std::string content;
  try {
    content.resize(static_cast<size_t>(size.QuadPart));
  } catch (const std::bad_alloc&) {
    return E_OUTOFMEMORY;
  }
  size_t filled = 0;
  while (filled < content.size()) {
    DWORD got = 0;
    if (!ReadFile(file.get(), &content[filled], static_cast<DWORD>(content.size() - filled), &got, nullptr)) {
      return LastError();
    }
    if (got == 0) break;  // the file became shorter since its size was taken
    filled += got;
  }
  content.resize(filled);
  *bytes = std::move(content);
  return S_OK;
}

HRESULT WindowsFileSystem::WriteWholeFile(const std::string& path, std::string_view bytes) {
  return WriteThroughTemporary(path, bytes, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
}

HRESULT WindowsFileSystem::WriteNewFile(const std::string& path, std::string_view bytes) {
  return WriteThroughTemporary(path, bytes, MOVEFILE_WRITE_THROUGH);
}

HRESULT WindowsFileSystem::ReadFileStamp(const std::string& path, FileStamp* stamp) {
  RETURN_HR_IF_NULL(E_POINTER, stamp);
  RETURN_HR_IF(HRESULT_FROM_WIN32(ERROR_PATH_NOT_FOUND), path.empty());
  WIN32_FILE_ATTRIBUTE_DATA data{};
  if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) return LastError();
  stamp->size = (static_cast<uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
  stamp->writeTime =
      (static_cast<uint64_t>(data.ftLastWriteTime.dwHighDateTime) << 32) | data.ftLastWriteTime.dwLowDateTime;
  return S_OK;
}

HRESULT WindowsFileSystem::LockFile(const std::string& path, uint32_t timeoutMs, std::unique_ptr<FileLock>* lock) {
  RETURN_HR_IF_NULL(E_POINTER, lock);
  RETURN_HR_IF(HRESULT_FROM_WIN32(ERROR_PATH_NOT_FOUND), path.empty());
  const DWORD start = GetTickCount();
  int deniedWithoutLockFile = 0;
  for (;;) {
    UniqueHandle file(CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS,
                                  FILE_ATTRIBUTE_HIDDEN | FILE_FLAG_DELETE_ON_CLOSE, nullptr));
    if (file) {
      HandleLock* held = new (std::nothrow) HandleLock(std::move(file));
      RETURN_HR_IF_NULL(E_OUTOFMEMORY, held);
      lock->reset(held);
      return S_OK;
    }
    const HRESULT hr = LastError();
    // Held by another, or let go of and not yet deleted (a delete pending denies access). Access
    // denied where no lock file stands is a folder this user cannot write: waiting would only
    // keep the user waiting. Twice, since the other's lock file may have gone just in between.
    if (hr == HRESULT_FROM_WIN32(ERROR_ACCESS_DENIED) && GetFileAttributesA(path.c_str()) == INVALID_FILE_ATTRIBUTES &&
        GetLastError() == ERROR_FILE_NOT_FOUND) {
      if (++deniedWithoutLockFile == 2) return hr;
      continue;
    }
    const bool busy =
        hr == HRESULT_FROM_WIN32(ERROR_SHARING_VIOLATION) || hr == HRESULT_FROM_WIN32(ERROR_ACCESS_DENIED);
    if (!busy) return hr;
    if (GetTickCount() - start >= timeoutMs) return HRESULT_FROM_WIN32(ERROR_SHARING_VIOLATION);
    Sleep(20);
  }
}

std::string WindowsFileSystem::UserDataFolder() {
  char folder[MAX_PATH] = {};
  if (FAILED(SHGetFolderPathA(nullptr, CSIDL_LOCAL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, folder)) || !folder[0]) {
    return {};
  }
  std::string path(folder);
  if (path.back() != '\\') path += '\\';
  return path + "Varnkit\\Tallyline\\";
}

std::string WindowsFileSystem::ExpandEnvironment(const std::string& text) {
  if (text.find('%') == std::string::npos) return text;
  const DWORD size = ExpandEnvironmentStringsA(text.c_str(), nullptr, 0);
  if (size == 0) return text;
  std::string expanded(size, '\0');
  const DWORD written = ExpandEnvironmentStringsA(text.c_str(), &expanded[0], size);
  if (written == 0 || written > size) return text;
  expanded.resize(written - 1);  // without the final NUL
  return expanded;
}

std::string WindowsFileSystem::ComputerAndTime() {
  char computer[MAX_COMPUTERNAME_LENGTH + 1] = {};
  DWORD size = sizeof computer;
  if (!GetComputerNameA(computer, &size)) computer[0] = '\0';
  SYSTEMTIME now{};
  GetLocalTime(&now);
  char when[32];
  std::snprintf(when, sizeof when, "%04u-%02u-%02u %02u-%02u-%02u", now.wYear, now.wMonth, now.wDay, now.wHour,
                now.wMinute, now.wSecond);
  return computer[0] != '\0' ? std::string(computer) + " " + when : std::string(when);
}
