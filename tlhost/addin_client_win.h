// The add-in as the reference host holds it: created by ProgID, known only by its dispatch
// interface and called only by Invoke with its dispatch ids. Reads what the host needs for its
// menus and toolbar (identity, tool info, button strips), initializes and terminates it once per
// tool with one host tool object each, and runs, polls and drives its tools.
#pragma once

#include <windows.h>

#include <oaidl.h>
#include <wrl/client.h>

#include <string>
#include <vector>

#include "simhost/sim_host.h"

struct AddinToolInfo {
  std::wstring commandName;  // the menu path, "Insert|Tallyline B&y|Number"
  std::wstring caption;      // "&Number"
  std::wstring group;
  std::wstring prompt;
  std::wstring tooltip;
  bool enabled = false;
  bool wantsUpdates = false;
};

struct ToolState {
  bool enabled = false;
  bool checked = false;
  bool operator==(const ToolState& other) const { return enabled == other.enabled && checked == other.checked; }
};

class AddinClient {
 public:
  explicit AddinClient(SimHost& host) : host_(host) {}
  ~AddinClient() { Unload(); }
  AddinClient(const AddinClient&) = delete;
  AddinClient& operator=(const AddinClient&) = delete;

  // Creates the add-in and reads its identity, tools and button strips; Initialize follows
  // separately, once the host has built its menus.
  HRESULT Load(const wchar_t* progId);
  HRESULT InitializeTools();
  // Terminate for every tool, then the host lets go of the add-in and its tool objects.
  void Unload();
  bool Loaded() const { return addin_ != nullptr; }

  const std::wstring& ClassId() const { return classId_; }
  const std::wstring& Description() const { return description_; }
  const std::vector<AddinToolInfo>& Tools() const { return tools_; }
  // The button strip (large buttons) and the local-menu strip; owned here.
  HBITMAP Buttons() const { return buttons_; }
  HBITMAP LocalMenuPicture() const { return localMenuPicture_; }

  // Each gives the method's own code (the scode behind DISP_E_EXCEPTION); Initialize and Run
  // give E_UNEXPECTED for an answer other than exactly 1, which WrongAnswer() then describes.
  HRESULT Run(int tool);
  HRESULT UpdateToolStatus(int tool, ToolState* state);
  HRESULT DoLMCommand(int index);
  // The first answer a strict host refused since the add-in was loaded, as "Initialize of tool 0
  // (Number) answered -1 (VT_BOOL); a host takes 1"; empty when every answer was 1.
  const std::string& WrongAnswer() const { return wrongAnswer_; }

 private:
  HRESULT ReadToolInfo();
  HRESULT ReadPicture(DISPID id, bool large, HBITMAP* bitmap);
  bool AnswersOne(const char* method, size_t tool, const VARIANT& value);

  SimHost& host_;
  Microsoft::WRL::ComPtr<IDispatch> addin_;
  std::vector<Microsoft::WRL::ComPtr<IDispatch>> toolObjects_;
  std::wstring classId_;
  std::wstring description_;
  std::vector<AddinToolInfo> tools_;
  HBITMAP buttons_ = nullptr;
  HBITMAP localMenuPicture_ = nullptr;
  bool initialized_ = false;
  std::string wrongAnswer_;
};
