// The reference host's script reader over any bytes: it never crashes, and each step it accepts
// reads back, from the form the transcript shows, as the very same step.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "tlhost/host_script.h"

namespace {

void ReadsBackTheSame(const ScriptStep& step, const std::string& before) {
  std::vector<ScriptStep> again;
  std::string error;
  if (!ParseHostScript("again.tlh", before + step.understood, &again, &error)) std::abort();
  const ScriptStep& read = before.empty() ? again.back() : again.back().answers.back();
  if (read.words.size() != step.words.size()) std::abort();
  for (size_t i = 0; i < step.words.size(); ++i) {
    double a = 0, b = 0;
    const bool numbers = ReadNumber(step.words[i], &a) && ReadNumber(read.words[i], &b);
    if (numbers ? a != b : read.words[i] != step.words[i]) std::abort();
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::vector<ScriptStep> steps;
  std::string error;
  if (!ParseHostScript("fuzz.tlh", std::string(reinterpret_cast<const char*>(data), size), &steps, &error)) {
    if (error.rfind("fuzz.tlh", 0) != 0) std::abort();  // every refusal names the file
    return 0;
  }
  if (steps.empty()) std::abort();
  for (const ScriptStep& step : steps) {
    ReadsBackTheSame(step, "");
    for (const ScriptStep& answer : step.answers) ReadsBackTheSame(answer, "dialog\n");
  }
  return 0;
}
