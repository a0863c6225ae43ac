// The registry keys, the stored options and the default data folder are those of the add-in's
// table of stored options, which it documents for its users; the picklist file's record form too.
// The host touches them only when a script asks.
#include "tlhost/addin_stores_win.h"

#include <windows.h>

#include <algorithm>

#include "framework/code_page_win.h"
#include "framework/utf8.h"
#include "options/stored_options.h"
#include "tlhost/utf8_text.h"

namespace {

const std::string kOptionsKey = std::string(kFamilyKeyPath) + "\\" + kSettingsKeyName;

// The add-in's own code page: the process's ANSI one, converted without best-fit look-alikes.
const AnsiCodePage kCodePage;

std::wstring WideFromAnsi(const std::string& ansi) {
  const std::u16string wide = kCodePage.ToWide(ansi);
  return std::wstring(wide.begin(), wide.end());
}

std::string Utf8FromAnsi(const std::string& ansi) {
  return Utf8(kCodePage.ToWide(ansi));
}

// The ANSI form of a UTF-8 text; false with `problem` when the code page has no exact form for
// one of its characters (no "?" and no look-alike letter stands in for it).
bool AnsiFromUtf8(const std::string& text, std::string* ansi, std::string* problem) {
  std::u16string wide;
  Utf16FromUtf8(text, &wide);
  *ansi = kCodePage.ToAnsi(wide);
  if (AnsiHolds(kCodePage, wide)) return true;
  *problem = "the text \"" + text + "\" has no form in the ANSI code page " + std::to_string(GetACP()) +
             ", in which the add-in stores it";
  return false;
}

// A text value in its ANSI bytes, whatever its length.
bool ReadText(const char* key, const char* name, std::string* value) {
  HKEY opened = nullptr;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, key, 0, KEY_READ, &opened) != ERROR_SUCCESS) return false;
  DWORD size = 0;
  LONG status = RegQueryValueExA(opened, name, nullptr, nullptr, nullptr, &size);
  std::string data(size, '\0');
  if (status == ERROR_SUCCESS && size > 0) {
    status = RegQueryValueExA(opened, name, nullptr, nullptr, reinterpret_cast<BYTE*>(&data[0]), &size);
  }
  RegCloseKey(opened);
  if (status != ERROR_SUCCESS) return false;
  data.resize(std::min<size_t>(size, data.size()));
  while (!data.empty() && data.back() == '\0') data.pop_back();
  *value = data;
  return true;
}

std::wstring PickListPath() {
  std::string folder;
  std::wstring path =
      ReadText(kFamilyKeyPath, kDataPathName, &folder) ? WideFromAnsi(folder) : WideFromAnsi(kDefaultDataPath);
  if (!path.empty() && path.back() != L'\\') path += L'\\';
  return path + L"TLeaders.txt";
}

// The picklist file as text: UTF-8 after its byte order mark, else in the ANSI code page.
std::u16string PickListFileText(const std::string& bytes) {
  if (bytes.compare(0, kUtf8Mark.size(), kUtf8Mark) == 0)
    return Utf8ToWide(std::string_view(bytes).substr(kUtf8Mark.size()));
  return kCodePage.ToWide(bytes);
}

bool ReadFileBytes(const std::wstring& path, std::string* bytes) {
  HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  bytes->assign(GetFileSize(file, nullptr), '\0');
  DWORD read = 0;
  if (!bytes->empty()) ReadFile(file, &(*bytes)[0], static_cast<DWORD>(bytes->size()), &read, nullptr);
  CloseHandle(file);
  bytes->resize(read);
  return true;
}

std::string Shown(const char* key, const char* name) {
  std::string value;
  return ReadText(key, name, &value) ? "\"" + Utf8FromAnsi(value) + "\"" : "(none)";
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
  const char* key = name == kDataPathName ? kFamilyKeyPath : kOptionsKey.c_str();
  HKEY opened = nullptr;
  LONG status = RegCreateKeyExA(HKEY_LOCAL_MACHINE, key, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &opened, nullptr);
  if (status == ERROR_SUCCESS) {
    status = RegSetValueExA(opened, name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(ansi.c_str()),
                            static_cast<DWORD>(ansi.size() + 1));
    RegCloseKey(opened);
  }
  if (status != ERROR_SUCCESS) *problem = "cannot write the setting " + name;
  return status == ERROR_SUCCESS;
}

void ForgetSettings() {
  RegDeleteTreeA(HKEY_LOCAL_MACHINE, kFamilyKeyPath);
  RegDeleteTreeA(HKEY_CURRENT_USER, kFamilyKeyPath);
}

bool WritePickList(const std::vector<std::string>& items, std::string* problem) {
  // In the ANSI code page while it holds every item; otherwise in UTF-8 after its byte order
  // mark, as the add-in keeps a list that holds a character no ANSI code page has.
  std::string bytes;
  std::string notAnsi;
  for (const std::string& item : items) {
    std::string ansi;
    if (!AnsiFromUtf8(item, &ansi, &notAnsi)) break;
    bytes += "<TLT><NAME>" + ansi + "</NAME></TLT>\r\n";
  }
  if (!notAnsi.empty()) {
    bytes = std::string(kUtf8Mark);
    for (const std::string& item : items) bytes += "<TLT><NAME>" + item + "</NAME></TLT>\r\n";
  }
  bytes += '\0';  // the add-in's files end with a zero byte
  const std::wstring path = PickListPath();
  CreateFolders(path);
  HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  DWORD written = 0;
  const BOOL ok = file != INVALID_HANDLE_VALUE &&
                  WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
  if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
  if (!ok || written != bytes.size())
    *problem = "cannot write the picklist file " + Utf8(std::u16string(path.begin(), path.end()));
  return ok && written == bytes.size();
}

bool ReadSetting(const std::string& name, std::string* value) {
  std::string ansi;
  if (!ReadText(name == kDataPathName ? kFamilyKeyPath : kOptionsKey.c_str(), name.c_str(), &ansi)) return false;
  *value = Utf8FromAnsi(ansi);
  return true;
}

bool ReadPickList(std::vector<std::string>* items) {
  std::string bytes;
  if (!ReadFileBytes(PickListPath(), &bytes)) return false;
  items->clear();
  const std::u16string text = PickListFileText(bytes);
  const std::u16string open = u"<NAME>", close = u"</NAME>";
  for (size_t at = text.find(open); at != std::u16string::npos; at = text.find(open, at)) {
    at += open.size();
    const size_t end = text.find(close, at);
    if (end == std::u16string::npos) break;
    items->push_back(Utf8(text.substr(at, end - at)));
  }
  return true;
}

std::vector<std::string> DescribeSettings() {
  std::vector<std::string> lines;
  lines.push_back(std::string("HKLM\\") + kFamilyKeyPath + "  " + kDataPathName + " = " +
                  Shown(kFamilyKeyPath, kDataPathName));
  for (const StoredOption& option : kStoredOptions) {
    lines.push_back(std::string("  ") + kSettingsKeyName + "\\" + option.name + " = " +
                    Shown(kOptionsKey.c_str(), option.name));
  }
  return lines;
}

std::vector<std::string> DescribePickList() {
  const std::wstring widePath = PickListPath();
  const std::string path = Utf8(std::u16string(widePath.begin(), widePath.end()));
  std::string bytes;
  if (!ReadFileBytes(widePath, &bytes)) return {path + ": not there"};
  std::vector<std::string> lines = {path + " (" + std::to_string(bytes.size()) + " bytes):"};
  std::u16string line;
  for (char16_t c : PickListFileText(bytes)) {
    if (c == u'\n') {
      lines.push_back("  " + Utf8(line));
      line.clear();
    } else if (c == u'\0') {
      line += u"<0>";
    } else if (c != u'\r') {
      line += c;
    }
  }
  if (!line.empty()) lines.push_back("  " + Utf8(line));
  return lines;
}
