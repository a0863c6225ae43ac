// The registry keys, the stored options and the default data folder are those of the add-in's
// table of stored options, which it documents for its users. The settings are read and written
// through the registry port and the picklist file through the add-in's own picklist store and
// record form, so that the host sees them as the add-in does. The host touches them only when a
// script asks.
#include "tlhost/addin_stores_win.h"

#include <windows.h>

#include <algorithm>
#include <memory>
#include <optional>

#include "framework/code_page_win.h"
#include "framework/files_win.h"
#include "framework/registry_win.h"
#include "framework/utf8.h"
#include "options/stored_options.h"
#include "pick_list/pick_list_records.h"
#include "pick_list/pick_list_store.h"
#include "tlhost/addin_options.h"
#include "tlhost/utf8_text.h"

namespace {

// The add-in's own code page: the process's ANSI one, converted without best-fit look-alikes.
const AnsiCodePage kCodePage;

// The data folder the add-in keeps its picklist in.
std::string AddinDataPath() {
  WindowsRegistry registry;
  return AddinDataPath(registry);
}

std::string Utf8FromAnsi(const std::string& ansi) {
  return Utf16ToUtf8(kCodePage.ToUtf16(ansi));
}

// The ANSI form of a UTF-8 text; false with `problem` when the code page has no exact form for
// one of its characters (no "?" and no look-alike letter stands in for it).
bool AnsiFromUtf8(const std::string& text, std::string* ansi, std::string* problem) {
  std::u16string wide;
  WellFormedUtf8ToUtf16(text, &wide);
  *ansi = kCodePage.ToAnsi(wide);
  if (AnsiHolds(kCodePage, wide)) return true;
  *problem = "the text \"" + text + "\" has no form in the ANSI code page " + std::to_string(GetACP()) +
             ", in which the add-in stores it";
  return false;
}

// The picklist file as text: UTF-8 after its byte order mark, else in the ANSI code page.
std::u16string PickListFileText(const std::string& bytes) {
  if (bytes.compare(0, kUtf8Mark.size(), kUtf8Mark) == 0)
    return Utf8ToUtf16(std::string_view(bytes).substr(kUtf8Mark.size()));
  return kCodePage.ToUtf16(bytes);
}

// The value as the transcript shows it, with the root it comes from where that is the user's.
std::string Shown(const std::string& name) {
  WindowsRegistry registry;
  const AddinSetting value = ReadAddinSetting(registry, name);
  if (!value.ansi) return "(none)";
  return "\"" + Utf8FromAnsi(*value.ansi) + "\"" + (value.root == RegistryRoot::CurrentUser ? "  (HKCU)" : "");
}

}  // namespace

void CreateFolders(const std::wstring& path) {
  for (size_t slash = path.find_first_of(L"\\/", 1); slash != std::wstring::npos;
       slash = path.find_first_of(L"\\/", slash + 1)) {
    CreateDirectoryW(path.substr(0, slash).c_str(), nullptr);
  }
}

bool WriteSetting(const std::string& name, const std::string& value, std::string* problem) {
  std::string ansi;
  if (!AnsiFromUtf8(value, &ansi, problem)) return false;
  WindowsRegistry registry;
  std::unique_ptr<RegistryKey> key;
  HRESULT hr = registry.OpenKey(RegistryRoot::LocalMachine, kFamilyKeyPath, RegistryAccess::ReadWrite, &key);
  if (SUCCEEDED(hr) && name != kDataPathName) {
    std::unique_ptr<RegistryKey> family = std::move(key);
    hr = family->OpenSubKey(kOptionsKeyName, RegistryAccess::ReadWrite, &key);
  }
  if (SUCCEEDED(hr)) hr = key->SetText(name, ansi);
  if (FAILED(hr)) *problem = "cannot write the setting " + name;
  return SUCCEEDED(hr);
}

void ForgetSettings() {
  RegDeleteTreeA(HKEY_LOCAL_MACHINE, kFamilyKeyPath);
  RegDeleteTreeA(HKEY_CURRENT_USER, kFamilyKeyPath);
}

bool WritePickList(const std::vector<std::string>& items, std::string* problem) {
  // Saved as the add-in saves a list: in the ANSI code page while it holds every item; otherwise
  // in UTF-8 after its byte order mark. Read back as the add-in reads it, to tell a failed write.
  WindowsFileSystem files;
  const std::string dataPath = AddinDataPath();
  std::u16string text = BuildPickListText(items, false);
  PickListStore(files, kCodePage).Save(dataPath, &text, false);
  if (ParsePickListText(PickListStore(files, kCodePage).Load(dataPath)) != items) {
    *problem = "cannot write the picklist file " + Utf8FromAnsi(PickListFilePath(files, kCodePage, dataPath));
    return false;
  }
  return true;
}

bool ReadSetting(const std::string& name, std::string* value) {
  WindowsRegistry registry;
  const AddinSetting stored = ReadAddinSetting(registry, name);
  if (stored.ansi) *value = Utf8FromAnsi(*stored.ansi);
  return stored.ansi.has_value();
}

bool ReadPickList(std::vector<std::string>* items) {
  WindowsFileSystem files;
  const std::string dataPath = AddinDataPath();
  std::string bytes;
  if (FAILED(files.ReadWholeFile(PickListFilePath(files, kCodePage, dataPath), &bytes))) return false;
  *items = ParsePickListText(PickListStore(files, kCodePage).Load(dataPath));
  return true;
}

std::vector<std::string> DescribeSettings() {
  std::vector<std::string> lines;
  lines.push_back(std::string("HKLM\\") + kFamilyKeyPath + "  " + kDataPathName + " = " + Shown(kDataPathName));
  for (const StoredOption& option : kStoredOptions) {
    lines.push_back(std::string("  ") + kOptionsKeyName + "\\" + option.name + " = " + Shown(option.name));
  }
  return lines;
}

std::vector<std::string> DescribePickList() {
  WindowsFileSystem files;
  const std::string ansiPath = PickListFilePath(files, kCodePage, AddinDataPath());
  const std::string path = Utf8FromAnsi(ansiPath);
  std::string bytes;
  if (FAILED(files.ReadWholeFile(ansiPath, &bytes))) return {path + ": not there"};
  std::vector<std::string> lines = {path + " (" + std::to_string(bytes.size()) + " bytes):"};
  std::u16string line;
  for (char16_t c : PickListFileText(bytes)) {
    if (c == u'\n') {
      lines.push_back("  " + Utf16ToUtf8(line));
      line.clear();
    } else if (c == u'\0') {
      line += u"<0>";
    } else if (c != u'\r') {
      line += c;
    }
  }
  if (!line.empty()) lines.push_back("  " + Utf16ToUtf8(line));
  return lines;
}
