// The picklist file and DataPath as a host session with the real DLL leaves them, on the ANSI
// code pages users run: 1252 in the suite's own run, 932 in a second run of this program under a
// Japanese locale (ctest's wine_tests_cp932). Each case runs on its own code page only.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

#include "addin_session.h"

#include <winioctl.h>

namespace {

using namespace std::string_literals;
namespace fs = std::filesystem;

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

// Files through std::filesystem, which takes wide paths on Windows, whatever the code page.
std::string ReadFileBytes(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return in ? std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()) : "<missing>";
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
// UTF-8 after the byte order mark, with characters no ANSI page holds together and a broken
// sequence.
const std::string kUtf8 =
    "\xEF\xBB\xBF<TLT><NAME>\xE2\x8C\x80 5 \xE2\x89\xA4 \xE5\x9B\xB3\xE9\x9D\xA2</NAME></TLT>\r\n"
    "<TLT><NAME>a\xE2\x8C</NAME></TLT>\r\n";

struct FileCase {
  const char* name;
  UINT codePage;
  std::wstring dataPath;                  // below the cases' folder, or on drive M:
  std::optional<std::string> fileBefore;  // the picklist file in that folder at start
  std::optional<std::string> fileAfter;   // and afterwards; none: not looked at
  std::vector<std::wstring> absent;       // below the cases' folder, what no session may leave
  bool driveGoneAtStart = false;          // drive M: comes back only after Initialize
};

TEST(PickListFiles, SessionLeavesTheListWhereAndAsItBelongs) {
  const fs::path root = fs::temp_directory_path() / L"tallyline-files";
  const std::wstring longPath = L"D:\\" + std::wstring(600, L'p');
  const std::wstring mueller = L"Zeichnungen\\M\u00fcller", zumen = L"\u56f3\u9762\\\u30c7\u30fc\u30bf";
  const FileCase cases[] = {
      {"drive not there at start", 1252, L"M:\\Data\\", kStored, kStored, {}, true},
      {"drive not there at start, UTF-8", 1252, L"M:\\Data\\", kUtf8, kUtf8, {}, true},
      {"untouched on 1252", 1252, L"Data", kWindows1252 + "\0tail"s, kWindows1252 + "\0tail"s},
      {"untouched on 932", 932, L"Data", kNotRoundTripping + "\0tail"s, kNotRoundTripping + "\0tail"s},
      {"non-ASCII folder on 1252", 1252, mueller, {}, ""s},
      {"non-ASCII folder on 932", 932, zumen, {}, ""s},
      // U+8868 is 0x95 0x5C on 932: its second byte is a backslash.
      {"folder ending in 0x5C", 932, L"\u8868\\", kStored, kStored, {L"\u8868TLeaders.txt"}},
      {"UTF-8 in a folder ending in 0x5C", 932, L"\u8868\\", kUtf8, kUtf8, {L"\u8868TLeaders.txt"}},
      {"folder with 0x5C inside", 932, L"\u8868\u793a", {}, ""s, {L"\u8868"}},
      {"DataPath too long to take", 1252, longPath, {}, {}},
      // After the long-path prefix: the folders below the drive are made, none named "?".
      {"a long-path name", 1252, L"\\\\?\\LongPath\\Data", {}, ""s},
  };
  int ran = 0;
  for (const FileCase& c : cases) {
    if (c.codePage != GetACP()) continue;
    SCOPED_TRACE(c.name);
    ++ran;
    fs::remove_all(root);
    const bool onDrive = c.dataPath.rfind(L"M:", 0) == 0;
    if (onDrive) {
      fs::create_directories(root / L"drive-m");
      ASSERT_TRUE(DefineDrive(L'm', root / L"drive-m")) << "Wine's mount manager";
    }
    const bool longName = c.dataPath.rfind(L"\\\\?\\", 0) == 0;
    const fs::path folder = onDrive || c.dataPath == longPath ? fs::path(c.dataPath)
                            : longName ? fs::path(L"\\\\?\\" + (root / c.dataPath.substr(4)).wstring())
                                       : root / c.dataPath;
    const fs::path file = folder / L"TLeaders.txt";
    fs::create_directories(onDrive ? folder : root);
    if (c.fileBefore) {
      fs::create_directories(folder);
      ASSERT_TRUE(std::ofstream(file, std::ios::binary) << *c.fileBefore);
    }
    if (c.driveGoneAtStart) {
      ASSERT_TRUE(DefineDrive(L'm', std::wstring()));
    }

    SessionStart start;
    start.dataPath = folder.wstring();
    {
      AddinSession session(start);
      if (c.driveGoneAtStart) {
        ASSERT_TRUE(DefineDrive(L'm', root / L"drive-m"));
      }
    }

    if (c.fileAfter) {
      EXPECT_EQ(ReadFileBytes(file), *c.fileAfter);
    }
    for (const std::wstring& name : c.absent) EXPECT_FALSE(fs::exists(root / name)) << "stray " << name;
    EXPECT_EQ(StoredDataPath(), start.dataPath);
    if (onDrive) DefineDrive(L'm', std::wstring());
  }
  fs::remove_all(root);
  if (ran == 0) GTEST_SKIP() << "no case for code page " << GetACP();
}

}  // namespace
