// Arbitrary bytes as a picklist file, on a single-byte and a double-byte code page and as UTF-8
// after the byte order mark: the reader must follow the reading rule character by character,
// never return an item that ends its own record early, and read back what the writer made of its
// items; a load followed by a save of the untouched list must leave the file as it was, and after
// an edit every item of the file must keep its bytes. The UTF-8 reader must find the same items
// in the bytes as in their UTF-16 text, and a cut must never change a character.
#include <cstdint>
#include <algorithm>
#include <map>
#include <string>
#include <string_view>

#include "addin/tool/pick_list_glue.h"
#include "framework/utf8.h"
#include "testing/test_double_byte_code_page.h"
#include "testing/windows1252_code_page.h"
#include "pick_list/pick_list_records.h"
#include "pick_list/pick_list_store.h"

namespace {

#define FUZZ_CHECK(condition)           \
  do {                                  \
    if (!(condition)) __builtin_trap(); \
  } while (0)

constexpr char kDataPath[] = "C:\\Data";
constexpr char kLeaders[] = "C:\\Data\\TLeaders.txt";

// The file port in memory: a temporary folder per input would make the fuzzer crawl.
class MemoryFileSystem : public FileSystem {
 public:
  HRESULT CreateFolder(const std::string&) override { return S_OK; }
  HRESULT ReadWholeFile(const std::string& path, std::string* bytes) override {
    const auto file = files.find(path);
    if (file == files.end()) return HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND);
    *bytes = file->second;
    return S_OK;
  }
  HRESULT WriteWholeFile(const std::string& path, std::string_view bytes) override {
    files[path] = std::string(bytes);
    return S_OK;
  }
  HRESULT WriteNewFile(const std::string& path, std::string_view bytes) override {
    if (files.count(path) != 0) return HRESULT_FROM_WIN32(kErrorAlreadyExists);
    return WriteWholeFile(path, bytes);
  }
  // Each write is a new version: its stamp counts writes.
  HRESULT ReadFileStamp(const std::string& path, FileStamp* stamp) override {
    const auto file = files.find(path);
    if (file == files.end()) return HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND);
    *stamp = FileStamp{file->second.size(), ++writes};
    return S_OK;
  }
  HRESULT LockFile(const std::string&, uint32_t, std::unique_ptr<FileLock>* lock) override {
    lock->reset(new FileLock);
    return S_OK;
  }
  std::string ComputerAndTime() override { return "PC"; }
  std::string UserDataFolder() override { return "C:\\Local\\"; }
  std::string ExpandEnvironment(const std::string& text) override { return text; }

  std::map<std::string, std::string> files;
  uint64_t writes = 0;
};

// The closing tag where a character of the item starts: it would end the item's record early.
bool HoldsClosingTag(const CodePage& page, std::string_view item) {
  for (size_t pos = 0; pos < item.size(); pos = NextCharBoundary(page, item, pos)) {
    if (item.substr(pos, kRecordCloseTag.size()) == kRecordCloseTag) return true;
  }
  return false;
}

// The reading rule step by step, one character at a time, as the reader's fast paths must
// behave.
size_t FindAtBoundary(const CodePage& page, std::string_view text, std::string_view tag, size_t from) {
  for (size_t pos = from; pos < text.size(); pos = NextCharBoundary(page, text, pos)) {
    if (text.substr(pos, tag.size()) == tag) return pos;
  }
  return std::string_view::npos;
}

std::vector<std::string> ReferenceParse(const CodePage& page, std::string_view text) {
  std::vector<std::string> items;
  for (size_t pos = 0;;) {
    const size_t open = FindAtBoundary(page, text, kRecordOpenTag, pos);
    if (open == std::string_view::npos) return items;
    const size_t close = FindAtBoundary(page, text, kRecordCloseTag, open);
    if (close == std::string_view::npos) return items;
    const size_t start = open + kRecordOpenTag.size();
    items.emplace_back(text.substr(start, close - start));
    pos = close + kRecordCloseTag.size();
  }
}

void CheckRecords(const CodePage& page, std::string_view text) {
  const std::vector<std::string> items = ParsePickList(page, text);
  FUZZ_CHECK(items == ReferenceParse(page, text));
  size_t bytes = 0;
  for (const std::string& item : items) {
    FUZZ_CHECK(!HoldsClosingTag(page, item));
    bytes += kRecordOpenTag.size() + item.size() + kRecordCloseTag.size();
  }
  FUZZ_CHECK(bytes <= text.size());
  FUZZ_CHECK(ParsePickList(page, BuildPickList(items)) == items);
}

// The file's items as bytes: in UTF-8 after the mark, in the code page otherwise.
std::vector<std::string> FileItems(const CodePage& page, std::string_view bytes) {
  bytes = bytes.substr(0, bytes.find('\0'));
  if (bytes.substr(0, kUtf8Mark.size()) != kUtf8Mark) return ParsePickList(page, bytes);
  const std::vector<std::string_view> found = FindRecordItems(bytes);
  return std::vector<std::string>(found.begin(), found.end());
}

// Loaded and saved untouched, the file comes back; with one item added, what the file held as
// items is still there, byte for byte.
void CheckLoadAndSave(const CodePage& page, bool lossless, std::string_view file) {
  MemoryFileSystem files;
  files.files[kLeaders] = std::string(file);
  PickListStore store(files, page);
  StoredOptions members;
  members.DataPath = kDataPath;
  LoadPickList(store, members);
  FUZZ_CHECK(!store.LoadFailed() && members.PickListText.has_value());

  // All the file is read but for one final zero byte; a UTF-8 or UTF-16 file has checks of its own.
  const std::string_view text = !file.empty() && file.back() == '\0' ? file.substr(0, file.size() - 1) : file;
  PickListFileKind kind = PickListFileKind::Ansi;
  PickListFileText(page, file, &kind);
  const std::vector<std::string> items = ParsePickList(page, page.ToAnsi(*members.PickListText));
  if (lossless && kind == PickListFileKind::Ansi) FUZZ_CHECK(items == ParsePickList(page, text));

  SavePickList(store, members);
  // An untouched list is not written: the file keeps its bytes, whatever the code page makes of them.
  FUZZ_CHECK(files.files[kLeaders] == file);

  *members.PickListText += u"<TLT><NAME>added</NAME></TLT>\r\n";
  SavePickList(store, members);
  std::vector<std::string> after = FileItems(page, files.files[kLeaders]);
  std::sort(after.begin(), after.end());
  std::vector<std::string> before =
      kind == PickListFileKind::Utf16 ? std::vector<std::string>() : FileItems(page, file);
  std::sort(before.begin(), before.end());
  FUZZ_CHECK(std::includes(after.begin(), after.end(), before.begin(), before.end()));
}

void CheckUtf8Reader(std::string_view bytes) {
  const std::u16string utf16 = Utf8ToUtf16(bytes);
  FUZZ_CHECK(Utf8ToUtf16(Utf16ToUtf8(utf16)) == utf16);
  const std::vector<std::string_view> inBytes = FindRecordItems(bytes);
  const std::vector<std::u16string_view> inUtf16 = FindRecordItems(std::u16string_view(utf16));
  FUZZ_CHECK(inBytes.size() == inUtf16.size());
  for (size_t i = 0; i < inBytes.size(); ++i) FUZZ_CHECK(Utf8ToUtf16(inBytes[i]) == inUtf16[i]);
  // A few dozen cuts per input: each decodes the whole text again.
  const size_t step = bytes.size() / 32 + 1;
  for (size_t limit = 0; limit <= bytes.size(); limit += step) {
    const size_t boundary = Utf8BoundaryAtOrBefore(bytes, limit);
    FUZZ_CHECK(boundary <= limit && boundary + 3 >= limit);
    const std::u16string head = Utf8ToUtf16(bytes.substr(0, boundary));
    FUZZ_CHECK(utf16.compare(0, head.size(), head) == 0);
    FUZZ_CHECK(Utf8ToUtf16(bytes.substr(boundary)) == utf16.substr(head.size()));
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const Windows1252CodePage windows1252;
  const TestDoubleByteCodePage doubleByte;
  CheckRecords(windows1252, text);
  CheckRecords(doubleByte, text);
  // Every byte of Windows-1252 is a character and back; the test page turns broken pairs to '?'.
  CheckLoadAndSave(windows1252, true, text);
  CheckLoadAndSave(doubleByte, false, text);
  CheckUtf8Reader(text);
  CheckLoadAndSave(windows1252, false, std::string(kUtf8Mark) + std::string(text));
  return 0;
}
