// The failure trace's lines. Every function here may run inside a failing interface method, so
// none of them throws: a line that cannot be made is not written, and the method goes on as if
// tracing were off.
#include "framework/failure_trace.h"

#include <cstdio>
#include <memory>

#include "framework/decimal_text.h"
#include "framework/utf8.h"

bool gFailureTraceOn = false;

// "Run tool 0: " for the method in hand; empty outside the add-in's methods.
std::string TracePrefix();

namespace {

TraceLevel gLevel = TraceLevel::Off;
TraceSink* gSink = nullptr;
// The innermost entry of this thread. Each thread of a host keeps its own calls.
thread_local TracedEntry* gInnermost = nullptr;

constexpr size_t kTextBytesShown = 200;

std::string CodeText(HRESULT hr) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%08lX", static_cast<unsigned long>(static_cast<uint32_t>(hr)));
  return text;
}

// The text a host call carried, on one line and cut short at a character's end.
std::string QuotedText(const std::u16string& text) {
  std::string utf8 = Utf16ToUtf8(text);
  const bool cut = utf8.size() > kTextBytesShown;
  if (cut) utf8.resize(Utf8BoundaryAtOrBefore(utf8, kTextBytesShown));
  for (char& c : utf8) {
    if (static_cast<unsigned char>(c) < 0x20) c = ' ';
  }
  return " text \"" + utf8 + (cut ? "\"..." : "\"");
}

void Write(const std::string& body) noexcept {
  try {
    if (gSink != nullptr) gSink->Write(TracePrefix() + body);
  } catch (...) {  // a line that cannot be made is not written
  }
}

TraceLevel LevelOf(int64_t number) {
  if (number == 0) return TraceLevel::Off;
  return number == 2 ? TraceLevel::WithTexts : TraceLevel::Codes;
}

// The switch's value as a number: a REG_DWORD's, or a decimal text's.
int64_t SwitchNumber(const std::string& data, uint32_t type) {
  if (type == kRegDword && data.size() == 4) return DwordValue(data);
  return ReadLeadingInt32(data.substr(0, data.find('\0')));
}

}  // namespace

std::string TracePrefix() {
  const TracedEntry* entry = gFailureTraceOn ? gInnermost : nullptr;
  if (entry == nullptr) return "";
  std::string prefix = entry->method_;
  if (entry->tool_ >= 0) prefix += " tool " + std::to_string(entry->tool_);
  return prefix + ": ";
}

TraceLevel ReadTraceSwitch(Registry& registry, const std::string& keyPath) {
  for (const RegistryRoot root : {RegistryRoot::CurrentUser, RegistryRoot::LocalMachine}) {
    std::unique_ptr<RegistryKey> key;
    if (FAILED(registry.OpenKey(root, keyPath, RegistryAccess::ReadOnly, &key))) continue;
    std::string data;
    uint32_t type = kRegText;
    if (FAILED(key->QueryValue(kTraceSwitchName, 64, &data, &type))) continue;
    return LevelOf(SwitchNumber(data, type));
  }
  return TraceLevel::Off;
}

void SetFailureTrace(TraceLevel level, TraceSink* sink) noexcept {
  gLevel = sink != nullptr ? level : TraceLevel::Off;
  gSink = gLevel != TraceLevel::Off ? sink : nullptr;
  gFailureTraceOn = gLevel != TraceLevel::Off;
}

void TraceHostCallFailure(const char* call, HRESULT hr, const std::u16string* text) noexcept {
  if (!gFailureTraceOn) return;
  try {
    std::string body = std::string("host call ") + call + " failed " + CodeText(hr);
    if (text != nullptr && gLevel == TraceLevel::WithTexts) body += QuotedText(*text);
    Write(body);
  } catch (...) {
  }
}

void TraceFailureStep(const char* file, int line, HRESULT hr) noexcept {
  if (!gFailureTraceOn || SUCCEEDED(hr)) return;
  try {
    Write("passed on " + CodeText(hr) + " at " + file + "(" + std::to_string(line) + ")");
  } catch (...) {
  }
}

void TraceFileFailure(const char* what, const std::string& path, HRESULT hr, const char* cause) noexcept {
  if (!gFailureTraceOn) return;
  try {
    Write(std::string(what) + " " + path + " failed " + CodeText(hr) + ": " + cause);
  } catch (...) {
  }
}

TracedEntry::TracedEntry(const char* method) noexcept : method_(method) {
  if (!gFailureTraceOn) return;
  outer_ = gInnermost;
  gInnermost = this;
  kept_ = true;
}

TracedEntry::~TracedEntry() {
  if (kept_) gInnermost = outer_;
}

void TracedEntry::TraceReturn(HRESULT hr) const noexcept {
  if (!gFailureTraceOn || SUCCEEDED(hr)) return;
  try {
    Write("returned " + CodeText(hr));
  } catch (...) {
  }
}

void NoteTracedTool(int32_t tool) noexcept {
  if (gFailureTraceOn && gInnermost != nullptr) gInnermost->tool_ = tool;
}
