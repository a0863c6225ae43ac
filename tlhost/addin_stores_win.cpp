// The registry key names, the default data folder and the picklist file's record form are those
// the add-in documents for its users; the host touches them only when a script asks.
#include "tlhost/addin_stores_win.h"

#include <windows.h>

namespace {

constexpr char kFamilyKey[] = "SOFTWARE\\Varnkit";
constexpr char kOptionsKey[] = "SOFTWARE\\Varnkit\\VKTL";
constexpr char kDefaultDataPath[] = "C:\\Program Files\\DEVO\\Varnkit\\Data\\";
constexpr const char* kOptionNames[] = {"TLDefConvertPoint", "TLDefMode",       "TLDefFormat",
                                        "TLDefObjDSource",   "TLDefRenObjects", "TLDefRenFixOrder",
                                        "TLDefRenReset",     "TLPickAutoAdd",   "TLPickAutoPick"};

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
  if (!ReadText(kFamilyKey, "DataPath", &folder)) folder = kDefaultDataPath;
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
  const char* key = name == "DataPath" ? kFamilyKey : kOptionsKey;
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
  RegDeleteTreeA(HKEY_LOCAL_MACHINE, kFamilyKey);
  RegDeleteTreeA(HKEY_CURRENT_USER, kFamilyKey);
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
  return ReadText(name == "DataPath" ? kFamilyKey : kOptionsKey, name.c_str(), value);
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
  lines.push_back(std::string("HKLM\\") + kFamilyKey +
                  "  DataPath = " + (ReadText(kFamilyKey, "DataPath", &value) ? "\"" + value + "\"" : "(none)"));
  for (const char* name : kOptionNames) {
    lines.push_back(std::string("  VKTL\\") + name + " = " +
                    (ReadText(kOptionsKey, name, &value) ? "\"" + value + "\"" : "(none)"));
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
