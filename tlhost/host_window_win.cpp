// The reference host's window: its making and layout, the add-in's loading and unloading, the
// drawing commands of the File and Edit menus, and the dispatch of the window messages. The
// menus and buttons are in host_window_menus_win.cpp, the clicks on the drawing in
// host_window_input_win.cpp, the idle poll and the transcript in host_window_poll_win.cpp.
#include "tlhost/host_window_win.h"

#include <commctrl.h>
#include <commdlg.h>

#include <cstdio>
#include <fstream>

#include "tlhost/host_canvas_win.h"
#include "tlhost/host_window_shared_win.h"

namespace {

constexpr wchar_t kFrameClass[] = L"TallylineReferenceHost";
constexpr wchar_t kCanvasClass[] = L"TallylineDrawing";
constexpr UINT_PTR kTimerId = 1;
constexpr UINT kPollMilliseconds = 200;
constexpr UINT kScriptTickMilliseconds = 25;

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
  if (canvas_ == nullptr) return false;
  HDC canvasDc = GetDC(canvas_);
  const bool pictureMade = canvasPicture_.Create(canvasDc);
  ReleaseDC(canvas_, canvasDc);
  if (!pictureMade) return false;
  BuildToolbar();
  Layout();
  SetTimer(frame_, kTimerId, onTick_ ? kScriptTickMilliseconds : kPollMilliseconds, nullptr);
  SwitchDrawing(AddSampleDrawing(host_), kDispDrawingOpen);
  ShowWindow(frame_, SW_SHOW);
  UpdateWindow(frame_);
  return true;
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
  Say("host: loaded " + WideToUtf8(addin_.Description()) + " " + WideToUtf8(addin_.ClassId()) + " with " +
      std::to_string(addin_.Tools().size()) + " tools");
  // What the host builds its menus and buttons from, told the first time only.
  for (const AddinToolInfo& tool : toolsShown_ ? std::vector<AddinToolInfo>() : addin_.Tools()) {
    Say("  menu " + WideToUtf8(tool.commandName) + "  caption " + WideToUtf8(tool.caption) + "  group " +
        WideToUtf8(tool.group));
    Say("    prompt  " + WideToUtf8(tool.prompt));
    Say("    tooltip " + WideToUtf8(tool.tooltip));
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
  Say(SUCCEEDED(hr)                  ? "host: Initialize for every tool"
      : addin_.WrongAnswer().empty() ? "host: Initialize failed"
                                     : "host: Initialize failed: " + addin_.WrongAnswer());
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

void HostWindow::RunHostCommand(int32_t simCommand) {
  Say(std::string("user: picks the host's ") + CommandName(simCommand) + " command");
  host_.UserPicksHostTool(simCommand);
  Sync();
}

// A host's command belongs to its drawing: it ends, with any leader half drawn, when the drawing
// closes or another one opens, so that nothing lands in a drawing the command was not started in.
void HostWindow::EndCommandWithDrawing() {
  host_.EndCommandWithDrawing();
  input_.Reset();
}

void HostWindow::SwitchDrawing(int32_t drawing, int32_t arrivalEvent) {
  EndCommandWithDrawing();
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
  EndCommandWithDrawing();
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
        (graphic ? " " + Utf16ToUtf8(graphic->typeName) + (graphic->info.empty() ? "" : " " + Quoted(graphic->info))
                 : "");
  }
  Say(ids.empty() ? "user: selects nothing" : "user: selects " + named);
  if (!host_.Select(ids)) Say("  no such graphic");
  Sync();
}

void HostWindow::SelectBox(SimPoint corner, SimPoint otherCorner, bool shift) {
  char where[96];
  std::snprintf(where, sizeof(where), "%g %g to %g %g", corner.x, corner.y, otherCorner.x, otherCorner.y);
  Say(std::string("user: drags a box from ") + where + (shift ? " with Shift" : ""));
  input_.SelectBox(corner, otherCorner, shift);
  const SimDrawingData* drawing = host_.Model().Drawing(host_.ActiveDrawing());
  Say("  selection: " + std::to_string(drawing == nullptr ? 0 : drawing->selection.size()) + " graphic(s)");
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
