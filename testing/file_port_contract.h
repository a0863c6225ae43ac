// What a file port does whichever system is behind it: the native stand-in over POSIX files and
// the Windows port under Wine run these same cases, each with a side that gives the port
// (`files`), an empty folder to work in (`folder`, a Windows path) and the names in a folder
// (`Names`). Each side instantiates the suite with INSTANTIATE_TYPED_TEST_SUITE_P.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "framework/files.h"
#include "framework/status.h"

template <class Side>
class FilePortContract : public testing::Test {
 protected:
  Side side;
};
TYPED_TEST_SUITE_P(FilePortContract);

TYPED_TEST_P(FilePortContract, FoldersAreCreatedOnceAndOnlyBelowExistingOnes) {
  FileSystem& files = this->side.files;
  const std::string folder = this->side.folder;
  EXPECT_EQ(files.CreateFolder(folder), S_OK) << "already there";
  EXPECT_EQ(files.CreateFolder(folder + "\\Data\\Deeper"), HRESULT_FROM_WIN32(ERROR_PATH_NOT_FOUND));
  EXPECT_EQ(files.CreateFolder(folder + "\\Data"), S_OK);
  EXPECT_EQ(files.CreateFolder(folder + "\\Data\\Deeper"), S_OK);
  ASSERT_EQ(files.WriteWholeFile(folder + "\\File.txt", "x"), S_OK);
  EXPECT_EQ(files.CreateFolder(folder + "\\File.txt"), HRESULT_FROM_WIN32(kErrorAlreadyExists));
}

TYPED_TEST_P(FilePortContract, WritesReplaceAndReadsGiveTheBytesBack) {
  FileSystem& files = this->side.files;
  const std::string folder = this->side.folder, path = folder + "\\TLeaders.txt";
  std::string bytes = "marker";
  EXPECT_EQ(files.ReadWholeFile(path, &bytes), HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND));
  EXPECT_EQ(files.ReadWholeFile(folder + "\\Missing\\TLeaders.txt", &bytes), HRESULT_FROM_WIN32(ERROR_PATH_NOT_FOUND));
  EXPECT_EQ(files.ReadWholeFile(folder, &bytes), HRESULT_FROM_WIN32(ERROR_ACCESS_DENIED));
  EXPECT_EQ(bytes, "marker");

  ASSERT_EQ(files.WriteWholeFile(path, "first version, long"), S_OK);
  const std::string second("A1\r\n\0\xFF\x80", 7);
  ASSERT_EQ(files.WriteWholeFile(path, second), S_OK);
  ASSERT_EQ(files.ReadWholeFile(path, &bytes), S_OK);
  EXPECT_EQ(bytes, second);
  ASSERT_EQ(files.WriteWholeFile(path, ""), S_OK);
  ASSERT_EQ(files.ReadWholeFile(path, &bytes), S_OK);
  EXPECT_EQ(bytes, "");
  EXPECT_EQ(this->side.Names(folder), std::vector<std::string>{"TLeaders.txt"});

  // A new file is written only where none is, and that test leaves nothing behind.
  EXPECT_EQ(files.WriteNewFile(path, "x"), HRESULT_FROM_WIN32(kErrorAlreadyExists));
  EXPECT_EQ(files.WriteNewFile(folder + "\\Missing\\New.txt", "x"), HRESULT_FROM_WIN32(ERROR_PATH_NOT_FOUND));
  ASSERT_EQ(files.WriteNewFile(folder + "\\New.txt", "new"), S_OK);
  ASSERT_EQ(files.ReadWholeFile(folder + "\\New.txt", &bytes), S_OK);
  EXPECT_EQ(bytes, "new");
  EXPECT_EQ(this->side.Names(folder), (std::vector<std::string>{"New.txt", "TLeaders.txt"}));
}

TYPED_TEST_P(FilePortContract, FailedWritesLeaveNothingBehind) {
  FileSystem& files = this->side.files;
  const std::string folder = this->side.folder;
  EXPECT_EQ(files.WriteWholeFile(folder + "\\Missing\\TLeaders.txt", "x"), HRESULT_FROM_WIN32(ERROR_PATH_NOT_FOUND));
  EXPECT_TRUE(this->side.Names(folder).empty());
  // A folder cannot be replaced by a file, and the temporary file goes.
  ASSERT_EQ(files.CreateFolder(folder + "\\Sub"), S_OK);
  EXPECT_EQ(files.WriteWholeFile(folder + "\\Sub", "x"), HRESULT_FROM_WIN32(ERROR_ACCESS_DENIED));
  EXPECT_EQ(this->side.Names(folder), std::vector<std::string>{"Sub"});
}

// A lock has one holder at a time and leaves no file behind; a stamp tells each version apart.
TYPED_TEST_P(FilePortContract, LockHasOneHolderAndStampsTellVersionsApart) {
  FileSystem& files = this->side.files;
  const std::string folder = this->side.folder;
  const std::string lockPath = folder + "\\TLeaders.txt.tl-lock", path = folder + "\\TLeaders.txt";
  {
    std::unique_ptr<FileLock> held, second;
    ASSERT_EQ(files.LockFile(lockPath, 0, &held), S_OK);
    EXPECT_EQ(files.LockFile(lockPath, 100, &second), HRESULT_FROM_WIN32(ERROR_SHARING_VIOLATION));
    EXPECT_FALSE(second);
  }
  EXPECT_TRUE(this->side.Names(folder).empty()) << "deleted when let go of";
  std::unique_ptr<FileLock> again;
  EXPECT_EQ(files.LockFile(lockPath, 0, &again), S_OK);
  EXPECT_EQ(files.LockFile(folder + "\\Missing\\x.tl-lock", 0, &again), HRESULT_FROM_WIN32(ERROR_PATH_NOT_FOUND));

  FileStamp first, second;
  EXPECT_EQ(files.ReadFileStamp(path, &first), HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND));
  ASSERT_EQ(files.WriteWholeFile(path, "one"), S_OK);
  ASSERT_EQ(files.ReadFileStamp(path, &first), S_OK);
  EXPECT_EQ(first.size, 3u);
  ASSERT_EQ(files.WriteWholeFile(path, "three"), S_OK);
  ASSERT_EQ(files.ReadFileStamp(path, &second), S_OK);
  EXPECT_EQ(second.size, 5u);
  EXPECT_NE(first, second);
}

REGISTER_TYPED_TEST_SUITE_P(FilePortContract, FoldersAreCreatedOnceAndOnlyBelowExistingOnes,
                            WritesReplaceAndReadsGiveTheBytesBack, FailedWritesLeaveNothingBehind,
                            LockHasOneHolderAndStampsTellVersionsApart);
