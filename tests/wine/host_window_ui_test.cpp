// The reference host's window as a person sees it, beyond what a script checks: the add-in's
// menu entries with their access keys, its buttons from the strip, their tooltips, and the
// prompt of the entry under the pointer in the status bar.
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include <string>

#include "tlhost/host_window_win.h"
#include "wine_test_support.h"

namespace {

std::wstring MenuItemText(HMENU menu, UINT id) {
  wchar_t text[128] = {};
  GetMenuStringW(menu, id, text, 128, MF_BYCOMMAND);
  return text;
}

class HostWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(window.Create(
        GetModuleHandleW(nullptr), [] {}, false));
    RegDeleteTreeW(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Varnkit");
    ASSERT_EQ(S_OK, window.LoadAddin());
    toolbar = FindWindowExW(window.Frame(), nullptr, TOOLBARCLASSNAMEW, nullptr);
    status = FindWindowExW(window.Frame(), nullptr, STATUSCLASSNAMEW, nullptr);
  }
  void TearDown() override { EXPECT_TRUE(window.Shutdown()) << "the add-in kept host objects"; }

  std::wstring StatusText() {
    wchar_t text[256] = {};
    SendMessageW(status, SB_GETTEXTW, 0, reinterpret_cast<LPARAM>(text));
    return text;
  }

  SimHost host;
  HostWindow window{host, nullptr};
  HWND toolbar = nullptr;
  HWND status = nullptr;
};

TEST_F(HostWindowTest, MenusFollowTheCommandNamesWithTheirAccessKeys) {
  HMENU bar = GetMenu(window.Frame());
  const wchar_t* const tops[] = {L"&File", L"&Edit", L"&Insert", L"Modify", L"Options"};
  ASSERT_EQ(5, GetMenuItemCount(bar));
  for (int i = 0; i < 5; ++i) {
    wchar_t text[64] = {};
    GetMenuStringW(bar, static_cast<UINT>(i), text, 64, MF_BYPOSITION);
    EXPECT_STREQ(tops[i], text);
  }
  HMENU insert = GetSubMenu(bar, 2);
  wchar_t submenu[64] = {};
  GetMenuStringW(insert, 1, submenu, 64, MF_BYPOSITION);
  EXPECT_STREQ(L"Tallyline B&y", submenu) << "after the host's own Dimension";
  EXPECT_EQ(L"Number", MenuItemText(bar, kCommandToolBase));
  EXPECT_EQ(L"TL Renumber", MenuItemText(bar, kCommandToolBase + 3));
  EXPECT_EQ(kCommandToolBase + 2, window.FindMenuCommand(L"Insert|Tallyline By|Object"));
  EXPECT_EQ(kCommandToolBase + 4, window.FindMenuCommand(L"options|tl options"));
  EXPECT_EQ(kCommandInsertLeader, window.FindMenuCommand(L"Insert|Dimension|Leader"));
  EXPECT_EQ(0, window.FindMenuCommand(L"Insert|Tallyline By")) << "a submenu is no command";
}

TEST_F(HostWindowTest, ButtonsFromTheStripWithTheToolTips) {
  ASSERT_NE(nullptr, toolbar);
  ASSERT_EQ(5, SendMessageW(toolbar, TB_BUTTONCOUNT, 0, 0));
  HIMAGELIST images = reinterpret_cast<HIMAGELIST>(SendMessageW(toolbar, TB_GETIMAGELIST, 0, 0));
  EXPECT_EQ(10, ImageList_GetImageCount(images)) << "every cell of the 240 x 23 strip";
  int width = 0, height = 0;
  ImageList_GetIconSize(images, &width, &height);
  EXPECT_EQ(24, width);
  EXPECT_EQ(23, height);
  const wchar_t* const tips[] = {L"Tallyline - Sequ Number", L"Tallyline - PickList", L"Tallyline - Object",
                                 L"Tallyline - Renumber", L"Tallyline Options"};
  for (int i = 0; i < 5; ++i) {
    NMTTDISPINFOW info = {};
    info.hdr.hwndFrom = toolbar;
    info.hdr.idFrom = static_cast<UINT_PTR>(kCommandToolBase + i);
    info.hdr.code = TTN_GETDISPINFOW;
    SendMessageW(window.Frame(), WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&info));
    ASSERT_NE(nullptr, info.lpszText) << i;
    EXPECT_STREQ(tips[i], info.lpszText);
  }
}

TEST_F(HostWindowTest, TheStatusBarShowsThePromptOfTheEntryUnderThePointer) {
  SendMessageW(window.Frame(), WM_MENUSELECT, MAKEWPARAM(kCommandToolBase + 1, MF_HILITE), 0);
  EXPECT_EQ(L"Insert Tallyline - create a Leader with text selected from a PickList", StatusText());
  SendMessageW(window.Frame(), WM_MENUSELECT, MAKEWPARAM(kCommandFileNew, MF_HILITE), 0);
  EXPECT_EQ(L"", StatusText());
}

TEST_F(HostWindowTest, PollShowsTheAddinsStatesOnButtonsAndMenus) {
  window.PollTools();
  EXPECT_FALSE(SendMessageW(toolbar, TB_ISBUTTONENABLED, kCommandToolBase + 3, 0)) << "Renumber, nothing selected";
  EXPECT_FALSE(window.MenuCommandEnabled(kCommandToolBase + 3));
  SendMessageW(window.Frame(), WM_COMMAND, kCommandToolBase, 0);
  window.PollTools();
  EXPECT_TRUE(SendMessageW(toolbar, TB_ISBUTTONCHECKED, kCommandToolBase, 0));
  EXPECT_EQ(static_cast<UINT>(MF_CHECKED),
            GetMenuState(GetMenu(window.Frame()), kCommandToolBase, MF_BYCOMMAND) & MF_CHECKED);
  EXPECT_EQ(L"Leader: click the arrow point, or double-click", StatusText());
}

TEST_F(HostWindowTest, ARectangleDraggedOverTheDrawingSelectsTheLeadersInsideIt) {
  const int32_t inside = host.AddLeaderAt(host.ActiveDrawing(), u"1", SimPoint{30, 60, 0});
  const int32_t beyond = host.AddLeaderAt(host.ActiveDrawing(), u"2", SimPoint{150, 60, 0});
  SendMessageW(window.Frame(), WM_COMMAND, kCommandEditSelect, 0);
  const auto drag = [&](SimPoint from, SimPoint to, WPARAM keys) {
    int fromX = 0, fromY = 0, toX = 0, toY = 0;
    ASSERT_TRUE(SceneView::PixelOf(from.x, from.y, &fromX, &fromY) && SceneView::PixelOf(to.x, to.y, &toX, &toY));
    SendMessageW(window.Canvas(), WM_LBUTTONDOWN, keys | MK_LBUTTON, MAKELPARAM(fromX, fromY));
    SendMessageW(window.Canvas(), WM_MOUSEMOVE, keys | MK_LBUTTON, MAKELPARAM(toX, toY));
    SendMessageW(window.Canvas(), WM_LBUTTONUP, keys, MAKELPARAM(toX, toY));
  };
  drag(SimPoint{10, 50, 0}, SimPoint{60, 75, 0}, 0);  // from an empty spot, around the first leader
  EXPECT_EQ(std::vector<int32_t>{inside}, host.Model().Drawing(host.ActiveDrawing())->selection);
  drag(SimPoint{190, 75, 0}, SimPoint{100, 50, 0}, MK_SHIFT);  // any two corners; Shift adds
  EXPECT_EQ((std::vector<int32_t>{inside, beyond}), host.Model().Drawing(host.ActiveDrawing())->selection);
  EXPECT_TRUE(window.CanvasShowsDrawing()) << "both painted as selected";
}

}  // namespace
