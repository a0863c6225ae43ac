// The file port: the few file operations the add-in needs for its data files, with the status
// codes of kernel32 so that callers can tell a missing file from one that is there but cannot
// be read. Paths are 8-bit Windows paths in the ANSI code page, absolute
// ("C:\\Program Files\\DEVO\\Varnkit\\Data\\TLeaders.txt") or relative.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "framework/status.h"

// What tells two versions of a file apart without reading it: its size and last-write time.
struct FileStamp {
  uint64_t size = 0;
  uint64_t writeTime = 0;  // in the system's own units
  bool operator==(const FileStamp& other) const { return size == other.size && writeTime == other.writeTime; }
  bool operator!=(const FileStamp& other) const { return !(*this == other); }
};

// A lock taken with FileSystem::LockFile, held for as long as the object lives.
class FileLock {
 public:
  virtual ~FileLock() = default;
};

class FileSystem {
 public:
  virtual ~FileSystem() = default;

  // Creates the folder `path`; its parent must exist (HRESULT_FROM_WIN32(ERROR_PATH_NOT_FOUND)
  // otherwise). S_OK also when the folder is already there; a file of that name fails with
  // HRESULT_FROM_WIN32(ERROR_ALREADY_EXISTS).
  virtual HRESULT CreateFolder(const std::string& path) = 0;

  // The whole content of the file. A missing file fails with HRESULT_FROM_WIN32 of
  // ERROR_FILE_NOT_FOUND (or ERROR_PATH_NOT_FOUND when its folder is missing too); any other
  // failure keeps its own code (ERROR_SHARING_VIOLATION, ERROR_ACCESS_DENIED,
  // ERROR_FILE_TOO_LARGE ...). *bytes is left alone on failure.
  virtual HRESULT ReadWholeFile(const std::string& path, std::string* bytes) = 0;

  // Writes `bytes` to the temporary file TemporaryPathFor(path) and replaces the old file with
  // it only when everything was written; on failure the temporary file is deleted and the old
  // file is as it was.
  virtual HRESULT WriteWholeFile(const std::string& path, std::string_view bytes) = 0;

  // As WriteWholeFile, but only where no file of that name exists: an existing one is left as it
  // is and the call fails with HRESULT_FROM_WIN32(ERROR_ALREADY_EXISTS). The test and the write
  // are one step, so a file that appears in between is not replaced either.
  virtual HRESULT WriteNewFile(const std::string& path, std::string_view bytes) = 0;

  // The size and last-write time of the file; a missing one fails as in ReadWholeFile.
  virtual HRESULT ReadFileStamp(const std::string& path, FileStamp* stamp) = 0;

  // Takes the lock that the file `path` stands for, across processes and machines: the file is
  // created, opened for this holder alone and deleted when it is let go of, also when its holder
  // dies. While another holds it, tries again until `timeoutMs` have passed and then fails with
  // HRESULT_FROM_WIN32(ERROR_SHARING_VIOLATION); other failures (a missing folder) at once.
  virtual HRESULT LockFile(const std::string& path, uint32_t timeoutMs, std::unique_ptr<FileLock>* lock) = 0;

  // This computer's name and the local time, as a file name may hold them ("PC-7 2026-03-01
  // 14-05-09"), to say where and when a file was written.
  virtual std::string ComputerAndTime() = 0;

  // The folder that keeps what the add-in saves for this user alone on this computer, when a
  // shared folder cannot take it: "%LOCALAPPDATA%\\Varnkit\\Tallyline\\" (not created here).
  // Empty when the system names no such folder.
  virtual std::string UserDataFolder() = 0;

  // `text` with each %NAME% of this process's environment replaced by its value, as Windows
  // expands a stored path ("%APPDATA%\\Tallyline\\"); a name the environment lacks stays as written.
  virtual std::string ExpandEnvironment(const std::string& text) = 0;
};

// The temporary file a write goes through: beside the target, so that replacing is a rename
// within one volume.
inline std::string TemporaryPathFor(const std::string& path) {
  return path + ".tl-new";
}

// The temporary file of a WriteNewFile: a name of this writer's own (`writer` tells the process
// and the call apart), so that two writers of one new name never fill the same temporary file.
inline std::string TemporaryPathFor(const std::string& path, const std::string& writer) {
  return path + ".tl-new-" + writer;
}

// ReadWholeFile refuses larger files with HRESULT_FROM_WIN32(ERROR_FILE_TOO_LARGE): one read of
// a 32-bit process could not hold them.
constexpr uint64_t kMaxWholeFileBytes = 0x7FFFFFFF;

// Win32 codes of the file port that status.h leaves out.
constexpr uint32_t kErrorDiskFull = 112;       // ERROR_DISK_FULL
constexpr uint32_t kErrorAlreadyExists = 183;  // ERROR_ALREADY_EXISTS
