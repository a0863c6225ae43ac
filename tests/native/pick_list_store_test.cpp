// The picklist file: the data folder it is found in, what a load takes from it, what a save
// writes, and the failures that must not cost the user a stored list.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "addin/tool/pick_list_glue.h"
#include "testing/temp_root_file_system.h"
#include "testing/test_double_byte_code_page.h"
#include "testing/windows1252_code_page.h"
#include "pick_list/pick_list_records.h"
#include "pick_list/pick_list_store.h"
#include "pick_list_folder.h"

namespace {

using namespace std::string_literals;
namespace fs = std::filesystem;

// The file port with every call written down, passed on to a temporary tree.
class RecordingFileSystem : public FileSystem {
 public:
  HRESULT CreateFolder(const std::string& path) override {
    calls.push_back("CreateFolder " + path);
    return files.CreateFolder(path);
  }
  HRESULT ReadWholeFile(const std::string& path, std::string* bytes) override {
    calls.push_back("Read " + path);
    return files.ReadWholeFile(path, bytes);
  }
  HRESULT WriteWholeFile(const std::string& path, std::string_view bytes) override {
    calls.push_back("Write " + path);
    return files.WriteWholeFile(path, bytes);
  }
  HRESULT WriteNewFile(const std::string& path, std::string_view bytes) override {
    calls.push_back("WriteNew " + path);
    return files.WriteNewFile(path, bytes);
  }
  HRESULT ReadFileStamp(const std::string& path, FileStamp* stamp) override {
    calls.push_back("Stamp " + path);
    return files.ReadFileStamp(path, stamp);
  }
  HRESULT LockFile(const std::string& path, uint32_t timeoutMs, std::unique_ptr<FileLock>* lock) override {
    calls.push_back("Lock " + path);
    return files.LockFile(path, timeoutMs, lock);
  }
  std::string ComputerAndTime() override { return "PC-7 2026-03-01 14-05-09"; }
  std::string UserDataFolder() override { return files.UserDataFolder(); }
  std::string ExpandEnvironment(const std::string& text) override { return files.ExpandEnvironment(text); }

  TempRootFileSystem files;
  std::vector<std::string> calls;
};

class PickListStoreTest : public testing::Test {
 protected:
  PickListStoreTest() { members.DataPath = kDataPath; }

  std::string FileContent(const std::string& path = kLeaders) const {
    std::string bytes = "(no file)";
    files.ReadRealFile(path, &bytes);
    return bytes;
  }

  TempRootFileSystem files;
  Windows1252CodePage codePage;
  PickListStore store{files, codePage};
  StoredOptions members;
};

TEST(PickListFilePath, BuildsTheFolderPieceByPiece) {
  struct Case {
    std::string dataPath;
    std::string file;
    std::vector<std::string> folders;
    bool doubleByte = false;  // on the double-byte test page, where 0x5C can be a trail byte
  };
  const Case cases[] = {
      {"C:\\a\\b", "C:\\a\\b\\TLeaders.txt", {"C:\\a\\", "C:\\a\\b\\"}},
      {"C:\\a\\b\\", "C:\\a\\b\\TLeaders.txt", {"C:\\a\\", "C:\\a\\b\\"}},
      {"C:\\\\a\\\\\\\\b", "C:\\a\\b\\TLeaders.txt", {"C:\\a\\", "C:\\a\\b\\"}},
      // A share, and a drive or share after the long-path prefix: the folders below them are made.
      {"\\\\server\\share\\x\\y",
       "\\\\server\\share\\x\\y\\TLeaders.txt",
       {"\\\\server\\share\\x\\", "\\\\server\\share\\x\\y\\"}},
      {"\\\\server\\share", "\\\\server\\share\\TLeaders.txt", {}},
      {"\\\\server", "", {}},
      {"\\\\?\\C:\\a", "\\\\?\\C:\\a\\TLeaders.txt", {"\\\\?\\C:\\a\\"}},
      {"\\\\?\\unc\\server\\share\\x",
       "\\\\?\\unc\\server\\share\\x\\TLeaders.txt",
       {"\\\\?\\unc\\server\\share\\x\\"}},
      // Variables of the environment are expanded; an unknown one stays as written.
      {"%APPDATA%\\Tallyline\\",
       "C:\\Users\\D\\AppData\\Tallyline\\TLeaders.txt",
       {"C:\\Users\\", "C:\\Users\\D\\", "C:\\Users\\D\\AppData\\", "C:\\Users\\D\\AppData\\Tallyline\\"}},
      {"\\\\%SERVER%\\cad\\%NONE%", "\\\\files\\cad\\%NONE%\\TLeaders.txt", {"\\\\files\\cad\\%NONE%\\"}},
      {"C:", "C:\\TLeaders.txt", {}},
      {"Data", "Data\\TLeaders.txt", {}},
      {"C:\\a\0b\\c"s, "C:\\a\\TLeaders.txt", {"C:\\a\\"}},
      {"", "", {}},
      {"\\\\\\", "", {}},
      {"C:\\a\x81\\\\", "C:\\a\x81\\\\TLeaders.txt", {"C:\\a\x81\\\\"}, true},
      {"C:\\a\\\x81\\\x81\\", "C:\\a\\\x81\\\x81\\\\TLeaders.txt", {"C:\\a\\", "C:\\a\\\x81\\\x81\\\\"}, true},
      {"C:\\a\\\x81\\b\\\xa0\\",
       "C:\\a\\\x81\\b\\\xa0\\TLeaders.txt",
       {"C:\\a\\", "C:\\a\\\x81\\b\\", "C:\\a\\\x81\\b\\\xa0\\"},
       true},
      {"C:\\a\\\x81\\\\\\\\b",
       "C:\\a\\\x81\\\\b\\TLeaders.txt",
       {"C:\\a\\", "C:\\a\\\x81\\\\", "C:\\a\\\x81\\\\b\\"},
       true},
  };
  const Windows1252CodePage windows1252;
  const TestDoubleByteCodePage doubleByte;
  for (const Case& c : cases) {
    RecordingFileSystem recorder;
    recorder.files.SetEnvironment("APPDATA", "C:\\Users\\D\\AppData");
    recorder.files.SetEnvironment("SERVER", "files");
    const CodePage& page = c.doubleByte ? static_cast<const CodePage&>(doubleByte) : windows1252;
    EXPECT_EQ(PickListFilePath(recorder, page, c.dataPath), c.file) << c.dataPath;
    std::vector<std::string> expected;
    for (const std::string& folder : c.folders) expected.push_back("CreateFolder " + folder);
    EXPECT_EQ(recorder.calls, expected) << c.dataPath;
  }
}

TEST(PickListFilePath, CreatesEachFolderInTurnAndIgnoresFailures) {
  TempRootFileSystem files;
  const Windows1252CodePage page;
  EXPECT_EQ(PickListFilePath(files, page, "C:\\one\\two\\three"), "C:\\one\\two\\three\\TLeaders.txt");
  EXPECT_TRUE(fs::is_directory(files.RealPath("C:\\one\\two\\three")));
  EXPECT_EQ(PickListFilePath(files, page, "C:\\one\\two\\three"), "C:\\one\\two\\three\\TLeaders.txt");

  files.FailFolderCreation(E_ACCESSDENIED);
  EXPECT_EQ(PickListFilePath(files, page, "C:\\denied\\x"), "C:\\denied\\x\\TLeaders.txt");
  EXPECT_FALSE(fs::exists(files.RealPath("C:\\denied")));
}

TEST(PickListStore, EmptyDataPathTouchesNothing) {
  RecordingFileSystem recorder;
  Windows1252CodePage codePage;
  PickListStore store(recorder, codePage);
  StoredOptions members;
  members.DataPath.clear();
  members.PickListText = u"<TLT><NAME>kept</NAME></TLT>\r\n";
  LoadPickList(store, members);
  EXPECT_EQ(members.PickListText, u"");
  members.PickListText = u"<TLT><NAME>new</NAME></TLT>\r\n";
  SavePickList(store, members);
  EXPECT_TRUE(recorder.calls.empty());
  EXPECT_FALSE(store.LoadFailed());
}

TEST_F(PickListStoreTest, MissingFileIsCreatedEmpty) {
  members.DataPath = "C:\\New\\Folder";
  LoadPickList(store, members);
  EXPECT_EQ(members.PickListText, u"");
  EXPECT_FALSE(store.LoadFailed());
  EXPECT_EQ(FileContent("C:\\New\\Folder\\TLeaders.txt"), "");

  members.PickListText = u"<TLT><NAME>a</NAME></TLT>\r\n";
  SavePickList(store, members);
  EXPECT_EQ(FileContent("C:\\New\\Folder\\TLeaders.txt"), "<TLT><NAME>a</NAME></TLT>\r\n\0"s);
}

TEST_F(PickListStoreTest, FolderThatCannotBeMadeIsAFailedLoad) {
  files.FailFolderCreation(E_ACCESSDENIED);
  members.DataPath = "C:\\Locked\\Data";
  LoadPickList(store, members);
  EXPECT_EQ(members.PickListText, u"");
  EXPECT_TRUE(store.LoadFailed()) << "the file could neither be read nor created";
  EXPECT_FALSE(fs::exists(files.RealPath("C:\\Locked")));

  files.FailFolderCreation(S_OK);
  members.PickListText = u"x";
  SavePickList(store, members);
  EXPECT_EQ(FileContent("C:\\Locked\\Data\\TLeaders.txt"), "x\0"s);
}

TEST_F(PickListStoreTest, LoadTakesTheTextButTheFinalZeroByte) {
  struct Case {
    std::string file;
    std::u16string text;
  };
  const Case cases[] = {
      {"", u""},
      {"\0"s, u""},
      {"<TLT><NAME>a</NAME></TLT>\r\n\0"s, u"<TLT><NAME>a</NAME></TLT>\r\n"},
      {"abc\0def\0"s, u"abc\0def"s},
      {"no zero at the end", u"no zero at the end"},
      {"caf\xe9 \x80\x81\0\xff"s, u"caf\u00e9 \u20ac\u0081\0\u00ff"s},
      {"\xEF\xBB\xBF"
       "caf\xC3\xA9 \xE2\x8C\x80\0\xff"s,
       u"\uFEFFcaf\u00e9 \u2300\0\uFFFD"s},
      {"\xEF\xBB\xBF", u"\uFEFF"},
      {"x\xEF\xBB\xBF", u"x\u00ef\u00bb\u00bf"},
  };
  for (const Case& c : cases) {
    ASSERT_TRUE(files.WriteRealFile(kLeaders, c.file));
    LoadPickList(store, members);
    EXPECT_EQ(members.PickListText, c.text) << c.file;
    EXPECT_FALSE(store.LoadFailed());
    EXPECT_EQ(FileContent(), c.file) << "a load leaves the file alone";
  }
}

TEST_F(PickListStoreTest, SaveWritesTheTextAndOneZeroByte) {
  struct Case {
    const char* name;
    std::optional<std::u16string> text;
    std::string file;
  };
  const Case cases[] = {
      {"none", std::nullopt, "\0"s},
      {"empty", u"", "\0"s},
      {"records", u"<TLT><NAME>a</NAME></TLT>\r\n", "<TLT><NAME>a</NAME></TLT>\r\n\0"s},
      {"characters the page holds", u"<TLT><NAME>x\u00e9\u20ac</NAME></TLT>\r\n",
       "<TLT><NAME>x\xe9\x80</NAME></TLT>\r\n\0"s},
      {"a character it lacks: UTF-8 with the mark", u"<TLT><NAME>\u4e00x\u00e9</NAME></TLT>\r\n",
       "\xEF\xBB\xBF<TLT><NAME>\xE4\xB8\x80x\xC3\xA9</NAME></TLT>\r\n\0"s},
      {"marked", u"\uFEFFab",
       "\xEF\xBB\xBF"
       "ab\0"s},
      {"marked, a lone surrogate", u"\uFEFF\xD800", "\xEF\xBB\xBF\xEF\xBF\xBD\0"s},
      {"zero inside the text: nothing after it is lost", u"ab\0cd"s, "abcd\0"s},
      {"zero before the character it lacks", u"ab\0\u4e00"s,
       "\xEF\xBB\xBF"
       "ab\xE4\xB8\x80\0"s},
  };
  ASSERT_TRUE(files.WriteRealFile(kLeaders, "old contents\0"s));
  for (const Case& c : cases) {
    members.PickListText = c.text;
    SavePickList(store, members);
    EXPECT_EQ(FileContent(), c.file) << c.name;
  }
}

// An untouched list is not written; in a changed one, the untouched items keep their bytes.
TEST_F(PickListStoreTest, WrittenFileComesBackByteForByte) {
  std::string all;
  for (int byte = 1; byte < 256; ++byte) all.push_back(static_cast<char>(byte));
  const std::string records = "<TLT><NAME>" + all + "</NAME></TLT>\r\n<TLT><NAME></NAME></TLT>\r\n";
  const std::string added = "<TLT><NAME>new</NAME></TLT>\r\n";
  TestDoubleByteCodePage doubleByte;
  PickListStore doubleByteStore(files, doubleByte);
  const std::string doubleByteRecords = "<TLT><NAME>\x81<\x9f\xfc\xa0z</NAME></TLT>\r\n";
  for (const auto& [pageStore, file] : {std::pair<PickListStore*, std::string>{&store, records},
                                        std::pair<PickListStore*, std::string>{&doubleByteStore, doubleByteRecords}}) {
    ASSERT_TRUE(files.WriteRealFile(kLeaders, file));
    LoadPickList(*pageStore, members);
    SavePickList(*pageStore, members);
    EXPECT_EQ(FileContent(), file) << "untouched: not even the final zero is added";
    *members.PickListText += u"<TLT><NAME>new</NAME></TLT>\r\n";
    SavePickList(*pageStore, members);
    EXPECT_EQ(FileContent(), file + added + '\0');
  }
}

TEST_F(PickListStoreTest, FailedWriteKeepsTheOldFile) {
  using Failure = TempRootFileSystem::WriteFailure;
  const std::string old = "<TLT><NAME>old</NAME></TLT>\r\n\0"s;
  ASSERT_TRUE(files.WriteRealFile(kLeaders, old));
  LoadPickList(store, members);
  members.PickListText = u"<TLT><NAME>new and longer</NAME></TLT>\r\n";
  for (const Failure failure : {Failure::OnCreate, Failure::AfterHalf, Failure::OnReplace}) {
    files.FailWrites(failure, HRESULT_FROM_WIN32(kErrorDiskFull));
    SavePickList(store, members);
    EXPECT_EQ(FileContent(), old) << static_cast<int>(failure);
    EXPECT_FALSE(fs::exists(files.RealPath(TemporaryPathFor(kLeaders)))) << static_cast<int>(failure);
  }
  files.FailWrites(Failure::None, S_OK);
  SavePickList(store, members);
  EXPECT_EQ(FileContent(), "<TLT><NAME>new and longer</NAME></TLT>\r\n\0"s);
}

// A list that could not be read at load is no empty list: a save merges the user's items with
// the file as it is then, and never writes the file over.
TEST_F(PickListStoreTest, FileThatCouldNotBeReadIsMergedNotOverwritten) {
  const std::string stored = "<TLT><NAME>stored</NAME></TLT>\r\n\0"s;
  const std::string merged = "<TLT><NAME>added</NAME></TLT>\r\n<TLT><NAME>stored</NAME></TLT>\r\n\0"s;
  for (const HRESULT hr :
       {HRESULT_FROM_WIN32(ERROR_SHARING_VIOLATION), HRESULT_FROM_WIN32(ERROR_ACCESS_DENIED),
        HRESULT_FROM_WIN32(ERROR_FILE_TOO_LARGE), HRESULT_FROM_WIN32(ERROR_READ_FAULT), E_OUTOFMEMORY}) {
    SCOPED_TRACE(hr);
    ASSERT_TRUE(files.WriteRealFile(kLeaders, stored));
    files.FailNextRead(hr);
    members.PickListText = u"<TLT><NAME>before</NAME></TLT>\r\n";
    LoadPickList(store, members);
    EXPECT_EQ(members.PickListText, u"");
    EXPECT_TRUE(store.LoadFailed());

    members.PickListText = u"<TLT><NAME>added</NAME></TLT>\r\n";
    SavePickList(store, members);
    EXPECT_EQ(FileContent(), merged);
    EXPECT_FALSE(store.LoadFailed());
    members.DataPath = "c:\\DATA";  // the same file to Windows
    SavePickList(store, members);
    EXPECT_EQ(FileContent(), merged);
    EXPECT_FALSE(fs::exists(files.RealPath("C:\\DATA\\TLeaders.txt")));
    members.DataPath = kDataPath;
  }
}

TEST_F(PickListStoreTest, FailedLoadProtectsOnlyItsOwnFile) {
  const std::string stored = "<TLT><NAME>stored</NAME></TLT>\r\n\0"s;
  ASSERT_TRUE(files.WriteRealFile(kLeaders, stored));
  files.FailNextRead(HRESULT_FROM_WIN32(ERROR_SHARING_VIOLATION));
  LoadPickList(store, members);
  ASSERT_TRUE(store.LoadFailed());

  // The user chose another data folder after the failed load.
  members.DataPath = "C:\\Other";
  members.PickListText = u"<TLT><NAME>a</NAME></TLT>\r\n";
  SavePickList(store, members);
  EXPECT_EQ(FileContent("C:\\Other\\TLeaders.txt"), "<TLT><NAME>a</NAME></TLT>\r\n\0"s);
  EXPECT_EQ(FileContent(), stored);

  // A later load that reads the file lifts the protection.
  members.DataPath = kDataPath;
  LoadPickList(store, members);
  EXPECT_FALSE(store.LoadFailed());
  EXPECT_EQ(members.PickListText, u"<TLT><NAME>stored</NAME></TLT>\r\n");
  members.PickListText = u"";
  SavePickList(store, members);
  EXPECT_EQ(FileContent(), "\0"s);
}

// The data folder's drive is not there when the host starts (a network drive not yet
// reconnected, a USB stick) and back when it ends; meanwhile the user confirmed a new list.
TEST_F(PickListStoreTest, FileOutOfReachAtLoadIsMergedWhenBack) {
  struct Case {
    const char* name;
    std::optional<std::string> fileAtSave;  // none: there is no file when the drive is back
    std::string saved;
  };
  const std::string stored = "<TLT><NAME>stored</NAME></TLT>\r\n\0"s;
  const Case cases[] = {
      {"a stored list is merged", stored, "<TLT><NAME>stored</NAME></TLT>\r\n<TLT><NAME>typed</NAME></TLT>\r\n\0"s},
      {"an empty file gets the list", ""s, "<TLT><NAME>typed</NAME></TLT>\r\n\0"s},
      {"without a file the new list is written", std::nullopt, "<TLT><NAME>typed</NAME></TLT>\r\n\0"s},
  };
  const fs::path drive = files.RealPath("C:\\");
  const fs::path away = drive.string() + "-away";
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    fs::remove_all(drive);
    fs::create_directory(drive);
    if (c.fileAtSave) {
      ASSERT_TRUE(files.WriteRealFile(kLeaders, *c.fileAtSave));
    }
    fs::rename(drive, away);
    LoadPickList(store, members);
    EXPECT_EQ(members.PickListText, u"");
    EXPECT_TRUE(store.LoadFailed());

    fs::rename(away, drive);
    members.PickListText = u"<TLT><NAME>typed</NAME></TLT>\r\n";
    SavePickList(store, members);
    EXPECT_EQ(FileContent(), c.saved);
  }
}

// Files in each encoding: the items a load finds, that an untouched list is not written, and
// the bytes after one item was added. Items nobody changed keep their bytes even where the
// encoding does not give them back (a broken double-byte pair, a broken UTF-8 sequence); a list
// goes over to UTF-8 only for a character that the ANSI code page lacks.
TEST_F(PickListStoreTest, EachFileGoesBackInItsEncodingWithItsBytes) {
  struct Case {
    const char* name;
    bool doubleByte;  // the double-byte test page; Windows-1252 otherwise
    std::string file;
    std::vector<std::u16string> items;
    std::u16string added;
    std::string edited;  // the file after `added` joined the list
  };
  const std::string mark = "\xEF\xBB\xBF";
  const std::string cafe = "<TLT><NAME>Caf\xe9</NAME></TLT>\r\n";
  const std::string brokenPair = "<TLT><NAME>A\x82\nB</NAME></TLT>\r\n";
  const std::string utf8 = "<TLT><NAME>M\xc3\xbcller \xe2\x80\x93 5</NAME></TLT>\r\n";
  const std::string diameter = "<TLT><NAME>\xE2\x8C\x80 5</NAME></TLT>\r\n";
  const std::string broken = "<TLT><NAME>a\xE2\x8C</NAME></TLT>\r\n<TLT><NAME>\xC0\xAF</NAME></TLT>\r\n";
  const std::string tee = "<TLT><NAME>Tee</NAME></TLT>\r\n";
  const Case cases[] = {
      {"ANSI", false, cafe + '\0', {u"Caf\u00e9"}, u"Tee", cafe + tee + '\0'},
      {"ANSI gaining characters it lacks",
       false,
       cafe + '\0',
       {u"Caf\u00e9"},
       u"\u2300 5 \u2264 \u56f3\u9762",
       mark + "<TLT><NAME>Caf\xC3\xA9</NAME></TLT>\r\n"
              "<TLT><NAME>\xE2\x8C\x80 5 \xE2\x89\xA4 \xE5\x9B\xB3\xE9\x9D\xA2</NAME></TLT>\r\n\0"s},
      {"ANSI on the double-byte page, a broken pair",
       true,
       brokenPair + '\0',
       {u"A?B"},
       u"Tee",
       brokenPair + tee + '\0'},
      {"ANSI, a lead byte at the end",
       true,
       brokenPair + "\x81\0"s,
       {u"A?B"},
       u"Tee",
       brokenPair + "?" + tee + '\0'},  // text outside records is no item
      {"UTF-8 without the mark is ANSI",
       false,
       utf8,
       {u"M\u00c3\u00bcller \u00e2\u20ac\u201c 5"},
       u"Tee",
       utf8 + tee + '\0'},
      {"UTF-8 with the mark", false, mark + diameter + '\0', {u"\u2300 5"}, u"Tee", mark + diameter + tee + '\0'},
      {"marked, ASCII only, stays UTF-8", true, mark + tee, {u"Tee"}, u"Tee", mark + tee + tee + '\0'},
      {"marked, broken sequences",
       false,
       mark + broken + "\xFF\0"s,
       {u"a\uFFFD", u"\uFFFD\uFFFD"},
       u"Tee",
       mark + broken + "\xEF\xBF\xBD" + tee + '\0'},
      {"empty marked file", false, mark, {}, u"\u2300", mark + "<TLT><NAME>\xE2\x8C\x80</NAME></TLT>\r\n\0"s},
  };
  TestDoubleByteCodePage doubleByte;
  PickListStore doubleByteStore(files, doubleByte);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    PickListStore& pageStore = c.doubleByte ? doubleByteStore : store;
    ASSERT_TRUE(files.WriteRealFile(kLeaders, c.file));
    LoadPickList(pageStore, members);
    const std::u16string text = members.PickListText.value_or(u"(none)");
    const std::vector<std::u16string_view> found = FindRecordItems(std::u16string_view(text));
    EXPECT_EQ(std::vector<std::u16string>(found.begin(), found.end()), c.items);
    SavePickList(pageStore, members);
    EXPECT_EQ(FileContent(), c.file) << "an untouched list is not written";

    ASSERT_TRUE(files.WriteRealFile(kLeaders, c.file));
    LoadPickList(pageStore, members);
    *members.PickListText += u"<TLT><NAME>" + c.added + u"</NAME></TLT>\r\n";
    SavePickList(pageStore, members);
    EXPECT_EQ(FileContent(), c.edited);
  }
}

TEST_F(PickListStoreTest, LongDataPathIsUsedWhole) {
  std::string dataPath = "C:";
  for (int i = 0; i < 12; ++i) dataPath += "\\" + std::string(60, static_cast<char>('a' + i));
  ASSERT_GT(dataPath.size(), kDataPathMaxLength);
  members.DataPath = dataPath;
  LoadPickList(store, members);
  const std::string file = dataPath + "\\TLeaders.txt";
  EXPECT_EQ(FileContent(file), "");
  members.PickListText = u"<TLT><NAME>deep</NAME></TLT>\r\n";
  SavePickList(store, members);
  EXPECT_EQ(FileContent(file), "<TLT><NAME>deep</NAME></TLT>\r\n\0"s);
  LoadPickList(store, members);
  EXPECT_EQ(members.PickListText, u"<TLT><NAME>deep</NAME></TLT>\r\n");
}

}  // namespace
