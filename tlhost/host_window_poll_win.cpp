// The reference host's idle poll: UpdateToolStatus for every tool with the results on buttons
// and menus, and after every change the status bar, the canvas and the transcript catching up.
#include "tlhost/host_window_win.h"

#include <commctrl.h>

#include "tlhost/host_window_shared_win.h"

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
    changes += " " + WideToUtf8(SplitPath(addin_.Tools()[i].commandName).back()) + " " +
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
  SyncPicture();
}

// The idle poll runs often and a drawing may hold thousands of graphics: the model says which
// graphics changed, and only the boxes they covered before and cover now are painted again, into
// the kept picture; the screen copies from it.
void HostWindow::SyncPicture() {
  SimModel& model = host_.Model();
  const std::vector<int32_t> changed = model.TakeChangedGraphics();
  const std::vector<PixelBox> dirty = picture_.DrawingId() == host_.ActiveDrawing()
                                          ? picture_.Update(model, changed)
                                          : picture_.Show(model, host_.ActiveDrawing());
  if (!dirty.empty()) {
    canvasPicture_.Repaint(dirty, picture_.ShapesIn(model, dirty));
    PixelBox bounds;
    for (const PixelBox& box : dirty) bounds = Union(bounds, box);
    InvalidateCanvas(bounds);
  }
  const std::optional<SimPoint>& arrow = input_.ArrowPoint();
  const bool sameArrow = arrow.has_value() == shownArrow_.has_value() && (!arrow || *arrow == *shownArrow_);
  if (!sameArrow) {
    if (shownArrow_) InvalidateCanvas(ArrowPointPixels(*shownArrow_));
    if (arrow) InvalidateCanvas(ArrowPointPixels(*arrow));
    shownArrow_ = arrow;
  }
}

void HostWindow::InvalidateCanvas(const PixelBox& box) {
  const RECT rect = {box.left, box.top, box.right, box.bottom};
  InvalidateRect(canvas_, &rect, FALSE);
}

bool HostWindow::CanvasShowsDrawing() {
  SyncPicture();
  return canvasPicture_.Shows(BuildScene(host_.Model(), picture_.DrawingId()));
}

void HostWindow::SetStatus(const std::wstring& text) {
  SendMessageW(status_, SB_SETTEXTW, 0, reinterpret_cast<LPARAM>(text.c_str()));
}
