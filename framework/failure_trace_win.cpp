// The trace's Windows sink. The log is opened for each line and closed again, so that the add-in
// holds no file and another process may append too; a line carries the time and the process.
#include "framework/failure_trace_win.h"

#include <cstdio>

#include "framework/com_owners_win.h"
#include "framework/registry_win.h"
#include "framework/utf8.h"

namespace {

class WindowsTraceSink : public TraceSink {
 public:
  void Write(const std::string& line) noexcept override {
    try {
      OutputDebugStringW(reinterpret_cast<const wchar_t*>(Utf8ToUtf16("Varnkit_TL: " + line + "\n").c_str()));
      AppendToLog(line);
    } catch (...) {  // the trace never fails the call it reports on
    }
  }

 private:
  static void AppendToLog(const std::string& line) {
    const std::wstring path = TraceLogPath();
    if (path.empty()) return;
    UniqueHandle file(CreateFileW(path.c_str(), FILE_APPEND_DATA,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return;
    SYSTEMTIME now;
    GetLocalTime(&now);
    char stamp[48];
    std::snprintf(stamp, sizeof stamp, "%04d-%02d-%02d %02d:%02d:%02d.%03d [%lu] ", now.wYear, now.wMonth, now.wDay,
                  now.wHour, now.wMinute, now.wSecond, now.wMilliseconds, GetCurrentProcessId());
    const std::string entry = stamp + line + "\r\n";
    LARGE_INTEGER size;
    if (!GetFileSizeEx(file.get(), &size) || static_cast<uint64_t>(size.QuadPart) + entry.size() > kTraceLogLimit)
      return;
    DWORD written = 0;
    WriteFile(file.get(), entry.data(), static_cast<DWORD>(entry.size()), &written, nullptr);
  }
};

WindowsTraceSink gSink;

}  // namespace

std::wstring TraceLogPath() {
  wchar_t folder[MAX_PATH + 1] = {};
  const DWORD length = GetTempPathW(MAX_PATH + 1, folder);
  if (length == 0 || length > MAX_PATH) return L"";
  return std::wstring(folder, length) + kTraceLogName;
}

void StartFailureTraceFromRegistry(const std::string& keyPath) noexcept {
  try {
    WindowsRegistry registry;
    SetFailureTrace(ReadTraceSwitch(registry, keyPath), &gSink);
  } catch (...) {
    SetFailureTrace(TraceLevel::Off, nullptr);
  }
}
