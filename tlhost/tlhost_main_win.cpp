// tlhost.exe, the reference host: a small drafting window that loads the add-in as the real host
// does. Without arguments a person uses it; with --script it runs a script in the same window and
// exits with 0 when every step passed, 1 when one failed, 2 when the script cannot be read, the
// command line is wrong or the report cannot be written.
//
//   tlhost.exe [--script FILE [--out FOLDER] [--report FILE.xml]]
//
// --out is where the files the script saves go; --report writes the outcome as a one-case
// test report in GoogleTest's XML form, which the test runner counts with the other suites.
// The command line is read in UTF-16, so that folder and file names of any language arrive whole.
#include <windows.h>

#include <shellapi.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

#include "tlhost/host_arguments.h"
#include "tlhost/host_script.h"
#include "tlhost/host_window_win.h"
#include "tlhost/png_file_win.h"
#include "tlhost/script_runner_win.h"
#include "tlhost/utf8_text.h"

namespace {

void Print(const std::string& line) {
  std::printf("%s\n", line.c_str());
  std::fflush(stdout);
}

// False when the report cannot be written whole.
bool WriteReport(const std::wstring& path, const std::string& scriptFile, const std::string& failure) {
  const std::string name = ScriptTestName(scriptFile);
  const std::string failures = failure.empty() ? "0" : "1";
  std::ofstream out(path.c_str(), std::ios::binary);
  out << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
      << "<testsuites tests=\"1\" failures=\"" << failures << "\" disabled=\"0\" errors=\"0\" name=\"tlhost\">\n"
      << "  <testsuite name=\"HostScript\" tests=\"1\" failures=\"" << failures << "\" disabled=\"0\" errors=\"0\">\n"
      << "    <testcase name=\"" << XmlAttributeText(name) << "\" status=\"run\" classname=\"HostScript\"";
  if (failure.empty()) {
    out << "/>\n";
  } else {
    out << ">\n      <failure message=\"" << XmlAttributeText(failure) << "\"/>\n    </testcase>\n";
  }
  out << "  </testsuite>\n</testsuites>\n";
  out.close();
  if (out) return true;
  Print("tlhost: cannot write the report " + WideToUtf8(path));
  return false;
}

int RunInteractive(HINSTANCE instance) {
  SimHost host;
  HostWindow window(host, Print);
  if (!window.Create(instance, nullptr)) return 1;
  if (FAILED(window.LoadAddin())) {
    MessageBoxW(window.Frame(), L"Varnkit_TL.Tallyline cannot be created: is Varnkit_TL.dll registered?",
                L"Tallyline reference host", MB_ICONWARNING);
  }
  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
    // Idle: the host polls its add-in's buttons once the user's input is handled, and on its
    // timer; painting and the timer itself are no input.
    const bool input = message.message != WM_PAINT && message.message != WM_TIMER;
    if (input && !PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE) && IsWindow(window.Frame())) window.PollTools();
  }
  return 0;
}

int RunScript(HINSTANCE instance, const std::wstring& wideFile, const std::wstring& outFolder,
              const std::wstring& report) {
  const std::string file = WideToUtf8(wideFile);
  std::ifstream in(wideFile.c_str(), std::ios::binary);
  if (!in) {
    Print(file + ": cannot be read");
    return 2;
  }
  std::stringstream text;
  text << in.rdbuf();
  std::vector<ScriptStep> steps;
  std::string error;
  if (!ParseHostScript(file, text.str(), &steps, &error)) {
    Print(error);
    if (!report.empty()) WriteReport(report, file, error);
    return 2;
  }
  // The code page the add-in stores its texts in, which decides which texts it can keep.
  CPINFO codePage = {};
  GetCPInfo(CP_ACP, &codePage);
  Print("tlhost: " + file + " on the ANSI code page " + std::to_string(GetACP()) +
        (codePage.MaxCharSize > 1 ? " (double-byte)" : " (single-byte)"));
  SimHost host;
  ScriptRunner runner(host, outFolder, Print);
  HostWindow window(host, Print);
  if (!window.Create(instance, [&runner] { runner.OnTick(); })) {
    Print("tlhost: cannot open its window (is there a display?)");
    return 2;
  }
  runner.Attach(window);
  const bool passed = runner.Run(steps);
  Print(passed ? "tlhost: " + file + " passed" : "FAILED " + runner.Failure());
  if (!report.empty() && !WriteReport(report, file, runner.Failure())) return 2;
  return passed ? 0 : 1;
}

// The command line in UTF-16; false for one of another form.
bool ReadCommandLine(HostArguments* read) {
  int count = 0;
  wchar_t** args = CommandLineToArgvW(GetCommandLineW(), &count);
  if (args == nullptr) return false;
  const std::vector<std::wstring> options(args + std::min(count, 1), args + count);
  LocalFree(args);
  return ReadHostArguments(options, read);
}

}  // namespace

int main() {
  HostArguments arguments;
  if (!ReadCommandLine(&arguments)) {
    Print(kHostUsage);
    return 2;
  }
  if (FAILED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) return 2;
  int result = 0;
  {
    GdiplusSession gdiplus;  // for the PNG files
    HINSTANCE instance = GetModuleHandleW(nullptr);
    result = arguments.script.empty() ? RunInteractive(instance)
                                      : RunScript(instance, arguments.script, arguments.outFolder, arguments.report);
  }
  CoUninitialize();
  return result;
}
