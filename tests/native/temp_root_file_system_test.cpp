// The native file port: the Windows codes of missing and unreadable files, folder creation, and
// writes that replace the old file only when they succeed.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "testing/file_port_contract.h"
#include "testing/temp_root_file_system.h"

#include <sys/wait.h>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

constexpr char kDataFolder[] = "C:\\Program Files\\DEVO\\Varnkit\\Data";
constexpr char kDefaultLeaders[] = "C:\\Program Files\\DEVO\\Varnkit\\Data\\TLeaders.txt";

// The names in the real folder behind a Windows folder path.
std::vector<std::string> FolderNames(const TempRootFileSystem& files, const std::string& folder) {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(files.RealPath(folder))) {
    names.push_back(entry.path().filename().string());
  }
  std::sort(names.begin(), names.end());
  return names;
}

TEST(TempRootFileSystem, MapsWindowsPathsIntoItsRoot) {
  TempRootFileSystem files;
  const fs::path root = files.Root();
  struct Case {
    const char* windows;
    fs::path real;
  };
  const Case cases[] = {
      {"C:\\a\\b.txt", root / "C" / "a" / "b.txt"},
      {"c:/a/b.txt", root / "C" / "a" / "b.txt"},
      {"\\a\\b", root / "C" / "a" / "b"},
      {"\\\\server\\share\\x", root / "unc" / "server" / "share" / "x"},
      {"Data\\x.txt", root / "relative" / "Data" / "x.txt"},
      {".\\Data\\.\\x.txt", root / "relative" / "Data" / "x.txt"},
      {"C:\\a\\..\\..\\..\\b", root / "C" / "b"},
      {"C:\\a\\\\b\\", root / "C" / "a" / "b"},
  };
  for (const Case& c : cases) EXPECT_EQ(files.RealPath(c.windows), c.real) << c.windows;
}

TEST(TempRootFileSystem, RootGoesAwayWithTheObject) {
  fs::path root;
  {
    TempRootFileSystem files;
    root = files.Root();
    ASSERT_TRUE(files.WriteRealFile(kDefaultLeaders, "x"));
    EXPECT_TRUE(fs::exists(root));
  }
  EXPECT_FALSE(fs::exists(root));
}

TEST(TempRootFileSystem, CreatesFoldersOnItsOwnDrivesAndFailsAsAsked) {
  TempRootFileSystem files;
  EXPECT_EQ(files.CreateFolder("D:\\Data"), HRESULT_FROM_WIN32(ERROR_PATH_NOT_FOUND));
  EXPECT_EQ(files.CreateFolder("Relative"), S_OK);
  EXPECT_EQ(files.CreateFolder(std::string(kDataFolder) + "\\Sub"), HRESULT_FROM_WIN32(ERROR_PATH_NOT_FOUND));
  ASSERT_TRUE(files.WriteRealFile(kDefaultLeaders, "x"));
  EXPECT_TRUE(fs::is_directory(files.RealPath(kDataFolder)));
  EXPECT_EQ(files.CreateFolder(std::string(kDefaultLeaders) + "\\Sub"), HRESULT_FROM_WIN32(ERROR_PATH_NOT_FOUND));

  files.FailFolderCreation(E_ACCESSDENIED);
  EXPECT_EQ(files.CreateFolder("C:\\Other"), E_ACCESSDENIED);
  EXPECT_FALSE(fs::exists(files.RealPath("C:\\Other")));
  files.FailFolderCreation(S_OK);
  EXPECT_EQ(files.CreateFolder("C:\\Other"), S_OK);
}

TEST(TempRootFileSystem, ReadsTellMissingFromUnreadable) {
  TempRootFileSystem files;
  ASSERT_TRUE(files.WriteRealFile(kDefaultLeaders, std::string("A1\r\n\0\xFF", 6)));
  struct Case {
    std::string path;
    HRESULT hr;
  };
  const Case cases[] = {
      {kDefaultLeaders, S_OK},
      {"c:/program files/../Program Files/DEVO/Varnkit/Data/TLeaders.txt", S_OK},
      {std::string(kDataFolder) + "\\Missing.txt", HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND)},
      {"C:\\Missing\\TLeaders.txt", HRESULT_FROM_WIN32(ERROR_PATH_NOT_FOUND)},
      {std::string(kDefaultLeaders) + "\\Inside.txt", HRESULT_FROM_WIN32(ERROR_PATH_NOT_FOUND)},
      {kDataFolder, HRESULT_FROM_WIN32(ERROR_ACCESS_DENIED)},
      {"", HRESULT_FROM_WIN32(ERROR_PATH_NOT_FOUND)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.path);
    std::string bytes = "marker";
    EXPECT_EQ(files.ReadWholeFile(c.path, &bytes), c.hr);
    EXPECT_EQ(bytes, SUCCEEDED(c.hr) ? std::string("A1\r\n\0\xFF", 6) : "marker");
  }
}

TEST(TempRootFileSystem, InjectedReadFailuresKeepTheirCodes) {
  TempRootFileSystem files;
  ASSERT_TRUE(files.WriteRealFile(kDefaultLeaders, "data"));
  std::string bytes;
  files.FailNextRead(HRESULT_FROM_WIN32(ERROR_SHARING_VIOLATION));
  EXPECT_EQ(files.ReadWholeFile(kDefaultLeaders, &bytes), HRESULT_FROM_WIN32(ERROR_SHARING_VIOLATION));
  EXPECT_EQ(files.ReadWholeFile(kDefaultLeaders, &bytes), S_OK);
  EXPECT_EQ(bytes, "data");

  files.FailAllReads(HRESULT_FROM_WIN32(ERROR_FILE_TOO_LARGE));
  for (int i = 0; i < 2; ++i) {
    EXPECT_EQ(files.ReadWholeFile(kDefaultLeaders, &bytes), HRESULT_FROM_WIN32(ERROR_FILE_TOO_LARGE));
  }
  files.FailAllReads(S_OK);
  EXPECT_EQ(files.ReadWholeFile(kDefaultLeaders, &bytes), S_OK);
}

TEST(TempRootFileSystem, FailedWritesKeepTheOldFileAndLeaveNoTemporary) {
  using Failure = TempRootFileSystem::WriteFailure;
  const HRESULT diskFull = HRESULT_FROM_WIN32(kErrorDiskFull);
  for (const Failure failure : {Failure::OnCreate, Failure::AfterHalf, Failure::OnReplace}) {
    SCOPED_TRACE(static_cast<int>(failure));
    TempRootFileSystem files;
    ASSERT_TRUE(files.WriteRealFile(kDefaultLeaders, "old content"));
    files.FailWrites(failure, diskFull);
    EXPECT_EQ(files.WriteWholeFile(kDefaultLeaders, "new content that is longer"), diskFull);
    EXPECT_EQ(files.WriteWholeFile("C:\\Fresh.txt", "new"), diskFull);

    std::string bytes;
    ASSERT_TRUE(files.ReadRealFile(kDefaultLeaders, &bytes));
    EXPECT_EQ(bytes, "old content");
    EXPECT_EQ(FolderNames(files, kDataFolder), std::vector<std::string>{"TLeaders.txt"});
    EXPECT_FALSE(fs::exists(files.RealPath("C:\\Fresh.txt")));
    EXPECT_FALSE(fs::exists(files.RealPath(TemporaryPathFor("C:\\Fresh.txt"))));

    files.FailWrites(Failure::None, S_OK);
    EXPECT_EQ(files.WriteWholeFile(kDefaultLeaders, "new"), S_OK);
    ASSERT_TRUE(files.ReadRealFile(kDefaultLeaders, &bytes));
    EXPECT_EQ(bytes, "new");
  }
}

TEST(TempRootFileSystem, LeftoverTemporaryIsOverwritten) {
  // A leftover temporary from an earlier crash is overwritten, not appended to, and goes too.
  TempRootFileSystem files;
  ASSERT_TRUE(files.WriteRealFile(TemporaryPathFor(kDefaultLeaders), "stale stale stale"));
  ASSERT_EQ(files.WriteWholeFile(kDefaultLeaders, "fresh"), S_OK);
  std::string bytes;
  ASSERT_TRUE(files.ReadRealFile(kDefaultLeaders, &bytes));
  EXPECT_EQ(bytes, "fresh");
  EXPECT_EQ(FolderNames(files, kDataFolder), std::vector<std::string>{"TLeaders.txt"});
}

}  // namespace

// The lock is the system's, not the object's: another process finds it held.
TEST(TempRootFileSystem, LockIsHeldAcrossProcesses) {
  TempRootFileSystem files;
  const std::string lockPath = "C:\\TLeaders.txt.tl-lock";
  std::unique_ptr<FileLock> held;
  ASSERT_EQ(files.LockFile(lockPath, 0, &held), S_OK);
  const pid_t child = fork();
  if (child == 0) {
    TempRootFileSystem* same = &files;
    std::unique_ptr<FileLock> other;
    _exit(same->LockFile(lockPath, 0, &other) == HRESULT_FROM_WIN32(ERROR_SHARING_VIOLATION) ? 0 : 1);
  }
  int status = -1;
  waitpid(child, &status, 0);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
}

// The cases every file port shares, over a folder of the stand-in's root.
struct TempRootSide {
  TempRootSide() { files.CreateFolder(folder); }
  std::vector<std::string> Names(const std::string& path) const { return FolderNames(files, path); }
  TempRootFileSystem files;
  std::string folder = "C:\\Work";
};
INSTANTIATE_TYPED_TEST_SUITE_P(TempRoot, FilePortContract, TempRootSide);
