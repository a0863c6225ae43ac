// The reference host's menus and buttons: the menu bar and the toolbar built from the add-in's
// tool info and button strip, the tooltips and prompts under the pointer, running the add-in's
// tools from them, and the local menu on a right click.
#include "tlhost/host_window_win.h"

#include <commctrl.h>

#include <cstdio>
#include <cwctype>

#include "tlhost/dialog_driver_win.h"
#include "tlhost/host_window_shared_win.h"

namespace {

constexpr int kButtonWidth = 24, kButtonHeight = 23;
constexpr COLORREF kMagenta = RGB(255, 0, 255);

// The menu text without its access-key marks, in lower case, for comparing paths.
std::wstring Plain(const std::wstring& text) {
  std::wstring plain;
  for (wchar_t c : text) {
    if (c != L'&') plain += static_cast<wchar_t>(std::towlower(c));
  }
  return plain;
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

}  // namespace

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

// The bar from its left edge to as far past the last button as the first button lies from that
// edge: the add-in's buttons in their frame, without the empty rest of the bar.
bool HostWindow::SaveToolbarShot(const std::wstring& path) const {
  const LRESULT count = SendMessageW(toolbar_, TB_BUTTONCOUNT, 0, 0);
  RECT bar = {}, first = {}, last = {};
  if (count <= 0 || !GetWindowRect(toolbar_, &bar) ||
      !SendMessageW(toolbar_, TB_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&first)) ||
      !SendMessageW(toolbar_, TB_GETITEMRECT, static_cast<WPARAM>(count - 1), reinterpret_cast<LPARAM>(&last))) {
    return false;
  }
  MapWindowPoints(toolbar_, nullptr, reinterpret_cast<POINT*>(&first), 2);
  MapWindowPoints(toolbar_, nullptr, reinterpret_cast<POINT*>(&last), 2);
  const RECT part = {0, 0, last.right - bar.left + first.left - bar.left, bar.bottom - bar.top};
  return DialogUser(toolbar_).SaveScreenshot(path, part);
}

int HostWindow::FindMenuCommand(const std::wstring& path) const {
  return FindCommandIn(menu_, SplitPath(path), 0);
}

bool HostWindow::MenuCommandEnabled(int command) const {
  const UINT state = GetMenuState(menu_, static_cast<UINT>(command), MF_BYCOMMAND);
  return state != static_cast<UINT>(-1) && (state & (MF_GRAYED | MF_DISABLED)) == 0;
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

void HostWindow::RunAddinTool(int tool) {
  const std::string name = WideToUtf8(SplitPath(addin_.Tools()[static_cast<size_t>(tool)].commandName).back());
  Say("user: runs the add-in's tool " + name);
  // Picking one of the add-in's tools ends the host's own command; the add-in hears of it by Run.
  host_.UserPicksAddinTool();
  const HRESULT hr = addin_.Run(tool);
  if (FAILED(hr)) {
    char code[16];
    std::snprintf(code, sizeof(code), "0x%08lx", static_cast<unsigned long>(hr));
    Say("  Run of " + name + " failed: " + code +
        (addin_.WrongAnswer().empty() ? std::string() : ": " + addin_.WrongAnswer()));
  }
  Sync();
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
