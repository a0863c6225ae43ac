// The failure trace as an administrator meets it: the switch in the user's settings key, the log
// in the temporary folder, a failing host call under the real DLL. Whatever the switch, the host
// gets the same answer.
#include <gtest/gtest.h>

#include <string>

#include "addin_session.h"

namespace {

constexpr int32_t kNumber = 0;
constexpr size_t kLogBound = 1024 * 1024;
constexpr size_t kNoLog = static_cast<size_t>(-1);

std::wstring LogPath() {
  wchar_t folder[MAX_PATH + 1] = {};
  GetTempPathW(MAX_PATH + 1, folder);
  return std::wstring(folder) + L"Tallyline-trace.log";
}

// The log's bytes; none when there is no file.
std::optional<std::string> ReadLog() {
  HANDLE in = CreateFileW(LogPath().c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                          FILE_ATTRIBUTE_NORMAL, nullptr);
  if (in == INVALID_HANDLE_VALUE) return std::nullopt;
  std::string bytes(GetFileSize(in, nullptr), '\0');
  DWORD read = 0;
  if (!bytes.empty()) ReadFile(in, &bytes[0], static_cast<DWORD>(bytes.size()), &read, nullptr);
  CloseHandle(in);
  return bytes;
}

void WriteLog(const std::string& bytes) {
  HANDLE out = CreateFileW(LogPath().c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  DWORD written = 0;
  WriteFile(out, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
  CloseHandle(out);
}

// How many host calls from the start of a Number tool's Run the leader text is written: the
// call to fail.
int64_t CallsToLeaderTextWrite() {
  AddinSession s{SessionStart{}};
  const int64_t before = s.host.CallCount();
  s.host.ClearCalls();
  EXPECT_EQ(S_OK, s.Run(kNumber));
  for (size_t i = 0; i < s.host.Calls().size(); ++i) {
    if (std::string(s.host.Calls()[i].name) == "IHostProperty.SetPropertyValue") return static_cast<int64_t>(i) + 1;
  }
  ADD_FAILURE() << "the Run wrote no leader text; calls made: " << s.host.CallCount() - before;
  return 1;
}

struct TraceCase {
  const char* name;
  std::optional<std::wstring> traceSwitch;
  size_t logBefore;  // bytes of an earlier log; kNoLog: none
  bool appended;     // the failure's lines follow the earlier bytes; else the log is as it was
  bool withText;     // the leader text appears in the line of the failed call
};

TEST(FailureTrace, FailingHostCallIsLoggedOnlyWhenSwitchedOnAndWithinTheBound) {
  const int64_t textWrite = CallsToLeaderTextWrite();
  const TraceCase cases[] = {
      {"no switch", std::nullopt, kNoLog, false, false},
      {"switched off", L"0", kNoLog, false, false},
      {"codes only", L"1", kNoLog, true, false},
      {"with texts", L"2", kNoLog, true, true},
      {"after an earlier log", L"1", 100, true, false},
      {"log at its bound", L"1", kLogBound, false, false},
      {"log a line short of its bound", L"1", kLogBound - 40, false, false},
  };
  for (const TraceCase& c : cases) {
    SCOPED_TRACE(c.name);
    DeleteFileW(LogPath().c_str());
    const std::string earlier = c.logBefore == kNoLog ? "" : std::string(c.logBefore, 'x');
    if (c.logBefore != kNoLog) WriteLog(earlier);
    {
      SessionStart start;
      start.traceSwitch = c.traceSwitch;
      AddinSession s(start);
      s.host.FailCall(textWrite, E_ACCESSDENIED);
      EXPECT_EQ(E_ACCESSDENIED, s.Run(kNumber)) << "the trace never changes the host's answer";
    }
    const std::optional<std::string> log = ReadLog();
    if (c.logBefore == kNoLog && !c.appended) {
      EXPECT_FALSE(log) << "no log file without the switch";
      continue;
    }
    ASSERT_TRUE(log);
    ASSERT_EQ(earlier, log->substr(0, earlier.size())) << "the earlier log is kept as it was";
    const std::string added = log->substr(earlier.size());
    if (!c.appended) {
      EXPECT_EQ("", added) << "the log does not grow past its bound";
      continue;
    }
    EXPECT_NE(std::string::npos, added.find("Run tool 0: host call IHostProperty.SetPropertyValue failed 0x80070005"))
        << added;
    EXPECT_NE(std::string::npos, added.find("Run tool 0: returned 0x80070005")) << added;
    EXPECT_EQ(std::string::npos, added.find("0x80070002")) << "a value or key not set is no failure: " << added;
    EXPECT_EQ(c.withText, added.find("SetPropertyValue failed 0x80070005 text \"1\"") != std::string::npos) << added;
    EXPECT_EQ(c.withText, added.find("text \"") != std::string::npos) << "no text without being asked";
  }
  RegDeleteTreeW(HKEY_CURRENT_USER, L"SOFTWARE\\Varnkit");
  DeleteFileW(LogPath().c_str());
}

}  // namespace
