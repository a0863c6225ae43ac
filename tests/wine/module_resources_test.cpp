// The DLL as a file: its imports, its string table, its bitmap strips and its version.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>

#include "wine_test_support.h"

namespace {

// The module mapped as an image without running it, for reading its tables.
class MappedModule {
 public:
  MappedModule() { module_ = LoadLibraryExW(DllPath().c_str(), nullptr, DONT_RESOLVE_DLL_REFERENCES); }
  ~MappedModule() {
    if (module_) FreeLibrary(module_);
  }
  HMODULE get() const { return module_; }

 private:
  HMODULE module_ = nullptr;
};

TEST(ModuleFile, ImportsSystemLibrariesOnly) {
  MappedModule dll;
  ASSERT_NE(nullptr, dll.get());
  auto* base = reinterpret_cast<BYTE*>(dll.get());
  auto* dos = reinterpret_cast<IMAGE_DOS_HEADER*>(base);
  // The headers of the module's own kind: PE32 for the 32-bit build, PE32+ for the 64-bit one.
  auto* nt = reinterpret_cast<IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
  ASSERT_EQ(sizeof(void*) == 8 ? IMAGE_FILE_MACHINE_AMD64 : IMAGE_FILE_MACHINE_I386, nt->FileHeader.Machine)
      << "a module of the build's bitness";
  ASSERT_TRUE(nt->FileHeader.Characteristics & IMAGE_FILE_DLL);
  const IMAGE_DATA_DIRECTORY& directory = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
  ASSERT_NE(0u, directory.VirtualAddress);
  const std::set<std::string> system = {"kernel32.dll", "user32.dll",   "gdi32.dll",   "advapi32.dll",
                                        "ole32.dll",    "oleaut32.dll", "msvcrt.dll",  "shlwapi.dll",
                                        "shell32.dll",  "comctl32.dll", "comdlg32.dll"};
  std::set<std::string> imported;
  for (auto* entry = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(base + directory.VirtualAddress); entry->Name != 0;
       ++entry) {
    std::string name = reinterpret_cast<const char*>(base + entry->Name);
    std::transform(name.begin(), name.end(), name.begin(), ::tolower);
    imported.insert(name);
    EXPECT_EQ(1u, system.count(name)) << "imports " << name;
  }
  EXPECT_EQ(1u, imported.count("oleaut32.dll"));
}

TEST(ModuleFile, ExportsTheServerEntries) {
  // The four of every in-process server, and DllInstall for a registration per user.
  for (const char* name :
       {"DllGetClassObject", "DllCanUnloadNow", "DllRegisterServer", "DllUnregisterServer", "DllInstall"}) {
    EXPECT_NE(nullptr, GetProcAddress(Server().module, name)) << name;
  }
}

TEST(ModuleFile, StringTableHoldsTheToolTexts) {
  const struct {
    UINT id;
    const wchar_t* text;
  } table[] = {
      {100, L"Varnkit_TL"},
      {1011, L"Insert|Tallyline B&y|Number"},
      {1012, L"Insert Tallyline - create a Leader with a self -incrementing number"},
      {1013, L"Tallyline - Sequ Number"},
      {1014, L"&Number"},
      {1015, L"Varnkit_TL"},
      {1021, L"Insert|Tallyline B&y|Picklist"},
      {1022, L"Insert Tallyline - create a Leader with text selected from a PickList"},
      {1023, L"Tallyline - PickList"},
      {1024, L"&PickList"},
      {1025, L"Varnkit_TL"},
      {1031, L"Insert|Tallyline B&y|Object"},
      {1032, L"Insert Tallyline - create a Leader based on a selected Object"},
      {1033, L"Tallyline - Object"},
      {1034, L"&Object"},
      {1035, L"Varnkit_TL"},
      {1041, L"Modify|TL Renumber"},
      {1042, L"Renumber a selected group of Tallylines"},
      {1043, L"Tallyline - Renumber"},
      {1044, L"TL Ren&umber"},
      {1045, L"Varnkit_TL"},
      {1051, L"Options|TL Options"},
      {1052, L"Set Tallyline Options"},
      {1053, L"Tallyline Options"},
      {1054, L"TL Options"},
      {1055, L"Varnkit_TL"},
  };
  for (const auto& entry : table) {
    wchar_t text[256] = {};
    const int length = LoadStringW(Server().module, entry.id, text, 256);
    EXPECT_EQ(static_cast<int>(wcslen(entry.text)), length) << entry.id;
    EXPECT_STREQ(entry.text, text) << entry.id;
  }
}

// The host makes the buttons' magenta transparent; the about box shows its strip as it is, on white.
TEST(ModuleFile, BitmapStripsHaveTheirSizesAndBackground) {
  const struct {
    int id;
    LONG width;
    LONG height;
    BYTE green;  // of the background: magenta 255, 0, 255 or white
  } strips[] = {{203, 240, 23, 0}, {204, 160, 16, 0}, {205, 160, 16, 0}, {208, 123, 30, 255}};
  for (const auto& strip : strips) {
    HRSRC resource = FindResourceW(Server().module, MAKEINTRESOURCEW(strip.id), MAKEINTRESOURCEW(2) /* RT_BITMAP */);
    ASSERT_NE(nullptr, resource) << strip.id;
    const auto* info = static_cast<const BITMAPINFO*>(LockResource(LoadResource(Server().module, resource)));
    ASSERT_NE(nullptr, info);
    EXPECT_EQ(strip.width, info->bmiHeader.biWidth) << strip.id;
    EXPECT_EQ(strip.height, std::abs(info->bmiHeader.biHeight)) << strip.id;
    EXPECT_EQ(8, info->bmiHeader.biBitCount) << strip.id;
    // The top-left pixel of every strip is background.
    const DWORD colours = info->bmiHeader.biClrUsed ? info->bmiHeader.biClrUsed : 256;
    const BYTE* pixels = reinterpret_cast<const BYTE*>(info->bmiColors + colours);
    const LONG stride = (strip.width + 3) & ~3;
    const BYTE topLeft = info->bmiHeader.biHeight > 0 ? pixels[(strip.height - 1) * stride] : pixels[0];
    const RGBQUAD colour = info->bmiColors[topLeft];
    EXPECT_EQ(255, colour.rgbRed) << strip.id;
    EXPECT_EQ(strip.green, colour.rgbGreen) << strip.id;
    EXPECT_EQ(255, colour.rgbBlue) << strip.id;
  }
}

std::wstring VersionString(const std::vector<BYTE>& block, const wchar_t* name) {
  wchar_t* value = nullptr;
  UINT length = 0;
  const std::wstring path = std::wstring(L"\\StringFileInfo\\040904B0\\") + name;
  if (!VerQueryValueW(block.data(), path.c_str(), reinterpret_cast<void**>(&value), &length)) return L"<none>";
  return value;
}

TEST(ModuleFile, VersionNamesTheProduct) {
  DWORD handle = 0;
  const DWORD size = GetFileVersionInfoSizeW(DllPath().c_str(), &handle);
  ASSERT_NE(0u, size);
  std::vector<BYTE> block(size);
  ASSERT_TRUE(GetFileVersionInfoW(DllPath().c_str(), 0, size, block.data()));
  EXPECT_EQ(L"Varnkit_TL", VersionString(block, L"ProductName"));
  EXPECT_EQ(L"1.0", VersionString(block, L"ProductVersion"));
  EXPECT_EQ(L"Varnkit_TL.dll", VersionString(block, L"OriginalFilename"));
  VS_FIXEDFILEINFO* fixed = nullptr;
  UINT length = 0;
  ASSERT_TRUE(VerQueryValueW(block.data(), L"\\", reinterpret_cast<void**>(&fixed), &length));
  EXPECT_EQ(MAKELONG(0, 1), fixed->dwProductVersionMS);
  EXPECT_EQ(static_cast<DWORD>(VFT_DLL), fixed->dwFileType);
}

}  // namespace
