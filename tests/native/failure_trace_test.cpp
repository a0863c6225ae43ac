// The failure trace's portable part: how the switch reads, and the lines a failure leaves in the
// sink at each level (the DLL's sink, its log file and its bound are proved under Wine).
#include "framework/failure_trace.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "testing/memory_registry.h"
#include "options_key.h"

namespace {

struct SwitchCase {
  std::optional<std::string> user;     // the raw bytes under HKEY_CURRENT_USER; none: no value
  std::optional<std::string> machine;  // under HKEY_LOCAL_MACHINE
  uint32_t type;
  TraceLevel expected;
};

TEST(FailureTrace, SwitchReadsTheUsersValueBeforeTheMachines) {
  const std::string dword1("\x01\x00\x00\x00", 4), dword2("\x02\x00\x00\x00", 4), dword0(4, '\0');
  const SwitchCase cases[] = {
      {std::nullopt, std::nullopt, kRegText, TraceLevel::Off},
      {std::string("1\0", 2), std::nullopt, kRegText, TraceLevel::Codes},
      {std::string("2\0", 2), std::nullopt, kRegText, TraceLevel::WithTexts},
      {std::string("0\0", 2), std::nullopt, kRegText, TraceLevel::Off},
      {std::string("7\0", 2), std::nullopt, kRegText, TraceLevel::Codes},
      {std::string("", 0), std::nullopt, kRegText, TraceLevel::Off},
      {std::nullopt, std::string("2\0", 2), kRegText, TraceLevel::WithTexts},
      {std::string("0\0", 2), std::string("1\0", 2), kRegText, TraceLevel::Off},
      {dword1, std::nullopt, kRegDword, TraceLevel::Codes},
      {dword2, std::nullopt, kRegDword, TraceLevel::WithTexts},
      {dword0, dword2, kRegDword, TraceLevel::Off},
      {std::string("100\0", 4), std::nullopt, kRegText, TraceLevel::Codes},
      // Visual Basic's True, as a text and as a DWORD: any number but 0 and 2.
      {std::string("-1\0", 3), std::nullopt, kRegText, TraceLevel::Codes},
      {std::string("\xFF\xFF\xFF\xFF", 4), std::nullopt, kRegDword, TraceLevel::Codes},
  };
  for (const SwitchCase& c : cases) {
    SCOPED_TRACE(testing::PrintToString(c.user) + " over " + testing::PrintToString(c.machine));
    MemoryRegistry registry;
    if (c.user) registry.SetRawValue(RegistryRoot::CurrentUser, kOptionsKey, "TLTraceFailures", c.type, *c.user);
    if (c.machine) registry.SetRawValue(RegistryRoot::LocalMachine, kOptionsKey, "TLTraceFailures", c.type, *c.machine);
    EXPECT_EQ(c.expected, ReadTraceSwitch(registry, kOptionsKey));
    EXPECT_FALSE(registry.KeyExists(RegistryRoot::CurrentUser, kOptionsKey) && !c.user) << "reading creates no key";
  }
}

class RecordingSink : public TraceSink {
 public:
  void Write(const std::string& line) noexcept override { lines.push_back(line); }
  std::vector<std::string> lines;
};

HRESULT PassOn(HRESULT hr) {
  RETURN_IF_FAILED(hr);
  return S_OK;
}

// A host call that fails inside Run, whose step passes it on, and an event the host delivers
// while the call is in hand.
std::vector<std::string> TraceOneFailure(TraceLevel level) {
  RecordingSink sink;
  SetFailureTrace(level, &sink);
  {
    const TracedEntry run("Run");
    NoteTracedTool(2);
    {
      const TracedEntry event("MouseDown");
      event.TraceReturn(PassOn(E_POINTER));
    }
    // Past 200 bytes the text is cut where a character ends: here before the two bytes of the Ø.
    const std::u16string text = u"Pump\n" + std::u16string(194, u'x') + u"\u00D8 and more";
    const HRESULT hr = TraceHostCall("IHostProperty.SetPropertyValue", E_ACCESSDENIED, &text);
    TraceHostCall("IHostView.RefreshView", S_FALSE);
    run.TraceReturn(hr);
    run.TraceReturn(S_OK);
  }
  PassOn(E_FAIL);  // outside any method of the add-in
  SetFailureTrace(TraceLevel::Off, nullptr);
  PassOn(E_FAIL);
  return sink.lines;
}

TEST(FailureTrace, LinesNameTheMethodToolCallAndCodeAndTheTextOnlyWhenAsked) {
  const std::string passedOn = "passed on 0x80004003 at tests/native/failure_trace_test.cpp(";
  const std::string texts = "Run tool 2: host call IHostProperty.SetPropertyValue failed 0x80070005 text \"Pump " +
                            std::string(194, 'x') + "\"...";
  struct {
    TraceLevel level;
    std::vector<std::string> expected;
  } cases[] = {
      {TraceLevel::Off, {}},
      {TraceLevel::Codes,
       {"MouseDown: " + passedOn, "MouseDown: returned 0x80004003",
        "Run tool 2: host call IHostProperty.SetPropertyValue failed 0x80070005", "Run tool 2: returned 0x80070005",
        "passed on 0x80004005 at tests/native/failure_trace_test.cpp("}},
      {TraceLevel::WithTexts,
       {"MouseDown: " + passedOn, "MouseDown: returned 0x80004003", texts, "Run tool 2: returned 0x80070005",
        "passed on 0x80004005 at tests/native/failure_trace_test.cpp("}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.level));
    const std::vector<std::string> lines = TraceOneFailure(c.level);
    ASSERT_EQ(c.expected.size(), lines.size()) << testing::PrintToString(lines);
    for (size_t i = 0; i < lines.size(); ++i) {
      // A step's line ends with its line number, which the expectation leaves out.
      std::string line = lines[i];
      if (line.back() == ')') line.resize(line.rfind('(') + 1);
      EXPECT_EQ(c.expected[i], line);
    }
  }
}

}  // namespace
