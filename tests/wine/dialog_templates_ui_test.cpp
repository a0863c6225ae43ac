// The DLL's dialog templates as Windows builds them: each dialog is created from its template
// and every control checked against a table written from the dialog's specified template (id,
// window class, text, position and size, tab order), so that a template edit that moves,
// restyles or reorders a control is caught, not only one that breaks the dialog's behaviour.
// Style bits are read from the template itself: a control changes some of its own when it is
// created (a border becomes a client edge, an unneeded scroll bar goes).
#include <gtest/gtest.h>

#include <cwchar>
#include <cwctype>
#include <string>
#include <vector>

#include "resources/resource_ids.h"
#include "wine_test_support.h"

namespace {

struct ControlRow {
  int id;              // -1: a static text without an id
  const wchar_t* cls;  // window class, compared without regard to case
  DWORD type;          // the low style bits that give the control's kind (BS_*, SS_*)
  DWORD flags;         // style bits that must be set
  const wchar_t* text;
  RECT units;         // left, top, width, height in dialog units
  DWORD cleared = 0;  // style bits that must be clear (a control that starts no group)
};

struct DialogRow {
  int templateId;
  const wchar_t* caption;
  int width, height;                 // client area, dialog units
  std::vector<ControlRow> controls;  // in tab order
  DWORD style = DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU;
};

constexpr DWORD kButtonType = BS_TYPEMASK;
constexpr DWORD kStaticType = SS_TYPEMASK;
const wchar_t kAboutPicture[] = {0xFFFF, IDB_ABOUT_STRIP, 0};  // a picture's text names its bitmap
constexpr DWORD kUnsortedList = LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | WS_VSCROLL | WS_BORDER | WS_TABSTOP;
constexpr DWORD kInGroup = WS_GROUP | WS_TABSTOP;  // a later button of a radio group

std::vector<DialogRow> Dialogs() {
  return {
      {IDD_PICK_LIST,
       L"Tallyline - Pick Text from List",
       184,
       206,
       {
           {-1,
            L"Static",
            SS_LEFT,
            0,
            L"&Select an item from the list or TAB to the Editbox and type the text for the Leader",
            {6, 6, 174, 30}},
           {IDC_PICK_LIST,
            L"ListBox",
            0,
            LBS_SORT | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | WS_VSCROLL | WS_BORDER | WS_TABSTOP,
            L"",
            {12, 36, 162, 90}},
           {IDC_PICK_EDIT, L"Edit", 0, ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP, L"", {12, 145, 162, 12}},
           {IDC_PICK_AUTO_ADD, L"Button", BS_AUTOCHECKBOX, WS_TABSTOP, L"A&dd automatically on OK", {12, 159, 90, 12}},
           {IDC_PICK_REMOVE, L"Button", BS_PUSHBUTTON, WS_TABSTOP, L"&Remove", {138, 129, 36, 12}},
           {IDC_PICK_ADD, L"Button", BS_PUSHBUTTON, WS_TABSTOP, L"&Add", {138, 159, 36, 12}},
           {IDCANCEL, L"Button", BS_PUSHBUTTON, WS_TABSTOP, L"Cancel", {129, 183, 48, 16}},
           {IDOK, L"Button", BS_DEFPUSHBUTTON, WS_TABSTOP, L"OK", {77, 183, 48, 16}},
       }},
      // The options dialog and the about box it opens.
      {IDD_OPTIONS,
       L"Tallyline Running Options",
       396,
       270,
       {
           {-1, L"Static", SS_LEFT, 0, L"TL Number Tool Options", {12, 12, 138, 12}},
           {-1, L"Static", SS_LEFT, 0, L"Number &Format", {24, 25, 216, 8}},
           {IDC_OPTIONS_FORMAT, L"ListBox", 0, kUnsortedList, L"", {24, 38, 216, 36}, LBS_SORT},
           {-1, L"Static", SS_LEFT, 0, L"&Start At", {24, 81, 30, 12}},
           {IDC_OPTIONS_START, L"Edit", 0, ES_NUMBER | ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP, L"", {66, 78, 30, 12}},
           {IDC_OPTIONS_PREVIEW,
            L"Edit",
            0,
            ES_READONLY | ES_AUTOHSCROLL | WS_TABSTOP,
            L"",
            {108, 82, 70, 12},
            WS_BORDER},
           {-1, L"Static", SS_LEFT, 0, L"TL Picklist Tool Options", {12, 102, 185, 12}},
           {IDC_OPTIONS_AUTO_PICK,
            L"Button",
            BS_AUTOCHECKBOX,
            WS_TABSTOP,
            L"&Popup List up automatically for each new Leader",
            {24, 114, 168, 12}},
           {IDC_OPTIONS_LIST, L"Button", BS_PUSHBUTTON, WS_TABSTOP, L"&List ...", {198, 114, 36, 12}},
           {-1, L"Static", SS_LEFT, 0, L"TL Object Tool Options", {12, 138, 84, 12}},
           {-1, L"Static", SS_LEFT, 0, L"&Object Property/ Attribute", {24, 150, 90, 12}},
           {IDC_OPTIONS_OBJECT_SOURCE, L"ListBox", 0, kUnsortedList, L"", {24, 162, 216, 35}, LBS_SORT},
           {-1, L"Static", SS_LEFT, 0, L"Object Creation (Global option)", {12, 210, 120, 12}},
           {IDC_OPTIONS_CONVERT_POINT,
            L"Button",
            BS_AUTOCHECKBOX,
            WS_TABSTOP,
            L"&Convert 'Point Leaders' to Text (double click leaders = text)",
            {24, 222, 216, 12}},
           {IDC_OPTIONS_ABOUT, L"Button", BS_PUSHBUTTON, WS_TABSTOP, L"About...", {24, 246, 42, 15}},
           {IDOK, L"Button", BS_DEFPUSHBUTTON, WS_TABSTOP, L"OK", {141, 246, 45, 15}},
           {IDCANCEL, L"Button", BS_PUSHBUTTON, WS_TABSTOP, L"Cancel", {195, 246, 45, 15}},
           // The label style, after the controls above, beside them.
           {-1, L"Static", SS_LEFT, 0, L"TL Number Label Style", {256, 12, 128, 12}},
           {-1, L"Static", SS_LEFT, 0, L"P&refix", {264, 28, 40, 8}},
           {IDC_OPTIONS_PREFIX, L"Edit", 0, ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP, L"", {306, 26, 78, 12}},
           {-1, L"Static", SS_LEFT, 0, L"Suffi&x", {264, 44, 40, 8}},
           {IDC_OPTIONS_SUFFIX, L"Edit", 0, ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP, L"", {306, 42, 78, 12}},
           {-1, L"Static", SS_LEFT, 0, L"S&tep", {264, 60, 40, 8}},
           {IDC_OPTIONS_STEP, L"Edit", 0, ES_NUMBER | ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP, L"", {306, 58, 30, 12}},
           {-1, L"Static", SS_LEFT, 0, L"&Digits", {264, 76, 40, 8}},
           {IDC_OPTIONS_DIGITS,
            L"Edit",
            0,
            ES_NUMBER | ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP,
            L"",
            {306, 74, 30, 12}},
           {-1, L"Static", SS_LEFT, 0, L"L&etters", {264, 92, 120, 8}},
           {IDC_OPTIONS_LETTER_SET, L"ListBox", 0, kUnsortedList, L"", {264, 104, 120, 36}, LBS_SORT},
           {IDC_OPTIONS_CONTINUE,
            L"Button",
            BS_AUTOCHECKBOX,
            BS_MULTILINE | WS_TABSTOP,
            L"Co&ntinue after the drawing's highest label",
            {264, 148, 120, 20}},
           {-1, L"Static", SS_LEFT, 0, L"TL Renumber Parts List", {256, 180, 128, 12}},
           {IDC_OPTIONS_PARTS_LIST, L"Edit", 0, ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP, L"", {264, 194, 120, 12}},
           {IDC_OPTIONS_PARTS_BROWSE, L"Button", BS_PUSHBUTTON, WS_TABSTOP, L"Bro&wse...", {324, 210, 60, 14}},
       }},
      {IDD_ABOUT,
       L"Varnkit_TL - About",
       178,
       126,
       {
           {-1, L"Static", SS_BITMAP, WS_BORDER, kAboutPicture, {12, 12, 161, 15}},
           {-1,
            L"Static",
            SS_LEFT,
            0,
            L"Varnkit_TL\n       - Tallyline for TurboCAD\n       - Version 1.0a",
            {24, 36, 114, 30}},
           {-1, L"Static", SS_LEFT, 0, L"Copyright (C) 2026 Varnkit.\nAll rights reserved.", {24, 74, 146, 18}},
           {IDCANCEL, L"Button", BS_PUSHBUTTON, WS_TABSTOP, L"Close", {120, 102, 50, 16}},
       },
       DS_MODALFRAME | WS_POPUP | WS_VISIBLE | WS_CAPTION | WS_SYSMENU},
      {IDD_RENUMBER,
       L"Tallyline - Renumber",
       344,  // the template's own 202, and a column for the controls after its own
       241,
       {
           {-1, L"Static", SS_LEFT, WS_GROUP, L"Objects to Renumber", {7, 7, 188, 8}},
           {IDC_RENUMBER_ALL,
            L"Button",
            BS_AUTORADIOBUTTON,
            WS_GROUP | WS_TABSTOP,
            L"&All Leaders, numeric or not",
            {14, 19, 181, 10}},
           {IDC_RENUMBER_NUMERIC,
            L"Button",
            BS_AUTORADIOBUTTON,
            0,
            L"Only &Numeric Leaders (any Format)",
            {14, 31, 181, 10},
            kInGroup},
           {IDC_RENUMBER_SAME_FORMAT,
            L"Button",
            BS_AUTORADIOBUTTON,
            0,
            L"Only Numeric Leaders in same &Format (as below)",
            {14, 43, 181, 10},
            kInGroup},
           {-1, L"Static", SS_LEFT, WS_GROUP, L"Renumbering/Formatting scheme", {7, 60, 188, 8}},
           {-1, L"Static", SS_LEFT, WS_GROUP, L"&Start at ...", {14, 74, 44, 8}},
           {IDC_RENUMBER_START_AT,
            L"Edit",
            0,
            ES_NUMBER | ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP,
            L"",
            {60, 72, 56, 12},
            WS_GROUP},
           {-1, L"Static", SS_LEFT, 0, L"Format", {14, 89, 44, 8}, WS_GROUP},
           {IDC_RENUMBER_ARABIC,
            L"Button",
            BS_AUTORADIOBUTTON,
            WS_GROUP | WS_TABSTOP,
            L"&1, 2, 3...",
            {22, 100, 100, 10}},
           {IDC_RENUMBER_LETTERS, L"Button", BS_AUTORADIOBUTTON, 0, L"&A, B, C...", {22, 111, 100, 10}, kInGroup},
           {IDC_RENUMBER_ROMAN, L"Button", BS_AUTORADIOBUTTON, 0, L"&i, ii, iii, iv...", {22, 122, 100, 10}, kInGroup},
           {IDC_RENUMBER_FIX_ORDER,
            L"Button",
            BS_AUTOCHECKBOX,
            WS_TABSTOP,
            L"Fix &Order (gaps, repeats, blanks)",
            {14, 138, 181, 10},
            WS_GROUP},
           {-1, L"Static", SS_LEFT, WS_GROUP, L"(No = keep relative ordinal values)", {26, 149, 169, 8}},
           {IDC_RENUMBER_RESET,
            L"Button",
            BS_AUTOCHECKBOX,
            WS_TABSTOP,
            L"&Reset running Start At Value",
            {14, 162, 181, 10},
            WS_GROUP},
           {-1, L"Static", SS_LEFT, WS_GROUP, L"Result", {7, 178, 188, 8}},
           {IDC_RENUMBER_PREVIEW,
            L"Edit",
            0,
            ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL | WS_BORDER,
            L"",
            {14, 189, 181, 24},
            WS_GROUP},
           {IDOK, L"Button", BS_DEFPUSHBUTTON, WS_GROUP | WS_TABSTOP, L"OK", {89, 220, 50, 14}},
           {IDCANCEL, L"Button", BS_PUSHBUTTON, WS_TABSTOP, L"Cancel", {145, 220, 50, 14}, WS_GROUP},
           // After the template's own: the order, its tolerance, the new order and the report.
           {-1, L"Static", SS_LEFT, WS_GROUP, L"Order (with Fix Order)", {207, 7, 130, 8}},
           {IDC_RENUMBER_ORDER_LABELS, L"Button", BS_AUTORADIOBUTTON, kInGroup, L"By old &labels", {214, 19, 123, 10}},
           {IDC_RENUMBER_ORDER_ROWS,
            L"Button",
            BS_AUTORADIOBUTTON,
            0,
            L"Ro&ws: left to right, top down",
            {214, 31, 123, 10},
            kInGroup},
           {IDC_RENUMBER_ORDER_COLUMNS,
            L"Button",
            BS_AUTORADIOBUTTON,
            0,
            L"Colu&mns: top down, left to right",
            {214, 43, 123, 10},
            kInGroup},
           {IDC_RENUMBER_ORDER_SELECTION,
            L"Button",
            BS_AUTORADIOBUTTON,
            0,
            L"S&election order",
            {214, 55, 123, 10},
            kInGroup},
           {-1, L"Static", SS_LEFT, WS_GROUP, L"Row/column &tolerance", {214, 74, 88, 8}},
           {IDC_RENUMBER_TOLERANCE, L"Edit", 0, ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP, L"", {304, 72, 33, 12}},
           {-1, L"Static", SS_LEFT, WS_GROUP, L"Old labels in the new order", {207, 92, 130, 8}},
           {IDC_RENUMBER_SEQUENCE,
            L"Edit",
            0,
            ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL | WS_BORDER | WS_TABSTOP,
            L"",
            {214, 103, 123, 48}},
           {-1, L"Static", SS_LEFT, WS_GROUP, L"Labels as they are", {207, 159, 130, 8}},
           {IDC_RENUMBER_REPORT,
            L"Edit",
            0,
            ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL | WS_BORDER | WS_TABSTOP,
            L"",
            {214, 170, 123, 43}},
           {IDC_RENUMBER_EXPORT, L"Button", BS_PUSHBUTTON, WS_GROUP | WS_TABSTOP, L"E&xport...", {14, 220, 50, 14}},
           {IDC_RENUMBER_ORDER_CLOCKWISE,
            L"Button",
            BS_AUTORADIOBUTTON,
            WS_GROUP | WS_TABSTOP,
            L"Cloc&kwise around their centre",
            {214, 222, 123, 10}},
       }},
  };
}

// Each control of the template resource as written there, in order (a DIALOG, not DIALOGEX).
std::vector<DLGITEMTEMPLATE> TemplateItems(HMODULE module, int templateId) {
  std::vector<DLGITEMTEMPLATE> items;
  HRSRC found = FindResourceW(module, MAKEINTRESOURCEW(templateId), MAKEINTRESOURCEW(5));  // RT_DIALOG
  if (found == nullptr) return items;
  const auto* header = static_cast<const DLGTEMPLATE*>(LockResource(LoadResource(module, found)));
  const auto* word = reinterpret_cast<const WORD*>(header + 1);
  auto skipText = [&word] {  // a resource name: 0, an ordinal 0xFFFF nnnn, or a string
    if (*word == 0xFFFF) {
      word += 2;
    } else {
      while (*word++ != 0) {
      }
    }
  };
  skipText();  // menu
  skipText();  // class
  skipText();  // title
  if ((header->style & DS_SETFONT) != 0) {
    ++word;  // point size
    skipText();
  }
  for (WORD i = 0; i < header->cdit; ++i) {
    word = reinterpret_cast<const WORD*>((reinterpret_cast<UINT_PTR>(word) + 3) & ~UINT_PTR{3});
    const auto* item = reinterpret_cast<const DLGITEMTEMPLATE*>(word);
    items.push_back(*item);
    word = reinterpret_cast<const WORD*>(item + 1);
    skipText();                        // class
    skipText();                        // title
    word += 1 + *word / sizeof(WORD);  // creation data
  }
  return items;
}

INT_PTR CALLBACK QuietDialog(HWND, UINT message, WPARAM, LPARAM) {
  return message == WM_INITDIALOG;
}

std::wstring WindowText(HWND window) {
  wchar_t text[512] = {};
  GetWindowTextW(window, text, ARRAYSIZE(text));
  return text;
}

// Dialog units in the dialog's pixels: a position and a size each convert on their own.
POINT Pixels(HWND dialog, LONG x, LONG y) {
  RECT r = {x, y, 0, 0};
  MapDialogRect(dialog, &r);
  return {r.left, r.top};
}

TEST(DialogTemplates, EveryControlAsSpecified) {
  for (const DialogRow& d : Dialogs()) {
    HWND dialog = CreateDialogParamW(Server().module, MAKEINTRESOURCEW(d.templateId), nullptr, QuietDialog, 0);
    ASSERT_NE(nullptr, dialog) << d.templateId << " error " << GetLastError();
    EXPECT_EQ(d.caption, WindowText(dialog));
    EXPECT_EQ(d.style, static_cast<DWORD>(GetWindowLongW(dialog, GWL_STYLE)) & (d.style | WS_VISIBLE))
        << d.templateId << " dialog style";
    RECT client = {};
    GetClientRect(dialog, &client);
    const POINT size = Pixels(dialog, d.width, d.height);
    EXPECT_EQ(size.x, client.right) << d.templateId << " width";
    EXPECT_EQ(size.y, client.bottom) << d.templateId << " height";
    const std::vector<DLGITEMTEMPLATE> items = TemplateItems(Server().module, d.templateId);
    ASSERT_EQ(d.controls.size(), items.size()) << d.templateId << " controls in the template";

    HWND control = GetWindow(dialog, GW_CHILD);
    for (size_t i = 0; i < d.controls.size(); ++i, control = GetWindow(control, GW_HWNDNEXT)) {
      const ControlRow& c = d.controls[i];
      const std::string what = std::to_string(d.templateId) + " control " + std::to_string(i);
      ASSERT_NE(nullptr, control) << what << ": missing";
      EXPECT_EQ(c.id, static_cast<int>(static_cast<short>(GetDlgCtrlID(control)))) << what << " id";
      wchar_t cls[64] = {};
      GetClassNameW(control, cls, ARRAYSIZE(cls));
      EXPECT_EQ(0, lstrcmpiW(c.cls, cls)) << what << " class";
      const DWORD style = items[i].style;
      const DWORD typeMask = lstrcmpiW(c.cls, L"Button") == 0   ? kButtonType
                             : lstrcmpiW(c.cls, L"Static") == 0 ? kStaticType
                                                                : 0;
      EXPECT_EQ(c.type, style & typeMask) << what << " kind";
      EXPECT_EQ(c.flags, style & c.flags) << what << " style";
      EXPECT_EQ(0u, style & c.cleared) << what << " style bits that must be clear";
      if (lstrcmpiW(c.cls, L"ListBox") != 0) {
        EXPECT_EQ(c.text, WindowText(control)) << what << " text";
      }
      RECT actual = {};
      GetWindowRect(control, &actual);
      MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&actual), 2);
      const POINT place = Pixels(dialog, c.units.left, c.units.top);
      POINT extent = Pixels(dialog, c.units.right, c.units.bottom);
      if (c.type == SS_BITMAP && lstrcmpiW(c.cls, L"Static") == 0) {
        // A picture takes the size of its bitmap; its template keeps the size it was drawn with.
        EXPECT_EQ(c.units.right, items[i].cx) << what << " width in the template";
        EXPECT_EQ(c.units.bottom, items[i].cy) << what << " height in the template";
        BITMAP bitmap = {};
        GetObjectW(reinterpret_cast<HBITMAP>(SendMessageW(control, STM_GETIMAGE, IMAGE_BITMAP, 0)), sizeof bitmap,
                   &bitmap);
        extent = {bitmap.bmWidth, bitmap.bmHeight};
      }
      EXPECT_EQ(place.x, actual.left) << what << " left";
      EXPECT_EQ(place.y, actual.top) << what << " top";
      EXPECT_EQ(extent.x, actual.right - actual.left) << what << " width";
      EXPECT_EQ(extent.y, actual.bottom - actual.top) << what << " height";
    }
    EXPECT_EQ(nullptr, control) << d.templateId << ": more controls than specified";
    // Each of the options dialog's mnemonics leads to one control only.
    std::wstring mnemonics;
    for (const ControlRow& c : d.controls) {
      const wchar_t* amp = d.templateId == IDD_OPTIONS ? wcschr(c.text, L'&') : nullptr;
      if (amp == nullptr || amp[1] == 0) continue;
      const wchar_t key = towupper(amp[1]);
      EXPECT_EQ(std::wstring::npos, mnemonics.find(key)) << "&" << static_cast<char>(key) << " twice";
      mnemonics += key;
    }
    DestroyWindow(dialog);
  }
}

}  // namespace
