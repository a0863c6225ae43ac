// Failure tracing that an administrator switches on in the field, in the release build: one line
// for each failed host call, each step that passes a failure on (with its file and line) and each
// failure the add-in returns to the host, with the method in hand and its tool. Lines go to a
// sink (in the DLL: the debugger's output and a bounded log file). Off by default; off, it costs
// the test of one flag where a failure is already in hand, and one per call from the host.
#pragma once

#include <cstdint>
#include <string>

#include "framework/registry.h"
#include "framework/status.h"

enum class TraceLevel {
  Off,
  Codes,      // call names, codes, files and lines: nothing the user typed or the drawing holds
  WithTexts,  // also the text a failed host call carried (a leader text, a prompt)
};

// The switch: a value of this name in the add-in's settings key; the user's copy under
// HKEY_CURRENT_USER counts before the machine's. 0 or missing: off; 2: with texts; any other
// number: codes only. A REG_SZ decimal text or a REG_DWORD.
constexpr char kTraceSwitchName[] = "TLTraceFailures";
TraceLevel ReadTraceSwitch(Registry& registry, const std::string& keyPath);

// The log never grows past this many bytes: a line that would take it further is not written.
constexpr uint64_t kTraceLogLimit = 1024 * 1024;

// Where the lines go. Write never throws; a sink swallows its own errors.
class TraceSink {
 public:
  virtual ~TraceSink() = default;
  virtual void Write(const std::string& line) noexcept = 0;
};

// Starts tracing for the process at `level` into `sink` (kept, not owned), or stops it (Off).
void SetFailureTrace(TraceLevel level, TraceSink* sink) noexcept;

// Traces a failed host call; `text` is what it carried, written only WithTexts.
void TraceHostCallFailure(const char* call, HRESULT hr, const std::u16string* text) noexcept;

// A host call's status, traced with the call's name when it failed.
inline HRESULT TraceHostCall(const char* call, HRESULT hr, const std::u16string* text = nullptr) noexcept {
  if (FAILED(hr) && FailureTraceOn()) TraceHostCallFailure(call, hr, text);
  return hr;
}

// Traces a file the add-in could not use: "<what> <path> failed <code>: <cause>". `path` is UTF-8;
// `cause` says in words what the code means to the user's data.
void TraceFileFailure(const char* what, const std::string& path, HRESULT hr, const char* cause) noexcept;

// One call of the add-in by the host, for the lines traced while it runs: "Run tool 0: ...".
// Entries nest as the host calls back into the add-in; they are kept only while tracing is on.
class TracedEntry {
 public:
  explicit TracedEntry(const char* method) noexcept;
  ~TracedEntry();
  TracedEntry(const TracedEntry&) = delete;
  TracedEntry& operator=(const TracedEntry&) = delete;

  // Traces the failure the method returns to the host.
  void TraceReturn(HRESULT hr) const noexcept;

 private:
  friend void NoteTracedTool(int32_t tool) noexcept;
  friend std::string TracePrefix();
  const char* method_;
  int32_t tool_ = -1;  // until the method has read it
  TracedEntry* outer_ = nullptr;
  bool kept_ = false;
};

// The tool of the method in hand, as the host told it.
void NoteTracedTool(int32_t tool) noexcept;
