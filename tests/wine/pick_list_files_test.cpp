// The picklist file and DataPath as a host session with the real DLL leaves them, on the ANSI
// code pages users run: 1252 in the suite's own run, 932 in a second run of this program under a
// Japanese locale (ctest's wine_tests_cp932). Each case runs on its own code page only.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "addin_session.h"

#include <winioctl.h>

namespace {

using namespace std::string_literals;

// Wine's own way of making a drive come and go (winecfg uses it): its mount manager links
// the drive letter to a Unix folder, or removes the link.
constexpr DWORD kDefineUnixDrive = CTL_CODE('m', 32, METHOD_BUFFERED, FILE_READ_ACCESS | FILE_WRITE_ACCESS);
struct UnixDriveRequest {
  ULONG size;
  ULONG type;
  ULONG fsType;
  DWORD serial;
  ULONGLONG unixDevice;
  WCHAR letter;
  USHORT mountPointOffset;
  USHORT deviceOffset;
  USHORT labelOffset;
};

// Links drive `letter` to the folder `target`, or removes it when `target` is empty.
bool DefineDrive(wchar_t letter, const std::wstring& target) {
  std::string unixPath;
  if (!target.empty()) {
    using UnixName = char*(CDECL*)(const WCHAR*);
    const auto unixName = reinterpret_cast<UnixName>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name")));
    char* name = unixName ? unixName(target.c_str()) : nullptr;
    if (name == nullptr) return false;
    unixPath = name;
    HeapFree(GetProcessHeap(), 0, name);
  }
  std::vector<char> request(sizeof(UnixDriveRequest) + unixPath.size() + 1);
  auto* drive = reinterpret_cast<UnixDriveRequest*>(request.data());
  drive->size = static_cast<ULONG>(request.size());
  drive->letter = letter;
  drive->type = unixPath.empty() ? DRIVE_NO_ROOT_DIR : DRIVE_FIXED;
  if (!unixPath.empty()) {
    drive->mountPointOffset = sizeof(UnixDriveRequest);
    unixPath.copy(request.data() + sizeof(UnixDriveRequest), unixPath.size());
  }
  const HANDLE manager = CreateFileW(L"\\\\.\\MountPointManager", GENERIC_READ | GENERIC_WRITE,
                                     FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
  if (manager == INVALID_HANDLE_VALUE) return false;
  DWORD returned = 0;
  const bool done = DeviceIoControl(manager, kDefineUnixDrive, request.data(), static_cast<DWORD>(request.size()),
                                    nullptr, 0, &returned, nullptr) != FALSE;
  CloseHandle(manager);
  return done;
}

void RemoveAll(const std::wstring& path) {
  WIN32_FIND_DATAW found;
  const HANDLE search = FindFirstFileW((path + L"\\*").c_str(), &found);
  if (search != INVALID_HANDLE_VALUE) {
    do {
      const std::wstring name = found.cFileName;
      if (name == L"." || name == L"..") continue;
      if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        RemoveAll(path + L"\\" + name);
      } else {
        DeleteFileW((path + L"\\" + name).c_str());
      }
    } while (FindNextFileW(search, &found));
    FindClose(search);
  }
  RemoveDirectoryW(path.c_str());
}

bool WriteFileBytes(const std::wstring& path, const std::string& bytes) {
  const HANDLE out =
      CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (out == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  const bool done = WriteFile(out, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) != FALSE;
  CloseHandle(out);
  return done && written == bytes.size();
}

std::string ReadFileBytes(const std::wstring& path) {
  const HANDLE in = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  if (in == INVALID_HANDLE_VALUE) return "<missing>";
  std::string bytes(GetFileSize(in, nullptr), '\0');
  DWORD read = 0;
  if (!bytes.empty()) ReadFile(in, &bytes[0], static_cast<DWORD>(bytes.size()), &read, nullptr);
  CloseHandle(in);
  return bytes;
}

std::wstring StoredDataPath() {
  wchar_t value[2048] = {};
  DWORD size = sizeof value;
  RegGetValueW(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Varnkit", L"DataPath", RRF_RT_REG_SZ, nullptr, value, &size);
  return value;
}

// Shift-JIS text whose bytes do not survive a conversion to wide text and back: a lead byte
// before a line break, UTF-8 as a text editor saves it, a lead byte at the end.
const std::string kNotRoundTripping =
    "<TLT><NAME>A\x82\nB</NAME></TLT>\r\n<TLT><NAME>M\xc3\xbcller \xe2\x80\x93 5</NAME></TLT>\r\n\x81";
const std::string kStored = "<TLT><NAME>Valve</NAME></TLT>\r\n<TLT><NAME>Pump</NAME></TLT>\r\n\0"s;

// Windows-1252 holds every byte; the five it does not define come back unchanged too.
const std::string kWindows1252 = "<TLT><NAME>Caf\xe9 \x81\x8d\x8f\x90\x9d\xff</NAME></TLT>\r\n";

struct FileCase {
  const char* name;
  UINT codePage;
  std::wstring dataPath;                  // below the cases' folder; on drive M: when it starts so
  std::optional<std::string> fileBefore;  // the picklist file in the data folder at start
  std::wstring fileAfter;                 // where the list is afterwards, below the same base
  std::string bytesAfter;
  std::vector<std::wstring> absent;  // below the cases' folder, things no session may leave
  bool driveGoneAtStart = false;     // drive M: comes back only after Initialize
};

TEST(PickListFiles, SessionLeavesTheListWhereAndAsItBelongs) {
  wchar_t temp[MAX_PATH] = {};
  GetTempPathW(MAX_PATH, temp);
  const std::wstring root = std::wstring(temp) + L"tallyline-files\\";
  const std::wstring longPath = L"D:\\" + std::wstring(600, L'p');
  const FileCase cases[] = {
      {"drive not there at start", 1252, L"M:\\Data\\", kStored, L"M:\\Data\\TLeaders.txt", kStored, {}, true},
      {"untouched on 1252", 1252, L"Data", kWindows1252 + "\0tail"s, L"Data\\TLeaders.txt", kWindows1252 + '\0'},
      {"untouched on 932", 932, L"Data", kNotRoundTripping + "\0tail"s, L"Data\\TLeaders.txt",
       kNotRoundTripping + '\0'},
      {"non-ASCII folder on 1252",
       1252,
       L"Zeichnungen\\M\u00fcller",
       {},
       L"Zeichnungen\\M\u00fcller\\TLeaders.txt",
       "\0"s},
      {"non-ASCII folder on 932",
       932,
       L"\u56f3\u9762\\\u30c7\u30fc\u30bf",
       {},
       L"\u56f3\u9762\\\u30c7\u30fc\u30bf\\TLeaders.txt",
       "\0"s},
      // U+8868 is 0x95 0x5C on 932: its second byte is a backslash.
      {"folder ending in 0x5C", 932, L"\u8868\\", kStored, L"\u8868\\TLeaders.txt", kStored, {L"\u8868TLeaders.txt"}},
      {"folder with 0x5C inside", 932, L"\u8868\u793a", {}, L"\u8868\u793a\\TLeaders.txt", "\0"s, {L"\u8868"}},
      {"DataPath too long to take", 1252, longPath, {}, L"", "", {}},
  };
  int ran = 0;
  for (const FileCase& c : cases) {
    if (c.codePage != GetACP()) continue;
    SCOPED_TRACE(c.name);
    ++ran;
    RemoveAll(root.substr(0, root.size() - 1));
    ASSERT_TRUE(CreateDirectoryW(root.c_str(), nullptr));
    const bool onDrive = c.dataPath.rfind(L"M:", 0) == 0;
    const bool absolute = onDrive || c.dataPath == longPath;
    if (onDrive) {
      CreateDirectoryW((root + L"drive-m").c_str(), nullptr);
      ASSERT_TRUE(DefineDrive(L'm', root + L"drive-m")) << "Wine's mount manager";
    }
    const std::wstring base = absolute ? L"" : root;
    if (c.fileBefore) {
      const std::wstring folder = base + c.fileAfter.substr(0, c.fileAfter.rfind(L'\\'));
      CreateDirectoryW(folder.substr(0, folder.rfind(L'\\')).c_str(), nullptr);
      CreateDirectoryW(folder.c_str(), nullptr);
      ASSERT_TRUE(WriteFileBytes(base + c.fileAfter, *c.fileBefore));
    }
    if (c.driveGoneAtStart) {
      ASSERT_TRUE(DefineDrive(L'm', L""));
    }

    SessionStart start;
    start.dataPath = base + c.dataPath;
    {
      AddinSession session(start);
      if (c.driveGoneAtStart) {
        ASSERT_TRUE(DefineDrive(L'm', root + L"drive-m"));
      }
    }

    if (!c.fileAfter.empty()) {
      EXPECT_EQ(ReadFileBytes(base + c.fileAfter), c.bytesAfter);
    }
    for (const std::wstring& name : c.absent) {
      EXPECT_EQ(GetFileAttributesW((root + name).c_str()), INVALID_FILE_ATTRIBUTES) << "stray " << name;
    }
    EXPECT_EQ(StoredDataPath(), start.dataPath);
    if (onDrive) DefineDrive(L'm', L"");
  }
  RemoveAll(root.substr(0, root.size() - 1));
  if (ran == 0) GTEST_SKIP() << "no case for code page " << GetACP();
}

}  // namespace
