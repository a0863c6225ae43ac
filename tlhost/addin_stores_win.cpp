// The registry keys, the stored options and the default data folder are those of the add-in's
// table of stored options, which it documents for its users; the picklist file's record form too.
// The host touches them only when a script asks.
#include "tlhost/addin_stores_win.h"

#include <windows.h>

#include "options/stored_options.h"

namespace {

const std::string kOptionsKey = std::string(kFamilyKeyPath) + "\\" + kSettingsKeyName;

bool ReadText(const char* key, const char* name, std::string* value) {
  HKEY opened = nullptr;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, key, 0, KEY_READ, &opened) != ERROR_SUCCESS) return false;
  char data[1024] = {};
  DWORD size = sizeof(data) - 1;
  const LONG status = RegQueryValueExA(opened, name, nullptr, nullptr, reinterpret_cast<BYTE*>(data), &size);
  RegCloseKey(opened);
  if (status != ERROR_SUCCESS) return false;
  *value = data;
  return true;
}

std::string PickListPath() {
  std::string folder;
  if (!ReadText(kFamilyKeyPath, kDataPathName, &folder)) folder = kDefaultDataPath;
  if (!folder.empty() && folder.back() != '\\') folder += '\\';
  return folder + "TLeaders.txt";
}

// Creates each folder of the path in turn, as the add-in does before it writes.
void CreateFolders(const std::string& path) {
  for (size_t slash = path.find('\\', 3); slash != std::string::npos; slash = path.find('\\', slash + 1)) {
    CreateDirectoryA(path.substr(0, slash).c_str(), nullptr);
  }
}

}  // namespace

bool WriteSetting(const std::string& name, const std::string& value) {
  const char* key = name == kDataPathName ? kFamilyKeyPath : kOptionsKey.c_str();
  HKEY opened = nullptr;
  if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, key, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &opened, nullptr) !=
      ERROR_SUCCESS) {
    return false;
  }
  const LONG status = RegSetValueExA(opened, name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                                     static_cast<DWORD>(value.size() + 1));
  RegCloseKey(opened);
  return status == ERROR_SUCCESS;
}

void ForgetSettings() {
  RegDeleteTreeA(HKEY_LOCAL_MACHINE, kFamilyKeyPath);
  RegDeleteTreeA(HKEY_CURRENT_USER, kFamilyKeyPath);
}

bool WritePickList(const std::vector<std::string>& items) {
  const std::string path = PickListPath();
  CreateFolders(path);
  std::string bytes;
  for (const std::string& item : items) bytes += "<TLT><NAME>" + item + "</NAME></TLT>\r\n";
  bytes += '\0';  // the add-in's files end with a zero byte
  HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  const BOOL ok = WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
  CloseHandle(file);
  return ok && written == bytes.size();
}

bool ReadSetting(const std::string& name, std::string* value) {
  return ReadText(name == kDataPathName ? kFamilyKeyPath : kOptionsKey.c_str(), name.c_str(), value);
}

bool ReadPickList(std::vector<std::string>* items) {
  const std::string path = PickListPath();
  HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  std::string bytes(GetFileSize(file, nullptr), '\0');
  DWORD read = 0;
  if (!bytes.empty()) ReadFile(file, &bytes[0], static_cast<DWORD>(bytes.size()), &read, nullptr);
  CloseHandle(file);
  items->clear();
  const std::string open = "<NAME>", close = "</NAME>";
  for (size_t at = bytes.find(open); at != std::string::npos; at = bytes.find(open, at)) {
    at += open.size();
    const size_t end = bytes.find(close, at);
    if (end == std::string::npos) break;
    items->push_back(bytes.substr(at, end - at));
  }
  return true;
}

std::vector<std::string> DescribeSettings() {
  std::vector<std::string> lines;
  std::string value;
  lines.push_back(std::string("HKLM\\") + kFamilyKeyPath + "  " + kDataPathName + " = " +
                  (ReadText(kFamilyKeyPath, kDataPathName, &value) ? "\"" + value + "\"" : "(none)"));
  for (const StoredOption& option : kStoredOptions) {
    lines.push_back(std::string("  ") + kSettingsKeyName + "\\" + option.name + " = " +
                    (ReadText(kOptionsKey.c_str(), option.name, &value) ? "\"" + value + "\"" : "(none)"));
  }
  return lines;
}

std::vector<std::string> DescribePickList() {
  const std::string path = PickListPath();
  HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return {path + ": not there"};
  std::string bytes(GetFileSize(file, nullptr), '\0');
  DWORD read = 0;
  if (!bytes.empty()) ReadFile(file, &bytes[0], static_cast<DWORD>(bytes.size()), &read, nullptr);
  CloseHandle(file);
  std::vector<std::string> lines = {path + " (" + std::to_string(bytes.size()) + " bytes):"};
  std::string line;
  for (char c : bytes) {
    if (c == '\n') {
      lines.push_back("  " + line);
      line.clear();
    } else if (c == '\0') {
      line += "<0>";
    } else if (c != '\r') {
      line += c;
    }
  }
  if (!line.empty()) lines.push_back("  " + line);
  return lines;
}
