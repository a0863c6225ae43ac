// A drawing session under Wine: the real DLL, created by ProgID, against the simulated host's COM
// objects, driven only through IDispatch::Invoke with the add-in's dispatch ids, as a host does.
// At the end the add-in is terminated for every tool and released; the host must then count no
// live object it handed out, and the module must be free to unload.
#pragma once

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "simhost/sim_com_win.h"
#include "simhost/sim_host.h"
#include "wine_test_support.h"

// The tools by the index the host passes with each call.
constexpr int32_t kNumber = 0, kPicklist = 1, kRenumber = 3, kOptions = 4;

// What the machine holds before the host starts.
struct SessionStart {
  std::u16string version = u"10.5";
  // The picklist file's bytes in the session's data folder; none: no file.
  std::optional<std::string> pickListFile;
  // The add-in's class made in this process from the linked library instead of the DLL, for
  // tests that watch its memory; its module lock is then this program's own.
  bool inProcess = false;
  // DataPath as the registry holds it; none: the session's data folder.
  std::optional<std::wstring> dataPath;
  // The failure trace's switch (TLTraceFailures, a text under the user's settings key); none: not there.
  std::optional<std::wstring> traceSwitch;
  // Options stored under the machine's settings key before the host starts, as texts.
  std::vector<std::pair<std::wstring, std::wstring>> settings;
};

class AddinSession {
 public:
  // Out of line: GCC 12 inlines the default version's copy into every test and then warns of
  // a copy beyond the literal that never happens (-Warray-bounds).
  AddinSession();
  explicit AddinSession(const std::u16string& version) : AddinSession(SessionStart{version}) {}
  explicit AddinSession(const SessionStart& start);
  ~AddinSession();

  // The data folder of the session (DataPath in the registry), with a final backslash.
  static std::wstring DataFolder();
  static std::string ReadPickListFile();  // "<missing>" when there is none
  // Ends the session for the host: Terminate for every tool, then the last release. Idempotent.
  void Close();

  // Each gives the method's own code (the scode behind DISP_E_EXCEPTION).
  HRESULT Run(int32_t tool, VARIANT_BOOL* result = nullptr);
  // Enabled and Checked start as `initial` so that a test sees what the add-in left alone.
  HRESULT Poll(int32_t tool, VARIANT_BOOL* enabled = nullptr, VARIANT_BOOL* checked = nullptr,
               VARIANT_BOOL* result = nullptr, VARIANT_BOOL initial = 0x55);
  void PollAll();
  HRESULT DoLMCommand(long index);
  HRESULT MouseDown(VARIANT_BOOL* cancel);
  int32_t AddGraphic(const SimGraphicSpec& request) { return host.AddGraphic(drawing, request); }
  std::u16string Info(int32_t graphicId);

  SimHost host;  // declared first: it outlives every COM object below
  int32_t drawing = 0;
  ComPtr<IDispatch> addin;
  ComPtr<IDispatch> tools[5];

 private:
  bool closed_ = false;
  bool inProcess_ = false;
};

// True when nothing holds the add-in's module: the DLL's, or this program's own for a session
// made in process.
bool AddinModuleFree(bool inProcess);

// Builds a graphic as tests ask for it.
SimGraphicSpec Graphic(std::u16string type, std::u16string info = u"");
