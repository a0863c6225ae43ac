// A whole list added at once must stand in the list box exactly as the list box's own sorted
// inserts put it, ties between texts that differ only in case included: one box is filled both
// ways with the same random texts and read back.
#include <gtest/gtest.h>

#include <windows.h>

#include <random>
#include <string>
#include <vector>

#include "framework/list_box_fill_win.h"

namespace {

std::vector<std::u16string> Entries(HWND listBox) {
  std::vector<std::u16string> entries;
  const LRESULT count = SendMessageW(listBox, LB_GETCOUNT, 0, 0);
  for (LRESULT i = 0; i < count; ++i) {
    std::u16string text(static_cast<size_t>(SendMessageW(listBox, LB_GETTEXTLEN, i, 0)) + 1, u'\0');
    text.resize(static_cast<size_t>(SendMessageW(listBox, LB_GETTEXT, i, reinterpret_cast<LPARAM>(&text[0]))));
    entries.push_back(text);
  }
  return entries;
}

// `count` texts of up to `length` characters drawn from `characters`.
std::vector<std::u16string> RandomTexts(size_t count, size_t length, const std::u16string& characters) {
  std::mt19937 random(7);
  std::vector<std::u16string> texts(count);
  for (std::u16string& text : texts) {
    for (size_t size = random() % (length + 1); text.size() < size;) text += characters[random() % characters.size()];
  }
  return texts;
}

TEST(ListBoxFill, GivesTheListBoxesOwnOrder) {
  struct Case {
    size_t count;
    size_t length;
    std::u16string characters;
  };
  // Both cases of letters: texts that differ only in case.
  const Case cases[] = {
      {50, 2, u"aAbB"},
      {3000, 1, u"aA"},
      {3000, 3, u"aAbB"},
      {5000, 4, u"aAbBcC1 "},
      {5000, 4, u"aA-'\u00e9\u00c9eE\u00c5\u00e5 \u8868\u30c7"},
      {20000, 6, u"abcdefghABCDEFGH"},
  };
  // The style of the pick dialog's list box.
  HWND listBox = CreateWindowW(L"LISTBOX", L"", WS_POPUP | LBS_SORT | LBS_NOTIFY | WS_VSCROLL | LBS_NOINTEGRALHEIGHT, 0,
                               0, 200, 200, nullptr, nullptr, nullptr, nullptr);
  ASSERT_NE(listBox, nullptr);
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.count) + " texts of " + std::to_string(c.characters.size()) + " characters");
    const std::vector<std::u16string> texts = RandomTexts(c.count, c.length, c.characters);
    SendMessageW(listBox, LB_RESETCONTENT, 0, 0);
    for (const std::u16string& text : texts) {
      SendMessageW(listBox, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
    }
    const std::vector<std::u16string> oneByOne = Entries(listBox);
    SendMessageW(listBox, LB_RESETCONTENT, 0, 0);
    AddListBoxStrings(listBox, texts);
    const std::vector<std::u16string> atOnce = Entries(listBox);
    ASSERT_EQ(atOnce.size(), oneByOne.size());
    size_t same = 0;
    while (same < atOnce.size() && atOnce[same] == oneByOne[same]) ++same;
    EXPECT_EQ(same, atOnce.size()) << "the first entry that differs";
  }
  DestroyWindow(listBox);
}

}  // namespace
