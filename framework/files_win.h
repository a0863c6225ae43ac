// The file port over kernel32.
#pragma once

#include "framework/files.h"

class WindowsFileSystem : public FileSystem {
 public:
  HRESULT CreateFolder(const std::string& path) override;
  HRESULT ReadWholeFile(const std::string& path, std::string* bytes) override;
  HRESULT WriteWholeFile(const std::string& path, std::string_view bytes) override;
  HRESULT WriteNewFile(const std::string& path, std::string_view bytes) override;
  HRESULT ReadFileStamp(const std::string& path, FileStamp* stamp) override;
  HRESULT LockFile(const std::string& path, uint32_t timeoutMs, std::unique_ptr<FileLock>* lock) override;
  std::string ComputerAndTime() override;
  std::string UserDataFolder() override;
  std::string ExpandEnvironment(const std::string& text) override;
};
