// The window side of the reference host: message handling, menus, toolbar, status bar, the
// drawing commands of the File and Edit menus, and the transcript of what changed.
#include "tlhost/host_window_win.h"

#include <commctrl.h>
#include <commdlg.h>

#include <cwctype>
#include <fstream>

#include "tlhost/host_canvas_win.h"

namespace {

constexpr wchar_t kFrameClass[] = L"TallylineReferenceHost";
constexpr wchar_t kCanvasClass[] = L"TallylineDrawing";
constexpr UINT_PTR kTimerId = 1;
constexpr UINT kPollMilliseconds = 200;
constexpr UINT kScriptTickMilliseconds = 25;
constexpr int kLocalMenuBase = 2000;
constexpr int kButtonWidth = 24, kButtonHeight = 23;
constexpr COLORREF kMagenta = RGB(255, 0, 255);

std::string Narrow(const std::wstring& text) {
  return Utf8(std::u16string(text.begin(), text.end()));
}

std::string Quoted(const std::u16string& text) {
  return "\"" + Utf8(text) + "\"";
}

// The menu text without its access-key marks, in lower case, for comparing paths.
std::wstring Plain(const std::wstring& text) {
  std::wstring plain;
  for (wchar_t c : text) {
    if (c != L'&') plain += static_cast<wchar_t>(std::towlower(c));
  }
  return plain;
}

std::vector<std::wstring> SplitPath(const std::wstring& path) {
  std::vector<std::wstring> parts;
  size_t start = 0;
  for (size_t bar; (bar = path.find(L'|', start)) != std::wstring::npos; start = bar + 1) {
    parts.push_back(path.substr(start, bar - start));
  }
  parts.push_back(path.substr(start));
  return parts;
}

std::wstring MenuText(HMENU menu, int position) {
  wchar_t text[256] = {};
  GetMenuStringW(menu, static_cast<UINT>(position), text, 256, MF_BYPOSITION);
  return text;
}

// The submenu of `menu` named `name`, made at the end when there is none.
HMENU SubMenu(HMENU menu, const std::wstring& name) {
  for (int i = 0; i < GetMenuItemCount(menu); ++i) {
    HMENU sub = GetSubMenu(menu, i);
    if (sub != nullptr && Plain(MenuText(menu, i)) == Plain(name)) return sub;
  }
  HMENU sub = CreatePopupMenu();
  AppendMenuW(menu, MF_POPUP | MF_STRING, reinterpret_cast<UINT_PTR>(sub), name.c_str());
  return sub;
}

int FindCommandIn(HMENU menu, const std::vector<std::wstring>& parts, size_t depth) {
  for (int i = 0; i < GetMenuItemCount(menu); ++i) {
    if (Plain(MenuText(menu, i)) != Plain(parts[depth])) continue;
    HMENU sub = GetSubMenu(menu, i);
    if (depth + 1 == parts.size()) return sub == nullptr ? static_cast<int>(GetMenuItemID(menu, i)) : 0;
    if (sub != nullptr) return FindCommandIn(sub, parts, depth + 1);
  }
  return 0;
}

const char* CommandName(int32_t command) {
  switch (command) {
    case kSimCommandLeader:
      return "Leader";
    case kSimCommandSelect:
      return "Select";
    case 0:
      return "none";
    default:
      return "other";
  }
}

}  // namespace

HostWindow::HostWindow(SimHost& host, Log log) : host_(host), log_(std::move(log)), addin_(host), input_(host) {}

HostWindow::~HostWindow() {
  if (frame_ != nullptr) DestroyWindow(frame_);
  if (buttonImages_ != nullptr) ImageList_Destroy(buttonImages_);
}

void HostWindow::Say(const std::string& text) const {
  if (log_) log_(text);
}

bool HostWindow::Create(HINSTANCE instance, std::function<void()> onTick, bool applicationWindow) {
  onTick_ = std::move(onTick);
  applicationWindow_ = applicationWindow;
  INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_BAR_CLASSES};
  InitCommonControlsEx(&controls);
  WNDCLASSEXW frameClass = {sizeof(frameClass)};
  frameClass.lpfnWndProc = FrameProc;
  frameClass.hInstance = instance;
  frameClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  frameClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  frameClass.lpszClassName = kFrameClass;
  WNDCLASSEXW canvasClass = frameClass;
  canvasClass.style = CS_DBLCLKS;
  canvasClass.lpfnWndProc = CanvasProc;
  canvasClass.hCursor = LoadCursorW(nullptr, IDC_CROSS);
  canvasClass.hbrBackground = nullptr;
  canvasClass.lpszClassName = kCanvasClass;
  // A second window of the same program finds its classes there already.
  for (const WNDCLASSEXW* windowClass : {&frameClass, &canvasClass}) {
    if (!RegisterClassExW(windowClass) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS) return false;
  }

  menu_ = CreateMenu();
  BuildMenus();
  frame_ = CreateWindowExW(0, kFrameClass, L"Tallyline reference host", WS_OVERLAPPEDWINDOW & ~WS_THICKFRAME,
                           CW_USEDEFAULT, CW_USEDEFAULT, 100, 100, nullptr, menu_, instance, this);
  if (frame_ == nullptr) return false;
  status_ =
      CreateWindowExW(0, STATUSCLASSNAMEW, L"", WS_CHILD | WS_VISIBLE, 0, 0, 0, 0, frame_, nullptr, instance, nullptr);
  canvas_ = CreateWindowExW(WS_EX_CLIENTEDGE, kCanvasClass, L"", WS_CHILD | WS_VISIBLE, 0, 0, 0, 0, frame_, nullptr,
                            instance, this);
  BuildToolbar();
  Layout();
  SetTimer(frame_, kTimerId, onTick_ ? kScriptTickMilliseconds : kPollMilliseconds, nullptr);
  SwitchDrawing(AddSampleDrawing(host_), kDispDrawingOpen);
  ShowWindow(frame_, SW_SHOW);
  UpdateWindow(frame_);
  return true;
}

void HostWindow::BuildMenus() {
  while (GetMenuItemCount(menu_) > 0) DeleteMenu(menu_, 0, MF_BYPOSITION);
  HMENU file = SubMenu(menu_, L"&File");
  AppendMenuW(file, MF_STRING, kCommandFileNew, L"&New");
  AppendMenuW(file, MF_STRING, kCommandFileOpenSample, L"&Open Sample Drawing");
  AppendMenuW(file, MF_STRING, kCommandFileClose, L"&Close");
  AppendMenuW(file, MF_SEPARATOR, 0, nullptr);
  AppendMenuW(file, MF_STRING, kCommandFileSaveSvg, L"&Save as SVG...");
  AppendMenuW(file, MF_STRING, kCommandFileExportPng, L"Export &PNG...");
  AppendMenuW(file, MF_SEPARATOR, 0, nullptr);
  AppendMenuW(file, MF_STRING, kCommandFileExit, L"E&xit");
  HMENU edit = SubMenu(menu_, L"&Edit");
  AppendMenuW(edit, MF_STRING, kCommandEditSelect, L"&Select");
  AppendMenuW(edit, MF_STRING, kCommandEditUndo, L"&Undo");
  AppendMenuW(edit, MF_STRING, kCommandEditRedo, L"&Redo");
  AppendMenuW(SubMenu(SubMenu(menu_, L"&Insert"), L"&Dimension"), MF_STRING, kCommandInsertLeader, L"&Leader");
  // The add-in's tools where their command names put them: "Insert|Tallyline B&y|Number" is the
  // item "Number" of the submenu "Tallyline By" of the Insert menu.
  const std::vector<AddinToolInfo>& tools = addin_.Tools();
  for (size_t i = 0; i < tools.size(); ++i) {
    const std::vector<std::wstring> parts = SplitPath(tools[i].commandName);
    HMENU menu = menu_;
    for (size_t p = 0; p + 1 < parts.size(); ++p) menu = SubMenu(menu, parts[p]);
    AppendMenuW(menu, MF_STRING, kCommandToolBase + i, parts.back().c_str());
  }
  if (frame_ != nullptr) DrawMenuBar(frame_);
}

void HostWindow::BuildToolbar() {
  if (toolbar_ != nullptr) DestroyWindow(toolbar_);
  if (buttonImages_ != nullptr) ImageList_Destroy(buttonImages_);
  buttonImages_ = nullptr;
  toolbar_ = CreateWindowExW(0, TOOLBARCLASSNAMEW, L"", WS_CHILD | WS_VISIBLE | TBSTYLE_FLAT | TBSTYLE_TOOLTIPS, 0, 0,
                             0, 0, frame_, nullptr, GetModuleHandleW(nullptr), nullptr);
  SendMessageW(toolbar_, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
  const std::vector<AddinToolInfo>& tools = addin_.Tools();
  if (addin_.Buttons() != nullptr) {
    buttonImages_ = ImageList_Create(kButtonWidth, kButtonHeight, ILC_COLOR32 | ILC_MASK, 10, 0);
    ImageList_AddMasked(buttonImages_, addin_.Buttons(), kMagenta);
    SendMessageW(toolbar_, TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(buttonImages_));
  }
  std::vector<TBBUTTON> buttons;
  for (size_t i = 0; i < tools.size(); ++i) {
    TBBUTTON button = {};
    button.iBitmap = static_cast<int>(i);
    button.idCommand = kCommandToolBase + static_cast<int>(i);
    button.fsState = TBSTATE_ENABLED;
    button.fsStyle = BTNS_CHECK;
    buttons.push_back(button);
  }
  if (!buttons.empty()) {
    SendMessageW(toolbar_, TB_ADDBUTTONS, buttons.size(), reinterpret_cast<LPARAM>(buttons.data()));
  }
  SendMessageW(toolbar_, TB_AUTOSIZE, 0, 0);
}

void HostWindow::Layout() {
  RECT toolbar = {}, status = {};
  SendMessageW(toolbar_, TB_AUTOSIZE, 0, 0);
  SendMessageW(status_, WM_SIZE, 0, 0);
  GetWindowRect(toolbar_, &toolbar);
  GetWindowRect(status_, &status);
  const int top = toolbar.bottom - toolbar.top, statusHeight = status.bottom - status.top;
  const SIZE wanted = {SceneView::PixelWidth() + 4, SceneView::PixelHeight() + 4 + top + statusHeight};
  RECT frame = {0, 0, wanted.cx, wanted.cy};
  AdjustWindowRectEx(&frame, GetWindowLongW(frame_, GWL_STYLE), TRUE, 0);
  SetWindowPos(frame_, nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top, SWP_NOMOVE | SWP_NOZORDER);
  // A frame drawn by the system may take more than it says: grow by what the client area lacks.
  RECT client = {};
  GetClientRect(frame_, &client);
  if (client.right != wanted.cx || client.bottom != wanted.cy) {
    SetWindowPos(frame_, nullptr, 0, 0, frame.right - frame.left + wanted.cx - client.right,
                 frame.bottom - frame.top + wanted.cy - client.bottom, SWP_NOMOVE | SWP_NOZORDER);
  }
  MoveWindow(canvas_, 0, top, SceneView::PixelWidth() + 4, SceneView::PixelHeight() + 4, TRUE);
  SendMessageW(status_, WM_SIZE, 0, 0);
  const int parts[] = {SceneView::PixelWidth() - 160, -1};
  SendMessageW(status_, SB_SETPARTS, 2, reinterpret_cast<LPARAM>(parts));
}

HRESULT HostWindow::LoadAddin() {
  HRESULT hr = addin_.Load(L"Varnkit_TL.Tallyline");
  if (FAILED(hr)) {
    addin_.Unload();
    return hr;
  }
  Say("host: loaded " + Narrow(addin_.Description()) + " " + Narrow(addin_.ClassId()) + " with " +
      std::to_string(addin_.Tools().size()) + " tools");
  // What the host builds its menus and buttons from, told the first time only.
  for (const AddinToolInfo& tool : toolsShown_ ? std::vector<AddinToolInfo>() : addin_.Tools()) {
    Say("  menu " + Narrow(tool.commandName) + "  caption " + Narrow(tool.caption) + "  group " + Narrow(tool.group));
    Say("    prompt  " + Narrow(tool.prompt));
    Say("    tooltip " + Narrow(tool.tooltip));
  }
  BITMAP strip = {};
  if (!toolsShown_ && GetObjectW(addin_.Buttons(), sizeof(strip), &strip) != 0) {
    Say("  button strip " + std::to_string(strip.bmWidth) + " x " + std::to_string(strip.bmHeight));
  }
  toolsShown_ = true;
  toolStates_.assign(addin_.Tools().size(), ToolState{});
  for (size_t i = 0; i < toolStates_.size(); ++i) toolStates_[i].enabled = addin_.Tools()[i].enabled;
  BuildMenus();
  BuildToolbar();
  Layout();
  hr = addin_.InitializeTools();
  Say(SUCCEEDED(hr) ? "host: Initialize for every tool" : "host: Initialize failed");
  Sync();
  return hr;
}

void HostWindow::UnloadAddin() {
  if (!addin_.Loaded()) return;
  addin_.Unload();
  toolStates_.clear();
  Say("host: Terminate for every tool; the add-in is released");
  BuildMenus();
  BuildToolbar();
  Layout();
  Sync();
}

bool HostWindow::Shutdown() {
  host_.RaiseDrawingEvent(kDispBeforeExit);
  UnloadAddin();
  const bool clean = host_.LiveComObjects() == 0 && host_.SubscriberCount() == 0;
  if (!clean) {
    Say("host: the add-in left " + std::to_string(host_.LiveComObjects()) + " host objects and " +
        std::to_string(host_.SubscriberCount()) + " subscriptions behind");
  }
  return clean;
}

void HostWindow::PollTools() {
  if (polling_ || !addin_.Loaded()) return;
  polling_ = true;
  std::string changes;
  for (size_t i = 0; i < toolStates_.size() && addin_.Loaded(); ++i) {
    ToolState state = toolStates_[i];
    addin_.UpdateToolStatus(static_cast<int>(i), &state);
    if (i >= toolStates_.size() || state == toolStates_[i]) continue;
    toolStates_[i] = state;
    const int command = kCommandToolBase + static_cast<int>(i);
    SendMessageW(toolbar_, TB_ENABLEBUTTON, command, MAKELONG(state.enabled, 0));
    SendMessageW(toolbar_, TB_CHECKBUTTON, command, MAKELONG(state.checked, 0));
    EnableMenuItem(menu_, command, MF_BYCOMMAND | (state.enabled ? MF_ENABLED : MF_GRAYED));
    CheckMenuItem(menu_, command, MF_BYCOMMAND | (state.checked ? MF_CHECKED : MF_UNCHECKED));
    changes += " " + Narrow(SplitPath(addin_.Tools()[i].commandName).back()) + " " +
               (state.enabled ? "enabled" : "disabled") + (state.checked ? " checked" : "") + ";";
  }
  if (!changes.empty()) Say("  buttons:" + changes.substr(0, changes.size() - 1));
  polling_ = false;
  Sync();
}

void HostWindow::Sync() {
  const SimAppState& app = host_.AppState();
  if (app.prompt != shownPrompt_) {
    shownPrompt_ = app.prompt;
    Say("  prompt: " + Quoted(app.prompt));
  }
  std::vector<std::u16string> menu;
  for (int32_t i = 0; i < app.localMenuCount && static_cast<size_t>(i) < app.localMenu.captions.size(); ++i) {
    menu.push_back(app.localMenu.captions[static_cast<size_t>(i)]);
  }
  if (menu != shownMenu_) {
    shownMenu_ = menu;
    std::string entries;
    for (const std::u16string& caption : menu) entries += (entries.empty() ? "" : ", ") + Quoted(caption);
    Say(menu.empty() ? "  local menu removed" : "  local menu: " + entries);
  }
  if (app.activeCommand != shownCommand_) {
    shownCommand_ = app.activeCommand;
    input_.Reset();
    Say(std::string("  host command: ") + CommandName(app.activeCommand));
  }
  if (app.leaderToolText != shownLeaderText_) {
    shownLeaderText_ = app.leaderToolText;
    Say("  the leader tool holds " + Quoted(app.leaderToolText));
  }
  std::wstring status(app.prompt.begin(), app.prompt.end());
  if (status.empty()) status = hoverPrompt_;
  if (status.empty() && app.activeCommand == kSimCommandLeader) {
    status = input_.ArrowPoint() ? L"Leader: click the text point" : L"Leader: click the arrow point, or double-click";
  }
  SetStatus(status);
  const std::wstring command(L"Command: " + std::wstring(app.activeCommand == kSimCommandLeader   ? L"Leader"
                                                         : app.activeCommand == kSimCommandSelect ? L"Select"
                                                                                                  : L"none"));
  SendMessageW(status_, SB_SETTEXTW, 1, reinterpret_cast<LPARAM>(command.c_str()));
  const std::wstring title =
      L"Tallyline reference host - " +
      (host_.ActiveDrawing() == 0 ? std::wstring(L"no drawing") : L"Drawing " + std::to_wstring(host_.ActiveDrawing()));
  SetWindowTextW(frame_, title.c_str());
  // The canvas is painted again only when its picture changed: the idle poll runs often.
  std::string picture = SceneToSvg(BuildScene(host_.Model(), host_.ActiveDrawing()));
  if (input_.ArrowPoint())
    picture += std::to_string(input_.ArrowPoint()->x) + "," + std::to_string(input_.ArrowPoint()->y);
  if (picture != shownPicture_) {
    shownPicture_ = std::move(picture);
    InvalidateRect(canvas_, nullptr, FALSE);
  }
}

void HostWindow::SetStatus(const std::wstring& text) {
  SendMessageW(status_, SB_SETTEXTW, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

void HostWindow::RunAddinTool(int tool) {
  const std::string name = Narrow(SplitPath(addin_.Tools()[static_cast<size_t>(tool)].commandName).back());
  Say("user: runs the add-in's tool " + name);
  // Picking one of the add-in's tools ends the host's own command; the add-in hears of it by Run.
  host_.UserPicksAddinTool();
  const HRESULT hr = addin_.Run(tool);
  if (FAILED(hr)) {
    char code[16];
    std::snprintf(code, sizeof(code), "0x%08lx", static_cast<unsigned long>(hr));
    Say("  Run of " + name + " failed: " + code);
  }
  Sync();
}

void HostWindow::RunHostCommand(int32_t simCommand) {
  Say(std::string("user: picks the host's ") + CommandName(simCommand) + " command");
  host_.UserPicksHostTool(simCommand);
  Sync();
}

void HostWindow::SwitchDrawing(int32_t drawing, int32_t arrivalEvent) {
  if (host_.ActiveDrawing() != 0) host_.RaiseDrawingEvent(kDispDrawingDeactivate);
  host_.SetActiveDrawing(drawing);
  host_.RaiseDrawingEvent(arrivalEvent);
  host_.RaiseDrawingEvent(kDispDrawingActivate);
  Say("host: drawing " + std::to_string(drawing) + (arrivalEvent == kDispDrawingNew ? " made" : " opened"));
  Sync();
}

void HostWindow::CloseDrawing() {
  if (host_.ActiveDrawing() == 0) return;
  Say("host: drawing " + std::to_string(host_.ActiveDrawing()) + " closed");
  host_.RaiseDrawingEvent(kDispDrawingBeforeClose);
  host_.RaiseDrawingEvent(kDispDrawingDeactivate);
  host_.SetActiveDrawing(0);
  Sync();
}

void HostWindow::SelectGraphics(const std::vector<int32_t>& ids) {
  std::string named;
  for (int32_t id : ids) {
    const SimGraphicData* graphic = host_.Model().Graphic(id);
    named +=
        (named.empty() ? "" : ", ") + std::to_string(id) +
        (graphic ? " " + Utf8(graphic->typeName) + (graphic->info.empty() ? "" : " " + Quoted(graphic->info)) : "");
  }
  Say(ids.empty() ? "user: selects nothing" : "user: selects " + named);
  if (!host_.Select(ids)) Say("  no such graphic");
  Sync();
}

HRESULT HostWindow::SaveSvg(const std::wstring& path) {
  // Saving is the moment a host tells its add-ins that a drawing is about to be saved.
  host_.RaiseDrawingEvent(kDispDrawingBeforeSave);
  std::ofstream out(path.c_str(), std::ios::binary);
  out << SceneToSvg(BuildScene(host_.Model(), host_.ActiveDrawing()));
  Sync();
  return out.good() ? S_OK : E_FAIL;
}

HRESULT HostWindow::ExportPng(const std::wstring& path) {
  return SaveSceneAsPng(BuildScene(host_.Model(), host_.ActiveDrawing()), path.c_str());
}

bool HostWindow::AskFile(bool svg, std::wstring* path) {
  wchar_t name[MAX_PATH] = {};
  OPENFILENAMEW dialog = {sizeof(dialog)};
  dialog.hwndOwner = frame_;
  dialog.lpstrFilter = svg ? L"SVG drawing\0*.svg\0" : L"PNG picture\0*.png\0";
  dialog.lpstrDefExt = svg ? L"svg" : L"png";
  dialog.lpstrFile = name;
  dialog.nMaxFile = MAX_PATH;
  dialog.Flags = OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST;
  if (!GetSaveFileNameW(&dialog)) return false;
  *path = name;
  return true;
}

int HostWindow::FindMenuCommand(const std::wstring& path) const {
  return FindCommandIn(menu_, SplitPath(path), 0);
}

bool HostWindow::MenuCommandEnabled(int command) const {
  const UINT state = GetMenuState(menu_, static_cast<UINT>(command), MF_BYCOMMAND);
  return state != static_cast<UINT>(-1) && (state & (MF_GRAYED | MF_DISABLED)) == 0;
}

void HostWindow::OnCommand(int command) {
  if (command >= kCommandToolBase && command < kCommandToolBase + static_cast<int>(addin_.Tools().size())) {
    RunAddinTool(command - kCommandToolBase);
    return;
  }
  std::wstring path;
  switch (command) {
    case kCommandFileNew:
      SwitchDrawing(host_.AddDrawing(), kDispDrawingNew);
      break;
    case kCommandFileOpenSample:
      SwitchDrawing(AddSampleDrawing(host_), kDispDrawingOpen);
      break;
    case kCommandFileClose:
      CloseDrawing();
      break;
    case kCommandFileSaveSvg:
      if (AskFile(true, &path)) SaveSvg(path);
      break;
    case kCommandFileExportPng:
      if (AskFile(false, &path)) ExportPng(path);
      break;
    case kCommandFileExit:
      Shutdown();
      DestroyWindow(frame_);
      break;
    case kCommandEditSelect:
      RunHostCommand(kSimCommandSelect);
      break;
    case kCommandInsertLeader:
      RunHostCommand(kSimCommandLeader);
      break;
    case kCommandEditUndo:
    case kCommandEditRedo: {
      const bool undo = command == kCommandEditUndo;
      const std::vector<std::u16string> before = host_.UndoCaptions();
      const bool done = undo ? host_.Undo() : host_.Redo();
      const std::vector<std::u16string> after = host_.UndoCaptions();
      const std::u16string caption =
          undo ? (before.empty() ? u"" : before.back()) : (after.empty() ? u"" : after.back());
      Say(std::string("user: ") + (undo ? "undo " : "redo ") + (done ? Quoted(caption) : "(nothing to do)"));
      Sync();
      break;
    }
    default:
      break;
  }
}

void HostWindow::OnNotify(const NMHDR& header) {
  if (header.code == TTN_GETDISPINFOW) {
    auto& info = const_cast<NMTTDISPINFOW&>(reinterpret_cast<const NMTTDISPINFOW&>(header));
    const size_t tool = header.idFrom - kCommandToolBase;
    if (tool < addin_.Tools().size()) info.lpszText = const_cast<wchar_t*>(addin_.Tools()[tool].tooltip.c_str());
  } else if (header.code == TBN_HOTITEMCHANGE) {
    const auto& hot = reinterpret_cast<const NMTBHOTITEM&>(header);
    const size_t tool = static_cast<size_t>(hot.idNew - kCommandToolBase);
    hoverPrompt_ = (hot.dwFlags & HICF_LEAVING) == 0 && tool < addin_.Tools().size() ? addin_.Tools()[tool].prompt
                                                                                     : std::wstring();
    Sync();
  }
}

void HostWindow::ShowLocalMenu(POINT screen) {
  const SimAppState& app = host_.AppState();
  if (app.localMenuCount <= 0) return;
  const HostLocalMenu menu = app.localMenu;
  int chosen = -1;
  if (chooser_) {
    chosen = chooser_(menu);
  } else {
    HMENU popup = CreatePopupMenu();
    for (size_t i = 0; i < menu.captions.size() && i < static_cast<size_t>(app.localMenuCount); ++i) {
      const std::wstring caption(menu.captions[i].begin(), menu.captions[i].end());
      const bool enabled = i >= menu.flags1.size() || menu.flags1[i];
      const bool checked = i < menu.flags2.size() && menu.flags2[i];
      AppendMenuW(popup, MF_STRING | (enabled ? 0 : MF_GRAYED) | (checked ? MF_CHECKED : 0), kLocalMenuBase + i,
                  caption.c_str());
    }
    chosen = static_cast<int>(
                 TrackPopupMenu(popup, TPM_RETURNCMD | TPM_RIGHTBUTTON, screen.x, screen.y, 0, frame_, nullptr)) -
             kLocalMenuBase;
    DestroyMenu(popup);
  }
  hoverPrompt_.clear();
  if (chosen < 0 || static_cast<size_t>(chosen) >= menu.captions.size()) {
    Sync();
    return;
  }
  Say("user: chooses " + Quoted(menu.captions[static_cast<size_t>(chosen)]) + " from the local menu");
  addin_.DoLMCommand(chosen);
  Sync();
}

void HostWindow::OnCanvasPress(UINT message, WPARAM wParam, LPARAM lParam) {
  const int x = static_cast<short>(LOWORD(lParam)), y = static_cast<short>(HIWORD(lParam));
  const SimPoint at = SceneView::FromPixel(x, y);
  const bool shift = (wParam & MK_SHIFT) != 0;
  char where[64];
  std::snprintf(where, sizeof(where), "%g %g", at.x, at.y);
  if (message == WM_RBUTTONDOWN) {
    Say(std::string("user: right-clicks at ") + where);
    input_.RightPress(at, shift);
    Sync();
    return;
  }
  const bool twice = message == WM_LBUTTONDBLCLK;
  Say(std::string("user: ") + (twice ? "double-clicks" : "clicks") + " at " + where + (shift ? " with Shift" : ""));
  const DrawingInput::Result result = twice ? input_.DoublePress(at, shift) : input_.Press(at, shift);
  if (result.outcome == DrawingInput::Outcome::LeaderPlaced) {
    const SimGraphicData* leader = host_.Model().Graphic(result.graphicId);
    Say("  leader " + std::to_string(result.graphicId) + " placed with the text " +
        Quoted(leader != nullptr ? leader->info : u""));
  } else if (result.outcome == DrawingInput::Outcome::SelectionChanged) {
    Say("  selection: " + std::to_string(host_.Model().Drawing(host_.ActiveDrawing())->selection.size()) +
        " graphic(s)");
  }
  Sync();
}

LRESULT HostWindow::OnCanvasMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_PAINT: {
      // Painted off screen first, so that the drawing does not flicker.
      PAINTSTRUCT paint;
      HDC dc = BeginPaint(canvas_, &paint);
      HDC memory = CreateCompatibleDC(dc);
      HBITMAP bitmap = CreateCompatibleBitmap(dc, SceneView::PixelWidth(), SceneView::PixelHeight());
      HGDIOBJ old = SelectObject(memory, bitmap);
      PaintScene(memory, BuildScene(host_.Model(), host_.ActiveDrawing()), input_.ArrowPoint());
      BitBlt(dc, 0, 0, SceneView::PixelWidth(), SceneView::PixelHeight(), memory, 0, 0, SRCCOPY);
      SelectObject(memory, old);
      DeleteObject(bitmap);
      DeleteDC(memory);
      EndPaint(canvas_, &paint);
      return 0;
    }
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDOWN:
      SetFocus(canvas_);
      OnCanvasPress(message, wParam, lParam);
      return 0;
    case WM_RBUTTONUP: {
      POINT screen = {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
      ClientToScreen(canvas_, &screen);
      ShowLocalMenu(screen);
      return 0;
    }
    default:
      return DefWindowProcW(canvas_, message, wParam, lParam);
  }
}

LRESULT HostWindow::OnFrameMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_COMMAND:
      OnCommand(LOWORD(wParam));
      return 0;
    case WM_NOTIFY:
      OnNotify(*reinterpret_cast<const NMHDR*>(lParam));
      return 0;
    case WM_MENUSELECT: {
      // The status bar tells what the entry under the pointer does.
      const size_t item = LOWORD(wParam);
      const HostLocalMenu& local = host_.AppState().localMenu;
      hoverPrompt_.clear();
      if (item >= kCommandToolBase && item - kCommandToolBase < addin_.Tools().size()) {
        hoverPrompt_ = addin_.Tools()[item - kCommandToolBase].prompt;
      } else if (item >= kLocalMenuBase && item - kLocalMenuBase < local.prompts.size()) {
        const std::u16string& prompt = local.prompts[item - kLocalMenuBase];
        hoverPrompt_.assign(prompt.begin(), prompt.end());
      }
      Sync();
      return 0;
    }
    case WM_TIMER:
      if (onTick_) {
        onTick_();
      } else {
        PollTools();
      }
      return 0;
    case WM_CLOSE:
      Shutdown();
      DestroyWindow(frame_);
      return 0;
    case WM_DESTROY:
      KillTimer(frame_, kTimerId);
      frame_ = nullptr;
      if (applicationWindow_) PostQuitMessage(0);
      return 0;
    default:
      return DefWindowProcW(frame_, message, wParam, lParam);
  }
}

LRESULT CALLBACK HostWindow::FrameProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    SetWindowLongPtrW(window, GWLP_USERDATA,
                      reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams));
  }
  auto* self = reinterpret_cast<HostWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (self == nullptr || self->frame_ == nullptr) {
    if (self != nullptr && message == WM_NCCREATE) self->frame_ = window;
    return DefWindowProcW(window, message, wParam, lParam);
  }
  // No exception may unwind through the system's message dispatch.
  try {
    return self->OnFrameMessage(message, wParam, lParam);
  } catch (...) {
    return 0;
  }
}

LRESULT CALLBACK HostWindow::CanvasProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    SetWindowLongPtrW(window, GWLP_USERDATA,
                      reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams));
  }
  auto* self = reinterpret_cast<HostWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (self == nullptr || self->canvas_ != window) return DefWindowProcW(window, message, wParam, lParam);
  try {
    return self->OnCanvasMessage(message, wParam, lParam);
  } catch (...) {
    return 0;
  }
}
