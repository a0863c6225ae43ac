// tlhost.exe, the reference host: a small drafting window that loads the add-in as the real host
// does. Without arguments a person uses it; with --script it runs a script in the same window and
// exits with 0 when every step passed, 1 when one failed, 2 when the script cannot be read.
//
//   tlhost.exe [--script FILE [--out FOLDER] [--report FILE.xml]]
//
// --out is where the files the script saves go; --report writes the outcome as a one-case
// test report in GoogleTest's XML form, which the test runner counts with the other suites.
#include <windows.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

#include "tlhost/host_script.h"
#include "tlhost/host_window_win.h"
#include "tlhost/png_file_win.h"
#include "tlhost/script_runner_win.h"

namespace {

void Print(const std::string& line) {
  std::printf("%s\n", line.c_str());
  std::fflush(stdout);
}

std::string Escaped(const std::string& text) {
  std::string out;
  for (char c : text) {
    if (c == '&')
      out += "&amp;";
    else if (c == '<')
      out += "&lt;";
    else if (c == '>')
      out += "&gt;";
    else if (c == '"')
      out += "&quot;";
    else
      out += c;
  }
  return out;
}

void WriteReport(const std::string& path, const std::string& scriptFile, const std::string& failure) {
  std::string name = scriptFile.substr(scriptFile.find_last_of("/\\") + 1);
  name = name.substr(0, name.find('.'));
  const std::string failures = failure.empty() ? "0" : "1";
  std::ofstream out(path.c_str(), std::ios::binary);
  out << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
      << "<testsuites tests=\"1\" failures=\"" << failures << "\" disabled=\"0\" errors=\"0\" name=\"tlhost\">\n"
      << "  <testsuite name=\"HostScript\" tests=\"1\" failures=\"" << failures << "\" disabled=\"0\" errors=\"0\">\n"
      << "    <testcase name=\"" << Escaped(name) << "\" status=\"run\" classname=\"HostScript\"";
  if (failure.empty()) {
    out << "/>\n";
  } else {
    out << ">\n      <failure message=\"" << Escaped(failure) << "\"/>\n    </testcase>\n";
  }
  out << "  </testsuite>\n</testsuites>\n";
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

int RunScript(HINSTANCE instance, const std::string& file, const std::string& outFolder, const std::string& report) {
  std::ifstream in(file.c_str(), std::ios::binary);
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
  SimHost host;
  ScriptRunner runner(host, std::wstring(outFolder.begin(), outFolder.end()), Print);
  HostWindow window(host, Print);
  if (!window.Create(instance, [&runner] { runner.OnTick(); })) {
    Print("tlhost: cannot open its window (is there a display?)");
    return 2;
  }
  runner.Attach(window);
  const bool passed = runner.Run(steps);
  Print(passed ? "tlhost: " + file + " passed" : "FAILED " + runner.Failure());
  if (!report.empty()) WriteReport(report, file, runner.Failure());
  return passed ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  std::string script, outFolder, report;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (i + 1 < argc && arg == "--script") {
      script = argv[++i];
    } else if (i + 1 < argc && arg == "--out") {
      outFolder = argv[++i];
    } else if (i + 1 < argc && arg == "--report") {
      report = argv[++i];
    } else {
      Print("usage: tlhost.exe [--script FILE [--out FOLDER] [--report FILE.xml]]");
      return 2;
    }
  }
  if (FAILED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) return 2;
  int result = 0;
  {
    GdiplusSession gdiplus;  // for the PNG files
    HINSTANCE instance = GetModuleHandleW(nullptr);
    result = script.empty() ? RunInteractive(instance) : RunScript(instance, script, outFolder, report);
  }
  CoUninitialize();
  return result;
}
