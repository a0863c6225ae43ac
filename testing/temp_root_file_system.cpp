// The file port over a temporary folder tree, with the Win32 codes that the same failures give
// on Windows.
#include "testing/temp_root_file_system.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <new>
#include <stdexcept>
#include <thread>
#include <utility>
#include <vector>

namespace fs = std::filesystem;

namespace {

HRESULT FromErrno(int error) {
  switch (error) {
    case ENOENT:
    case ENOTDIR:
    case ENAMETOOLONG:
      return HRESULT_FROM_WIN32(ERROR_PATH_NOT_FOUND);
    case EACCES:
    case EPERM:
    case EISDIR:
    case EROFS:
      return HRESULT_FROM_WIN32(ERROR_ACCESS_DENIED);
    case ENOSPC:
      return HRESULT_FROM_WIN32(kErrorDiskFull);
    case EFBIG:
      return HRESULT_FROM_WIN32(ERROR_FILE_TOO_LARGE);
    case ENOMEM:
      return E_OUTOFMEMORY;
    default:
      return E_FAIL;
  }
}

// A file descriptor that closes itself.
class Descriptor {
 public:
  explicit Descriptor(int fd) : fd_(fd) {}
  Descriptor(const Descriptor&) = delete;
  Descriptor& operator=(const Descriptor&) = delete;
  ~Descriptor() {
    if (fd_ >= 0) ::close(fd_);
  }
  int get() const { return fd_; }
  // Closes now and tells whether the close went well; a failed close can lose written data.
  bool Close() { return ::close(std::exchange(fd_, -1)) == 0; }

 private:
  int fd_;
};

HRESULT WriteAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t written = ::write(fd, bytes.data(), bytes.size());
    if (written < 0) {
      if (errno == EINTR) continue;
      return FromErrno(errno);
    }
    bytes.remove_prefix(static_cast<size_t>(written));
  }
  return S_OK;
}

// Holds the flock of an open lock file; deletes the file before it lets go, so that a waiter
// that then gets the lock sees that its file is no longer the one of that name.
class FlockLock : public FileLock {
 public:
  FlockLock(int fd, std::filesystem::path path) : fd_(fd), path_(std::move(path)) {}
  ~FlockLock() override {
    ::unlink(path_.c_str());
    ::close(fd_);
  }
  FlockLock(const FlockLock&) = delete;
  FlockLock& operator=(const FlockLock&) = delete;

 private:
  int fd_;
  std::filesystem::path path_;
};

}  // namespace

TempRootFileSystem::TempRootFileSystem() {
  std::string pattern = (fs::temp_directory_path() / "tallyline-XXXXXX").string();
  if (::mkdtemp(&pattern[0]) == nullptr) throw std::runtime_error("cannot create " + pattern);
  root_ = pattern;
  // The drive C: and the current folder of relative paths are always there.
  fs::create_directory(root_ / "C");
  fs::create_directory(root_ / "relative");
}

TempRootFileSystem::~TempRootFileSystem() {
  std::error_code ignored;
  fs::remove_all(root_, ignored);
}

fs::path TempRootFileSystem::RealPath(const std::string& windowsPath) const {
  std::string path = windowsPath;
  for (char& c : path) {
    if (c == '/') c = '\\';
  }
  // Long-path names name what they name without the prefix: "\\\\?\\UNC\\s\\x" is "\\\\s\\x".
  if (path.compare(0, 8, "\\\\?\\UNC\\") == 0) {
    path = "\\\\" + path.substr(8);
  } else if (path.compare(0, 4, "\\\\?\\") == 0) {
    path = path.substr(4);
  }
  std::string top = "relative";
  size_t start = 0;
  if (path.size() >= 2 && std::isalpha(static_cast<unsigned char>(path[0])) && path[1] == ':') {
    top = std::string(1, static_cast<char>(std::toupper(static_cast<unsigned char>(path[0]))));
    start = 2;
  } else if (path.compare(0, 2, "\\\\") == 0) {
    top = "unc";
    start = 2;
  } else if (path.compare(0, 1, "\\") == 0) {
    top = "C";
    start = 1;
  }

  std::vector<std::string> parts;
  while (start <= path.size()) {
    size_t end = path.find('\\', start);
    if (end == std::string::npos) end = path.size();
    const std::string part = path.substr(start, end - start);
    if (part == "..") {
      if (!parts.empty()) parts.pop_back();
    } else if (!part.empty() && part != ".") {
      parts.push_back(part);
    }
    start = end + 1;
  }

  fs::path real = root_ / top;
  for (const std::string& part : parts) real /= part;
  return real;
}

HRESULT TempRootFileSystem::CreateFolder(const std::string& path) {
  RETURN_HR_IF(HRESULT_FROM_WIN32(ERROR_PATH_NOT_FOUND), path.empty());
  RETURN_IF_FAILED(folderFailure_);
  const fs::path real = RealPath(path);
  if (::mkdir(real.c_str(), 0777) == 0) return S_OK;
  if (errno != EEXIST) return FromErrno(errno);
  std::error_code error;
  return fs::is_directory(real, error) ? S_OK : HRESULT_FROM_WIN32(kErrorAlreadyExists);
}

HRESULT TempRootFileSystem::ReadWholeFile(const std::string& path, std::string* bytes) {
  RETURN_HR_IF_NULL(E_POINTER, bytes);
  RETURN_HR_IF(HRESULT_FROM_WIN32(ERROR_PATH_NOT_FOUND), path.empty());
  RETURN_IF_FAILED(std::exchange(nextReadFailure_, S_OK));
  RETURN_IF_FAILED(readFailure_);

  const fs::path real = RealPath(path);
  Descriptor file(::open(real.c_str(), O_RDONLY | O_CLOEXEC));
  if (file.get() < 0) {
    if (errno != ENOENT) return FromErrno(errno);
    // Windows tells a missing file in an existing folder from a missing folder.
    std::error_code error;
    return fs::is_directory(real.parent_path(), error) ? HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND)
                                                       : HRESULT_FROM_WIN32(ERROR_PATH_NOT_FOUND);
  }
  struct stat status {};
  if (::fstat(file.get(), &status) != 0) return FromErrno(errno);
  RETURN_HR_IF(HRESULT_FROM_WIN32(ERROR_ACCESS_DENIED), S_ISDIR(status.st_mode));
  RETURN_HR_IF(HRESULT_FROM_WIN32(ERROR_FILE_TOO_LARGE), static_cast<uint64_t>(status.st_size) > kMaxWholeFileBytes);

  try {
    std::string content;
    char buffer[65536];
    for (;;) {
      const ssize_t got = ::read(file.get(), buffer, sizeof buffer);
      if (got < 0) {
        if (errno == EINTR) continue;
        return HRESULT_FROM_WIN32(ERROR_READ_FAULT);
      }
      if (got == 0) break;
      content.append(buffer, static_cast<size_t>(got));
    }
    *bytes = std::move(content);
    return S_OK;
  } catch (const std::bad_alloc&) {
    return E_OUTOFMEMORY;
  }
}

HRESULT TempRootFileSystem::WriteWholeFile(const std::string& path, std::string_view bytes) {
  return Write(path, bytes, true);
}

HRESULT TempRootFileSystem::WriteNewFile(const std::string& path, std::string_view bytes) {
  return Write(path, bytes, false);
}

TempRootFileSystem::WriteFailure TempRootFileSystem::WriteFailureAt(const std::string& path) const {
  if (SUCCEEDED(writeFailureCode_) || path.compare(0, writeFailureUnder_.size(), writeFailureUnder_) != 0) {
    return WriteFailure::None;
  }
  return writeFailure_;
}

HRESULT TempRootFileSystem::Write(const std::string& path, std::string_view bytes, bool replace) {
  RETURN_HR_IF(HRESULT_FROM_WIN32(ERROR_PATH_NOT_FOUND), path.empty());
  const WriteFailure failure = WriteFailureAt(path);
  if (failure == WriteFailure::OnCreate) return writeFailureCode_;

  const fs::path real = RealPath(path);
  // A new file's temporary file is this writer's own, as on Windows.
  const fs::path temporary =
      RealPath(replace ? TemporaryPathFor(path)
                       : TemporaryPathFor(path, std::to_string(::getpid()) + "-" + std::to_string(++newFiles_)));
  Descriptor file(::open(temporary.c_str(), O_WRONLY | O_CREAT | (replace ? O_TRUNC : O_EXCL) | O_CLOEXEC, 0666));
  if (file.get() < 0) return FromErrno(errno);

  auto discard = [&temporary](HRESULT hr) {
    ::unlink(temporary.c_str());
    return hr;
  };
  if (failure == WriteFailure::AfterHalf) {
    const HRESULT hr = WriteAll(file.get(), bytes.substr(0, bytes.size() / 2));
    file.Close();
    return discard(FAILED(hr) ? hr : writeFailureCode_);
  }
  HRESULT hr = WriteAll(file.get(), bytes);
  if (SUCCEEDED(hr) && ::fsync(file.get()) != 0) hr = FromErrno(errno);
  if (!file.Close() && SUCCEEDED(hr)) hr = HRESULT_FROM_WIN32(ERROR_WRITE_FAULT);
  if (FAILED(hr)) return discard(hr);
  if (failure == WriteFailure::OnReplace) return discard(writeFailureCode_);
  if (replace) {
    if (::rename(temporary.c_str(), real.c_str()) != 0) return discard(FromErrno(errno));
    return S_OK;
  }
  // A link is made only where no name is: the test and the write in one step, as on Windows.
  if (::link(temporary.c_str(), real.c_str()) != 0) {
    return discard(errno == EEXIST ? HRESULT_FROM_WIN32(kErrorAlreadyExists) : FromErrno(errno));
  }
  return discard(S_OK);
}

HRESULT TempRootFileSystem::ReadFileStamp(const std::string& path, FileStamp* stamp) {
  RETURN_HR_IF_NULL(E_POINTER, stamp);
  RETURN_HR_IF(HRESULT_FROM_WIN32(ERROR_PATH_NOT_FOUND), path.empty());
  const fs::path real = RealPath(path);
  struct stat status {};
  if (::stat(real.c_str(), &status) != 0) {
    if (errno != ENOENT) return FromErrno(errno);
    std::error_code error;
    return fs::is_directory(real.parent_path(), error) ? HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND)
                                                       : HRESULT_FROM_WIN32(ERROR_PATH_NOT_FOUND);
  }
  stamp->size = static_cast<uint64_t>(status.st_size);
  stamp->writeTime = static_cast<uint64_t>(status.st_mtim.tv_sec) * 1000000000u + status.st_mtim.tv_nsec;
  return S_OK;
}

HRESULT TempRootFileSystem::LockFile(const std::string& path, uint32_t timeoutMs, std::unique_ptr<FileLock>* lock) {
  RETURN_HR_IF_NULL(E_POINTER, lock);
  RETURN_HR_IF(HRESULT_FROM_WIN32(ERROR_PATH_NOT_FOUND), path.empty());
  if (WriteFailureAt(path) == WriteFailure::OnCreate) return writeFailureCode_;
  const fs::path real = RealPath(path);
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  for (;;) {
    const int fd = ::open(real.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
    if (fd < 0) return FromErrno(errno);
    if (::flock(fd, LOCK_EX | LOCK_NB) == 0) {
      // Locked, but perhaps a file that its last holder deleted meanwhile: then try again.
      struct stat held {
      }, named{};
      if (::fstat(fd, &held) == 0 && ::stat(real.c_str(), &named) == 0 && held.st_ino == named.st_ino &&
          held.st_dev == named.st_dev) {
        lock->reset(new FlockLock(fd, real));
        return S_OK;
      }
      ::close(fd);
      continue;
    }
    const int error = errno;
    ::close(fd);
    if (error != EWOULDBLOCK) return FromErrno(error);
    if (std::chrono::steady_clock::now() >= deadline) return HRESULT_FROM_WIN32(ERROR_SHARING_VIOLATION);
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
}

std::string TempRootFileSystem::ExpandEnvironment(const std::string& text) {
  std::string expanded;
  size_t at = 0;
  for (size_t open; (open = text.find('%', at)) != std::string::npos;) {
    const size_t close = text.find('%', open + 1);
    if (close == std::string::npos) break;
    const auto variable = environment_.find(text.substr(open + 1, close - open - 1));
    if (variable == environment_.end()) {  // left as written; its closing % may open the next
      expanded += text.substr(at, close - at);
      at = close;
      continue;
    }
    expanded += text.substr(at, open - at) + variable->second;
    at = close + 1;
  }
  return expanded + text.substr(at);
}

std::string TempRootFileSystem::ComputerAndTime() {
  char computer[256] = {};
  if (::gethostname(computer, sizeof computer - 1) != 0) computer[0] = '\0';
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  ::localtime_r(&now, &local);
  char when[32];
  std::strftime(when, sizeof when, "%Y-%m-%d %H-%M-%S", &local);
  return computer[0] != '\0' ? std::string(computer) + " " + when : std::string(when);
}

void TempRootFileSystem::FailNextRead(HRESULT hr) {
  nextReadFailure_ = hr;
}
void TempRootFileSystem::FailAllReads(HRESULT hr) {
  readFailure_ = hr;
}
void TempRootFileSystem::FailWrites(WriteFailure where, HRESULT hr, std::string under) {
  writeFailure_ = where;
  writeFailureCode_ = hr;
  writeFailureUnder_ = std::move(under);
}
void TempRootFileSystem::FailFolderCreation(HRESULT hr) {
  folderFailure_ = hr;
}

bool TempRootFileSystem::WriteRealFile(const std::string& windowsPath, std::string_view bytes) const {
  const fs::path real = RealPath(windowsPath);
  std::error_code error;
  fs::create_directories(real.parent_path(), error);
  std::ofstream out(real, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  out.close();
  return static_cast<bool>(out);
}

bool TempRootFileSystem::ReadRealFile(const std::string& windowsPath, std::string* bytes) const {
  std::ifstream in(RealPath(windowsPath), std::ios::binary);
  if (!in) return false;
  std::string content((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (in.bad()) return false;
  *bytes = std::move(content);
  return true;
}
