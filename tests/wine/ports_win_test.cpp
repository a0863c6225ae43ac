// The Windows ports against the real system under Wine: the registry below
// HKEY_CURRENT_USER\Software\TallylineTest, files in a fresh temporary folder, the ANSI code page
// against the native Windows-1252 table, and the owners' cleanup.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "framework/code_page_win.h"
#include "framework/com_owners_win.h"
#include "framework/files_win.h"
#include "framework/registry_win.h"
#include "testing/file_port_contract.h"
#include "testing/windows1252_code_page.h"

namespace {

constexpr char kTestKey[] = "Software\\TallylineTest";

class WindowsRegistryTest : public testing::Test {
 protected:
  void SetUp() override { RegDeleteTreeA(HKEY_CURRENT_USER, kTestKey); }
  void TearDown() override {
    RegDeleteTreeA(HKEY_CURRENT_USER, kTestKey);
    HKEY key = nullptr;
    EXPECT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, kTestKey, 0, KEY_READ, &key), ERROR_FILE_NOT_FOUND);
  }

  std::unique_ptr<RegistryKey> Open(const std::string& path, RegistryAccess access) {
    std::unique_ptr<RegistryKey> key;
    EXPECT_EQ(registry.OpenKey(RegistryRoot::CurrentUser, path, access, &key), S_OK) << path;
    return key;
  }

  WindowsRegistry registry;
};

TEST_F(WindowsRegistryTest, TextValuesRoundTripAsAnsiWithTheirNul) {
  std::unique_ptr<RegistryKey> key;
  EXPECT_EQ(registry.OpenKey(RegistryRoot::CurrentUser, kTestKey, RegistryAccess::ReadOnly, &key),
            HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND));
  EXPECT_EQ(key, nullptr);

  auto writable = Open(std::string(kTestKey) + "\\Sub\\Deeper", RegistryAccess::ReadWrite);
  ASSERT_TRUE(writable);
  const std::string text = "Caf\xE9 \x80 \x9F";
  ASSERT_EQ(writable->SetText("Label", text), S_OK);
  ASSERT_EQ(writable->SetText("Empty", ""), S_OK);

  auto readable = Open("SOFTWARE\\tallylinetest\\SUB\\deeper", RegistryAccess::ReadOnly);
  ASSERT_TRUE(readable);
  std::string data = "marker";
  ASSERT_EQ(readable->QueryValue("LABEL", 100, &data), S_OK);
  EXPECT_EQ(data, text + '\0');
  ASSERT_EQ(readable->QueryValue("Empty", 1, &data), S_OK);
  EXPECT_EQ(data, std::string(1, '\0'));

  data = "marker";
  EXPECT_EQ(readable->QueryValue("Label", text.size(), &data), HRESULT_FROM_WIN32(ERROR_MORE_DATA));
  EXPECT_EQ(readable->QueryValue("Empty", 0, &data), HRESULT_FROM_WIN32(ERROR_MORE_DATA));
  EXPECT_EQ(readable->QueryValue("Missing", 100, &data), HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND));
  EXPECT_EQ(data, "marker");

  // What the system stored is a REG_SZ of the text and its NUL.
  char raw[32] = {};
  DWORD type = 0;
  DWORD size = sizeof raw;
  ASSERT_EQ(RegGetValueA(HKEY_CURRENT_USER, "Software\\TallylineTest\\Sub\\Deeper", "Label", RRF_RT_ANY | RRF_NOEXPAND,
                         &type, raw, &size),
            ERROR_SUCCESS);
  EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
  EXPECT_EQ(std::string(raw, size), text + '\0');
}

TEST_F(WindowsRegistryTest, OtherValueTypesComeBackRaw) {
  auto key = Open(kTestKey, RegistryAccess::ReadWrite);
  ASSERT_TRUE(key);
  UniqueHkey raw;
  ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, kTestKey, 0, KEY_SET_VALUE, raw.put()), ERROR_SUCCESS);
  const DWORD count = 0x01020304;
  ASSERT_EQ(RegSetValueExA(raw.get(), "Count", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&count), 4), ERROR_SUCCESS);
  const BYTE blob[] = {'a', 0, 'b'};
  ASSERT_EQ(RegSetValueExA(raw.get(), "Blob", 0, REG_BINARY, blob, sizeof blob), ERROR_SUCCESS);

  std::string data;
  ASSERT_EQ(key->QueryValue("Count", 4, &data), S_OK);
  EXPECT_EQ(data, std::string("\x04\x03\x02\x01", 4));
  ASSERT_EQ(key->QueryValue("Blob", 3, &data), S_OK);
  EXPECT_EQ(data, std::string("a\0b", 3));
  EXPECT_EQ(key->QueryValue("Blob", 2, &data), HRESULT_FROM_WIN32(ERROR_MORE_DATA));
}

TEST_F(WindowsRegistryTest, ReadOnlyKeysRefuseWrites) {
  Open(std::string(kTestKey) + "\\Existing", RegistryAccess::ReadWrite);
  auto readOnly = Open(kTestKey, RegistryAccess::ReadOnly);
  ASSERT_TRUE(readOnly);
  EXPECT_EQ(readOnly->SetText("Name", "x"), E_ACCESSDENIED);

  std::unique_ptr<RegistryKey> sub;
  EXPECT_EQ(readOnly->OpenSubKey("Missing", RegistryAccess::ReadOnly, &sub), HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND));
  ASSERT_EQ(readOnly->OpenSubKey("Existing", RegistryAccess::ReadWrite, &sub), S_OK);
  EXPECT_EQ(sub->SetText("Name", "x"), S_OK);
}

TEST_F(WindowsRegistryTest, PathsAsTheNativeTreeTakesThem) {
  std::unique_ptr<RegistryKey> key;
  EXPECT_EQ(registry.OpenKey(RegistryRoot::CurrentUser, "\\Software", RegistryAccess::ReadOnly, &key),
            HRESULT_FROM_WIN32(kErrorBadPathname));
  ASSERT_EQ(registry.OpenKey(RegistryRoot::CurrentUser, "Software\\\\TallylineTest\\", RegistryAccess::ReadWrite, &key),
            S_OK);
  ASSERT_EQ(key->SetText("", "default"), S_OK);
  auto same = Open(kTestKey, RegistryAccess::ReadOnly);
  std::string data;
  ASSERT_EQ(same->QueryValue("", 100, &data), S_OK);
  EXPECT_EQ(data, std::string("default\0", 8));
}

// A fresh folder in the temporary folder, and what is in it.
struct WindowsSide {
  WindowsSide() {
    char temp[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, temp);
    folder = std::string(temp) + "TallylineTest" + std::to_string(GetCurrentProcessId());
    RemoveAll(folder);
    EXPECT_EQ(files.CreateFolder(folder), S_OK);
  }
  ~WindowsSide() { RemoveAll(folder); }

  static void RemoveAll(const std::string& path) {
    WIN32_FIND_DATAA found;
    const HANDLE search = FindFirstFileA((path + "\\*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
      do {
        const std::string name = found.cFileName;
        if (name == "." || name == "..") continue;
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
          RemoveAll(path + "\\" + name);
        } else {
          DeleteFileA((path + "\\" + name).c_str());
        }
      } while (FindNextFileA(search, &found));
      FindClose(search);
    }
    RemoveDirectoryA(path.c_str());
  }

  std::vector<std::string> Names(const std::string& path) const {
    std::vector<std::string> names;
    WIN32_FIND_DATAA found;
    const HANDLE search = FindFirstFileA((path + "\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return names;
    do {
      const std::string name = found.cFileName;
      if (name != "." && name != "..") names.push_back(name);
    } while (FindNextFileA(search, &found));
    FindClose(search);
    std::sort(names.begin(), names.end());
    return names;
  }

  WindowsFileSystem files;
  std::string folder;
};

INSTANTIATE_TYPED_TEST_SUITE_P(Windows, FilePortContract, WindowsSide);

using WindowsFileSystemTest = FilePortContract<WindowsSide>;

// A file that another program holds open without sharing can be neither read nor replaced.
TEST_F(WindowsFileSystemTest, AFileHeldWithoutSharingStaysAsItWas) {
  FileSystem& files = side.files;
  const std::string path = side.folder + "\\TLeaders.txt";
  ASSERT_EQ(files.WriteWholeFile(path, "old"), S_OK);
  {
    UniqueHandle locked(
        CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    ASSERT_TRUE(locked);
    std::string bytes = "marker";
    EXPECT_EQ(files.ReadWholeFile(path, &bytes), HRESULT_FROM_WIN32(ERROR_SHARING_VIOLATION));
    EXPECT_EQ(bytes, "marker");
    EXPECT_EQ(files.WriteWholeFile(path, "new"), HRESULT_FROM_WIN32(ERROR_ACCESS_DENIED));
  }
  std::string bytes;
  ASSERT_EQ(files.ReadWholeFile(path, &bytes), S_OK);
  EXPECT_EQ(bytes, "old");
  EXPECT_EQ(side.Names(side.folder), std::vector<std::string>{"TLeaders.txt"});
  // A folder nobody may write (Linux's /sys, even for root) is no lock held by another: no wait.
  std::unique_ptr<FileLock> lock;
  EXPECT_EQ(files.LockFile("Z:\\sys\\TLeaders.txt.tl-lock", 1000, &lock), HRESULT_FROM_WIN32(ERROR_ACCESS_DENIED));
}

TEST(AnsiCodePage, IsWindows1252AsTheNativeTable) {
  ASSERT_EQ(GetACP(), 1252u) << "the Wine prefix runs with an English locale";
  const AnsiCodePage system;
  const Windows1252CodePage table;
  std::string all;
  for (int byte = 1; byte < 256; ++byte) all.push_back(static_cast<char>(byte));
  EXPECT_EQ(system.ToUtf16(all), table.ToUtf16(all));
  EXPECT_EQ(system.ToAnsi(table.ToUtf16(all)), all);
  for (int byte = 0; byte < 256; ++byte) EXPECT_FALSE(system.IsLeadByte(static_cast<unsigned char>(byte)));

  const std::u16string unmappable = u"a\u0100\u0080\u4E00\U0001F600\u2122";
  EXPECT_EQ(system.ToAnsi(unmappable), table.ToAnsi(unmappable));
  EXPECT_EQ(system.ToAnsi(u""), "");
  EXPECT_EQ(system.ToUtf16(""), u"");
  EXPECT_EQ(system.ToUtf16(std::string("a\0b", 3)), std::u16string(u"a\0b", 3));
}

TEST(ComOwners, CloseWhatTheyHoldOnceAndHandItOverOnRelease) {
  HANDLE event = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  DWORD flags = 0;
  {
    UniqueHandle owner(event);
    EXPECT_TRUE(owner);
    UniqueHandle moved(std::move(owner));
    EXPECT_FALSE(owner);
    EXPECT_EQ(moved.get(), event);
  }
  EXPECT_FALSE(GetHandleInformation(event, &flags));

  UniqueHandle released(CreateEventW(nullptr, TRUE, FALSE, nullptr));
  const HANDLE kept = released.release();
  EXPECT_FALSE(released);
  EXPECT_TRUE(GetHandleInformation(kept, &flags));
  UniqueHandle again(kept);
  *again.put() = CreateEventW(nullptr, TRUE, FALSE, nullptr);  // put() closes the old one first
  EXPECT_FALSE(GetHandleInformation(kept, &flags));

  UniqueHandle invalid(INVALID_HANDLE_VALUE);
  EXPECT_FALSE(invalid);

  UniqueBstr text(SysAllocString(L"label"));
  EXPECT_EQ(SysStringLen(text.get()), 5u);
  UniqueVariant value;
  V_VT(value.put()) = VT_BSTR;
  V_BSTR(value.get()) = text.release();
  EXPECT_EQ(text.get(), nullptr);
  value.reset();
  EXPECT_EQ(V_VT(value.get()), VT_EMPTY);

  SAFEARRAYBOUND bound = {3, 0};
  UniqueSafeArray array(SafeArrayCreate(VT_I4, 1, &bound));
  ASSERT_TRUE(array);
  {
    SafeArrayDataAccess access;
    ASSERT_EQ(access.Access(array.get()), S_OK);
    access.Data<LONG>()[2] = 7;
    EXPECT_EQ(SafeArrayDestroy(array.get()), DISP_E_ARRAYISLOCKED);
  }
  LONG index = 2;
  LONG item = 0;
  ASSERT_EQ(SafeArrayGetElement(array.get(), &index, &item), S_OK);
  EXPECT_EQ(item, 7);
}

}  // namespace
