// A user's few minutes with the Number tool: the host initializes the add-in for its five tools,
// the user starts the tool, places leaders, switches to letters through the options dialog of the
// local menu, places more (one of them a point leader, whose text the add-in takes out as a
// graphic of its own), undoes one, places another and ends the tool. Every call
// goes through Invoke with the add-in's dispatch ids; the host polls the tool status between
// the user's actions, as a real host does on idle.
#include "simhost/demo_session_win.h"

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "resources/resource_ids.h"

#include "host/host_com_values_win.h"
#include "simhost/addin_invoke_win.h"
#include "simhost/dialog_driver_win.h"
#include "simhost/sim_com_win.h"
#include "simhost/sim_host.h"

namespace {

std::string Narrow(const std::u16string& text) {
  std::string out;
  for (char16_t c : text) out += c < 128 ? static_cast<char>(c) : '?';
  return out;
}

// One method call by Invoke; the method's own code.
HRESULT Call(IDispatch* addin, DISPID id, const std::vector<VARIANT>& args) {
  InvokeResult call;
  return Invoke(addin, id, DISPATCH_METHOD, args, &call);
}

class Session {
 public:
  explicit Session(IDispatch* addin) : addin_(addin) {
    drawing_ = host_.AddDrawing();
    host_.SetActiveDrawing(drawing_);
    for (int i = 0; i < 5; ++i) MakeComTool(host_, i, &tools_[i]);
  }
  ~Session() {
    for (IDispatch* tool : tools_) {
      if (tool != nullptr) tool->Release();
    }
  }

  bool Initialize() {
    for (IDispatch* tool : tools_) {
      if (FAILED(Call(addin_, kDispInitialize, {DispatchArg(tool)}))) return false;
    }
    return true;
  }
  void Terminate() {
    for (IDispatch* tool : tools_) Call(addin_, kDispTerminate, {DispatchArg(tool)});
  }
  HRESULT RunTool(int index) { return Call(addin_, kDispRun, {DispatchArg(tools_[index])}); }
  HRESULT RunNumberTool() { return RunTool(0); }
  // The host polls every button on idle.
  void Idle() {
    for (IDispatch* tool : tools_) {
      VARIANT_BOOL enabled = 0, checked = 0;
      Call(addin_, kDispUpdateToolStatus, {DispatchArg(tool), BoolRef(&enabled), BoolRef(&checked)});
    }
  }
  void PlaceLeader(int vertices, bool pollAfter = true) {
    const int32_t id = host_.PlaceLeader(vertices);
    const SimGraphicData* leader = host_.Model().Graphic(id);
    std::printf("  leader %d placed%s, its text: \"%s\"\n", id, vertices == 1 ? " by double click" : "",
                leader ? Narrow(leader->info).c_str() : "?");
    if (!pollAfter) return;
    Idle();
    std::printf("    the leader tool now holds \"%s\"\n", Narrow(host_.LeaderToolText()).c_str());
  }
  // "Tallyline Options" from the local menu, answered in the real options dialog.
  void ChangeNumbering(int format, const std::wstring& start) {
    DialogDriver driver(L"Tallyline Running Options", [format, start](DialogUser& user) {
      user.SelectListEntry(IDC_OPTIONS_FORMAT, format);
      user.Type(IDC_OPTIONS_START, start);
      const std::wstring entry = user.ListText(IDC_OPTIONS_FORMAT, format), preview = user.Text(IDC_OPTIONS_PREVIEW);
      std::printf(
          "  the user opens \"Tallyline Options\" from the local menu, picks \"%s\",\n"
          "    types %s into \"Start At\" (the preview shows \"%s\") and presses OK\n",
          std::string(entry.begin(), entry.end()).c_str(), std::string(start.begin(), start.end()).c_str(),
          std::string(preview.begin(), preview.end()).c_str());
      user.Click(IDOK);
    });
    Call(addin_, kDispDoLMCommand, {LongVariant(1)});
    driver.Finish();
    std::printf("    the leader tool now holds \"%s\"\n", Narrow(host_.LeaderToolText()).c_str());
  }
  void Undo() {
    host_.Undo();
    std::printf("  the user undoes the last step\n");
    Idle();
    std::printf("    the leader tool now holds \"%s\"\n", Narrow(host_.LeaderToolText()).c_str());
  }
  void Report() {
    std::printf("\nThe drawing now holds:\n");
    for (int32_t id : host_.Model().Drawing(drawing_)->graphics) {
      const SimGraphicData* graphic = host_.Model().Graphic(id);
      std::printf("  %-14s \"%s\"\n", Narrow(graphic->typeName).c_str(), Narrow(graphic->info).c_str());
    }
    std::printf("Undo steps:");
    for (const std::u16string& caption : host_.UndoCaptions()) std::printf(" [%s]", Narrow(caption).c_str());
    std::printf("\n");
  }
  SimHost& host() { return host_; }

 private:
  IDispatch* addin_;
  SimHost host_;
  int32_t drawing_ = 0;
  IDispatch* tools_[5] = {};
};

}  // namespace

int RunNumberSession(IDispatch* addin) {
  std::printf("\nA Number placement in the simulated host\n");
  Session session(addin);
  if (!session.Initialize()) {
    std::printf("  Initialize failed\n");
    return 1;
  }
  const HRESULT hr = session.RunNumberTool();
  std::printf("  the user starts Insert > Tallyline By > Number (0x%08lx); the prompt menu offers \"%s\"\n",
              static_cast<unsigned long>(hr),
              session.host().LocalMenuCount() > 0 ? Narrow(session.host().LocalMenu().captions[0]).c_str() : "-");
  std::printf("    the leader tool holds \"%s\"\n", Narrow(session.host().LeaderToolText()).c_str());
  session.PlaceLeader(2);
  session.PlaceLeader(2);
  session.ChangeNumbering(1, L"25");
  session.PlaceLeader(2);
  session.PlaceLeader(1);
  session.Undo();
  session.Undo();
  session.PlaceLeader(2);
  session.RunNumberTool();
  std::printf("  the user ends the tool: %d subscriptions, %d local menu entries left\n",
              session.host().SubscriberCount(), session.host().LocalMenuCount());
  session.Report();
  session.Terminate();
  return FAILED(hr) ? 1 : 0;
}

namespace {

// The user's answer to the next pick dialog: type a new text (auto-add puts it into the list on
// OK) or, with no text, double-click entry `pick` of the sorted list. Finish it after the call
// that opened the dialog.
std::unique_ptr<DialogDriver> AnswerPickDialog(std::wstring typed, int pick) {
  return std::make_unique<DialogDriver>(L"Tallyline - Pick Text from List", [typed, pick](DialogUser& user) {
    std::printf("    the pick dialog shows %d item(s)", user.ListCount(IDC_PICK_LIST));
    if (!typed.empty()) {
      std::printf("; the user types \"%s\" and presses OK\n", std::string(typed.begin(), typed.end()).c_str());
      user.Type(IDC_PICK_EDIT, typed);
      user.Click(IDOK);
    } else {
      const std::wstring item = user.ListText(IDC_PICK_LIST, pick);
      std::printf("; the user double-clicks \"%s\"\n", std::string(item.begin(), item.end()).c_str());
      user.DoubleClickListEntry(IDC_PICK_LIST, pick);
    }
  });
}

std::string RegistryText(const char* key, const char* name) {
  char data[1024] = {};
  DWORD size = sizeof(data) - 1;
  HKEY opened = nullptr;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, key, 0, KEY_READ, &opened) != ERROR_SUCCESS) return "<no key>";
  const LONG status = RegQueryValueExA(opened, name, nullptr, nullptr, reinterpret_cast<BYTE*>(data), &size);
  RegCloseKey(opened);
  return status == ERROR_SUCCESS ? std::string(data) : "<none>";
}

void ShowStores() {
  const std::string dataPath = RegistryText("SOFTWARE\\Varnkit", "DataPath");
  std::printf("\nHKEY_LOCAL_MACHINE\\SOFTWARE\\Varnkit  DataPath = \"%s\"\n", dataPath.c_str());
  for (const char* name : {"TLDefConvertPoint", "TLDefMode", "TLDefFormat", "TLDefObjDSource", "TLDefRenObjects",
                           "TLDefRenFixOrder", "TLDefRenReset", "TLPickAutoAdd", "TLPickAutoPick"}) {
    std::printf("  VKTL\\%-18s = \"%s\"\n", name, RegistryText("SOFTWARE\\Varnkit\\VKTL", name).c_str());
  }
  const std::string path = dataPath + (dataPath.empty() || dataPath.back() == '\\' ? "" : "\\") + "TLeaders.txt";
  HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    std::printf("%s: not there\n", path.c_str());
    return;
  }
  std::string bytes(GetFileSize(file, nullptr), '\0');
  DWORD read = 0;
  if (!bytes.empty()) ReadFile(file, &bytes[0], static_cast<DWORD>(bytes.size()), &read, nullptr);
  CloseHandle(file);
  std::printf("%s (%u bytes, the last a zero byte):\n", path.c_str(), static_cast<unsigned>(bytes.size()));
  std::string shown;
  for (char c : bytes) shown += c == '\r' ? std::string() : c == '\0' ? std::string("<0>") : std::string(1, c);
  std::printf("%s\n", shown.c_str());
}

}  // namespace

int RunPicklistSession(IDispatch* addin) {
  std::printf("\nA Picklist placement in the simulated host\n");
  Session session(addin);
  if (!session.Initialize()) {
    std::printf("  Initialize failed\n");
    return 1;
  }
  std::printf("  the user starts Insert > Tallyline By > Picklist\n");
  auto answer = AnswerPickDialog(L"Valve DN50", 0);
  const HRESULT hr = session.RunTool(1);
  answer->Finish();
  std::printf("    the leader tool holds \"%s\"\n", Narrow(session.host().LeaderToolText()).c_str());
  answer = AnswerPickDialog(L"Pump P-101", 0);
  session.PlaceLeader(2);  // the poll after the leader asks for the next text
  answer->Finish();
  answer = AnswerPickDialog(L"", 1);
  session.PlaceLeader(2);
  answer->Finish();
  session.PlaceLeader(2, false);
  session.RunTool(1);  // the user ends the tool before the next poll
  session.Report();
  session.Terminate();
  ShowStores();
  return FAILED(hr) ? 1 : 0;
}

namespace {

// The user's answer to the Renumber dialog: Start At, Fix Order as given, then OK.
std::unique_ptr<DialogDriver> AnswerRenumberDialog(const wchar_t* startAt, bool fixOrder) {
  return std::make_unique<DialogDriver>(L"Tallyline - Renumber", [startAt, fixOrder](DialogUser& user) {
    user.Type(IDC_RENUMBER_START_AT, startAt);
    if ((user.Check(IDC_RENUMBER_FIX_ORDER) == BST_CHECKED) != fixOrder) user.Click(IDC_RENUMBER_FIX_ORDER);
    std::wstring preview = user.Text(IDC_RENUMBER_PREVIEW);
    for (wchar_t& c : preview) c = c == L'\r' || c == L'\n' ? L' ' : c;
    std::printf("    Start at %ls, Fix Order %s; the preview reads \"%ls\"; OK\n", startAt, fixOrder ? "on" : "off",
                preview.c_str());
    user.Click(IDOK);
  });
}

void ShowLeaders(SimHost& host, const std::vector<int32_t>& ids, const char* when) {
  std::printf("  %-28s", when);
  for (int32_t id : ids) std::printf(" %-6s", Narrow(host.Model().Graphic(id)->info).c_str());
  std::printf("\n");
}

}  // namespace

int RunRenumberSession(IDispatch* addin) {
  std::printf("\nRenumbering selected leaders in the simulated host (Only Numeric Leaders)\n");
  Session session(addin);
  if (!session.Initialize()) {
    std::printf("  Initialize failed\n");
    return 1;
  }
  SimHost& host = session.host();
  std::vector<int32_t> ids;
  for (const char16_t* text : {u"12", u"3", u"Note", u"7", u"7", u"20"}) {
    ids.push_back(host.AddGraphic(host.ActiveDrawing(), SimGraphicSpec{u"TCW25DimLead", text}));
  }
  host.Select(ids);
  ShowLeaders(host, ids, "selected, before:");
  auto answer = AnswerRenumberDialog(L"1", false);
  const HRESULT kept = session.RunTool(3);
  answer->Finish();
  ShowLeaders(host, ids, "after, distances kept:");
  host.Undo();
  ShowLeaders(host, ids, "after one undo step:");
  answer = AnswerRenumberDialog(L"1", true);
  const HRESULT fixed = session.RunTool(3);
  answer->Finish();
  ShowLeaders(host, ids, "after, with Fix Order:");
  session.Report();
  session.Terminate();
  return FAILED(kept) || FAILED(fixed) ? 1 : 0;
}
