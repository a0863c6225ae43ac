// The native stand-in of the file port: Windows paths are mapped into a fresh folder under the
// system's temporary folder, which goes away with the object, and tests can make each operation
// fail as the real system can (a locked file, a full disk half-way through a write).
//
//   "C:\\a\\b"            <root>/C/a/b     (a drive letter is taken in capitals)
//   "\\a\\b"              <root>/C/a/b     (the current drive is C:)
//   "\\\\server\\share\\a"  <root>/unc/server/share/a
//   "a\\b", ".\\a"        <root>/relative/a/b
//
// '/' separates like '\\'; "." and ".." are resolved by name as Windows does, never above the
// top of the mapped tree. Names keep their case: unlike Windows, "Data" and "DATA" differ here.
#pragma once

#include <filesystem>
#include <map>
#include <string>
#include <utility>

#include "framework/files.h"

class TempRootFileSystem : public FileSystem {
 public:
  // Where a failing write stops.
  enum class WriteFailure {
    None,
    OnCreate,   // no file can be created (a lock file neither): a read-only folder
    AfterHalf,  // half the bytes reach the temporary file, then writing fails
    OnReplace,  // everything is written, putting it in the old file's place fails
  };

  TempRootFileSystem();
  ~TempRootFileSystem() override;
  TempRootFileSystem(const TempRootFileSystem&) = delete;
  TempRootFileSystem& operator=(const TempRootFileSystem&) = delete;

  HRESULT CreateFolder(const std::string& path) override;
  HRESULT ReadWholeFile(const std::string& path, std::string* bytes) override;
  HRESULT WriteWholeFile(const std::string& path, std::string_view bytes) override;
  HRESULT WriteNewFile(const std::string& path, std::string_view bytes) override;
  // The lock is an advisory lock (flock) on the lock file, which its holder deletes before it
  // lets go; the system lets go of it when the holder's process ends. The lock file of a holder
  // that died stays behind, unlocked, and is taken over.
  HRESULT ReadFileStamp(const std::string& path, FileStamp* stamp) override;
  HRESULT LockFile(const std::string& path, uint32_t timeoutMs, std::unique_ptr<FileLock>* lock) override;
  std::string ComputerAndTime() override;
  // "C:\\Users\\Draftsman\\AppData\\Local\\Varnkit\\Tallyline\\" unless a test names another.
  std::string UserDataFolder() override { return userDataFolder_; }
  void SetUserDataFolder(std::string folder) { userDataFolder_ = std::move(folder); }
  // Expands the variables a test set; no other.
  std::string ExpandEnvironment(const std::string& text) override;
  void SetEnvironment(const std::string& name, std::string value) { environment_[name] = std::move(value); }

  // Failure injection; S_OK (or WriteFailure::None) turns the failure off again.
  void FailNextRead(HRESULT hr);
  void FailAllReads(HRESULT hr);
  // Writes to paths that start with `under` (all of them when it is empty) fail.
  void FailWrites(WriteFailure where, HRESULT hr, std::string under = {});
  void FailFolderCreation(HRESULT hr);

  // Direct access to the real files behind the port, for setting up and checking tests.
  const std::filesystem::path& Root() const { return root_; }
  std::filesystem::path RealPath(const std::string& windowsPath) const;
  // Creates missing folders on the way; false when the file cannot be written.
  bool WriteRealFile(const std::string& windowsPath, std::string_view bytes) const;
  // False when the file cannot be read.
  bool ReadRealFile(const std::string& windowsPath, std::string* bytes) const;

 private:
  HRESULT Write(const std::string& path, std::string_view bytes, bool replace);
  WriteFailure WriteFailureAt(const std::string& path) const;

  std::filesystem::path root_;
  HRESULT nextReadFailure_ = S_OK;
  HRESULT readFailure_ = S_OK;
  WriteFailure writeFailure_ = WriteFailure::None;
  HRESULT writeFailureCode_ = S_OK;
  std::string writeFailureUnder_;
  std::string userDataFolder_ = "C:\\Users\\Draftsman\\AppData\\Local\\Varnkit\\Tallyline\\";
  unsigned newFiles_ = 0;
  std::map<std::string, std::string> environment_;
  HRESULT folderFailure_ = S_OK;
};
