// What the failure trace costs a host's polls, under Wine with the real DLL: UpdateToolStatus by
// Invoke, as a host calls it, against the simulated host's COM objects, with the trace's switch
// missing and set, and with a host call that fails in every poll. Another build of the DLL (one
// without the trace, say) may be named on the command line and is timed the same way, so that
// the two can be compared on one machine in one run.
//
//   tool_poll_timing.exe [other DLL ...]      (each row is the median of 15 runs of 2,000 polls)
#include <windows.h>

#include <wrl/client.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "simhost/addin_invoke_win.h"
#include "simhost/sim_com_win.h"
#include "simhost/sim_host.h"
#include "tallyline.h"

using Microsoft::WRL::ComPtr;

namespace {

constexpr int kPolls = 2000;
constexpr int kRuns = 15;
const wchar_t kOptionsKey[] = L"SOFTWARE\\Varnkit\\VKTL";

double Seconds() {
  LARGE_INTEGER now, frequency;
  QueryPerformanceCounter(&now);
  QueryPerformanceFrequency(&frequency);
  return static_cast<double>(now.QuadPart) / static_cast<double>(frequency.QuadPart);
}

void SetSwitch(const wchar_t* value) {
  RegDeleteKeyValueW(HKEY_CURRENT_USER, kOptionsKey, L"TLTraceFailures");
  if (value == nullptr) return;
  HKEY key = nullptr;
  RegCreateKeyExW(HKEY_CURRENT_USER, kOptionsKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr);
  RegSetValueExW(key, L"TLTraceFailures", 0, REG_SZ, reinterpret_cast<const BYTE*>(value),
                 static_cast<DWORD>((wcslen(value) + 1) * sizeof(wchar_t)));
  RegCloseKey(key);
}

// The add-in made from `dll`'s own class factory; the module stays loaded.
HRESULT CreateFrom(const std::wstring& dll, IDispatch** addin) {
  HMODULE module = LoadLibraryW(dll.c_str());
  if (module == nullptr) return HRESULT_FROM_WIN32(GetLastError());
  using GetClassObject = HRESULT(__stdcall*)(REFCLSID, REFIID, void**);
  const auto get =
      reinterpret_cast<GetClassObject>(reinterpret_cast<void*>(GetProcAddress(module, "DllGetClassObject")));
  if (get == nullptr) return E_NOINTERFACE;
  ComPtr<IClassFactory> factory;
  const HRESULT hr = get(CLSID_CTallyline, IID_IClassFactory, reinterpret_cast<void**>(factory.GetAddressOf()));
  if (FAILED(hr)) return hr;
  return factory->CreateInstance(nullptr, IID_IDispatch, reinterpret_cast<void**>(addin));
}

// Microseconds per poll of `tool` for each DLL, medians of the runs; `failing` fails the poll's
// second host call. The DLLs take turns run by run, so that a busy machine slows them alike.
std::vector<double> TimePolls(const std::vector<std::wstring>& dlls, const wchar_t* traceSwitch, int32_t tool,
                              bool failing) {
  SetSwitch(traceSwitch);
  SimHost host;
  host.SetVersionText(u"10.5");
  const int32_t drawing = host.AddDrawing();
  host.SetActiveDrawing(drawing);
  std::vector<int32_t> selected;
  for (int i = 0; i < 200; ++i) {  // the last of ten selected graphics is a leader
    const int32_t id = host.AddGraphic(drawing, {i == 199 ? u"TCW25DimLead" : u"GRAPHIC", u"part"});
    if (i >= 190) selected.push_back(id);
  }
  host.Select(selected);
  std::vector<double> medians(dlls.size(), -1);
  {
    std::vector<ComPtr<IDispatch>> addins(dlls.size()), tools(dlls.size());
    for (size_t d = 0; d < dlls.size(); ++d) {
      if (FAILED(CreateFrom(dlls[d], &addins[d])) || FAILED(MakeComTool(host, tool, &tools[d]))) return medians;
      InvokeResult init;
      Invoke(addins[d].Get(), kDispInitialize, DISPATCH_METHOD, {DispatchArg(tools[d].Get())}, &init);
    }
    std::vector<std::vector<double>> runs(dlls.size());
    for (int run = 0; run < kRuns; ++run) {
      for (size_t d = 0; d < dlls.size(); ++d) {
        const double start = Seconds();
        for (int i = 0; i < kPolls; ++i) {
          if (failing) host.FailCall(2, E_ACCESSDENIED);
          VARIANT_BOOL enabled = 0, checked = 0;
          InvokeResult poll;
          Invoke(addins[d].Get(), kDispUpdateToolStatus, DISPATCH_METHOD,
                 {DispatchArg(tools[d].Get()), BoolRef(&enabled), BoolRef(&checked)}, &poll);
          host.ClearCalls();
        }
        runs[d].push_back((Seconds() - start) / kPolls * 1e6);
      }
    }
    for (size_t d = 0; d < dlls.size(); ++d) {
      std::sort(runs[d].begin(), runs[d].end());
      medians[d] = runs[d][runs[d].size() / 2];
    }
  }
  SetSwitch(nullptr);
  return medians;
}

std::wstring ExeFolder() {
  wchar_t path[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring folder(path);
  return folder.substr(0, folder.find_last_of(L"\\/") + 1);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  std::vector<std::wstring> dlls = {ExeFolder() + L"Varnkit_TL.dll"};
  for (int i = 1; i < argc; ++i) dlls.push_back(argv[i]);
  wchar_t temp[MAX_PATH + 1] = {};
  GetTempPathW(MAX_PATH + 1, temp);
  const std::wstring log = std::wstring(temp) + L"Tallyline-trace.log";

  std::printf("UpdateToolStatus by Invoke under Wine, microseconds per poll (median of %d runs of %d)\n", kRuns,
              kPolls);
  std::printf("%-44s %-7s %10s %12s %10s %12s\n", "DLL", "switch", "Number", "Number fail", "Renumber", "Renum. fail");
  for (const wchar_t* traceSwitch : {static_cast<const wchar_t*>(nullptr), L"1"}) {
    DeleteFileW(log.c_str());                // a log at its bound would take the writes out of the failing polls
    std::vector<std::vector<double>> times;  // by column, then DLL
    for (const int32_t tool : {0, 3}) {
      for (const bool failing : {false, true}) times.push_back(TimePolls(dlls, traceSwitch, tool, failing));
    }
    for (size_t d = 0; d < dlls.size(); ++d) {
      const std::wstring name = dlls[d].substr(dlls[d].find_last_of(L"\\/") + 1);
      std::printf("%-44ls %-7ls %10.2f %12.2f %10.2f %12.2f\n", name.c_str(), traceSwitch ? traceSwitch : L"none",
                  times[0][d], times[1][d], times[2][d], times[3][d]);
    }
  }
  DeleteFileW(log.c_str());
  CoUninitialize();
  return 0;
}
