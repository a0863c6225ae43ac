// The picklist record syntax: what the reader takes as items from any text, what the writer
// produces, and the character boundaries of a double-byte page whose trail bytes look like the
// tags' own characters.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "testing/test_double_byte_code_page.h"
#include "testing/windows1252_code_page.h"
#include "pick_list/pick_list_records.h"

namespace {

using namespace std::string_literals;
using Items = std::vector<std::string>;

struct ParseCase {
  const char* name;
  std::string text;
  Items items;
};

TEST(PickListRecords, ReadsItemsFromAnyText) {
  const ParseCase cases[] = {
      {"empty text", "", {}},
      {"one record", "<TLT><NAME>Bolt M8</NAME></TLT>\r\n", {"Bolt M8"}},
      {"text outside records",
       "header\r\n<TLT><NAME>a</NAME></TLT>\r\nbetween</NAME></TLT><TLT><NAME>b</NAME></TLT>tail",
       {"a", "b"}},
      {"unclosed last record", "<TLT><NAME>a</NAME></TLT>\r\n<TLT><NAME>b\r\n", {"a"}},
      {"a record without its closing tag hides the rest", "<TLT><NAME>a</NAME></TLT\r\n<TLT><NAME>b", {}},
      {"empty items", "<TLT><NAME></NAME></TLT>\r\n<TLT><NAME></NAME></TLT>\r\n", {"", ""}},
      {"duplicates", "<TLT><NAME>x</NAME></TLT>\r\n<TLT><NAME>x</NAME></TLT>\r\n", {"x", "x"}},
      {"tags in other case", "<tlt><name>a</name></tlt>\r\n<TLT><Name>b</Name></TLT>\r\n", {}},
      {"closing tag in other case belongs to the text", "<TLT><NAME>a</name></tlt></NAME></TLT>", {"a</name></tlt>"}},
      {"opening tag inside an item", "<TLT><NAME>a<TLT><NAME>b</NAME></TLT>", {"a<TLT><NAME>b"}},
      {"records without line breaks", "<TLT><NAME>a</NAME></TLT><TLT><NAME>b</NAME></TLT>", {"a", "b"}},
      {"line breaks inside an item", "<TLT><NAME>line 1\r\nline 2\n</NAME></TLT>\r\n", {"line 1\r\nline 2\n"}},
      {"spaces are not ignored", "<TLT> <NAME>a</NAME></TLT><TLT><NAME>b</NAME> </TLT>", {}},
      {"cut opening tag", "<TLT><NAME", {}},
      {"closing tag before any record", "</NAME></TLT><TLT><NAME>a</NAME></TLT>", {"a"}},
      {"any bytes in an item", "<TLT><NAME>\xe9\x80\x00\xff<\x81</NAME></TLT>"s, {"\xe9\x80\x00\xff<\x81"s}},
  };
  const Windows1252CodePage page;
  for (const ParseCase& c : cases) EXPECT_EQ(ParsePickList(page, c.text), c.items) << c.name;
}

// 0x81-0x9F lead a pair on the test page and take the next byte along, '<' included; on
// Windows-1252 they are characters of their own.
TEST(PickListRecords, FindsTagsOnlyWhereACharacterStarts) {
  struct Case {
    const char* name;
    std::string text;
    Items doubleByte;
    Items windows1252;
  };
  const Case cases[] = {
      {"opening tag at a trail byte", "\x81<TLT><NAME>a</NAME></TLT>\r\n", {}, {"a"}},
      {"a real record after the fake one", "\x81<TLT><NAME>a</NAME></TLT><TLT><NAME>b</NAME></TLT>", {"b"}, {"a", "b"}},
      {"closing tag at a trail byte", "<TLT><NAME>\x81</NAME></TLT>x</NAME></TLT>", {"\x81</NAME></TLT>x"}, {"\x81"}},
      {"closing tag at a trail byte and none after it", "<TLT><NAME>\x9f</NAME></TLT>", {}, {"\x9f"}},
      {"pairs whose trail bytes are tag characters",
       "<TLT><NAME>\x88T\x89/\x90N</NAME></TLT>",
       {"\x88T\x89/\x90N"},
       {"\x88T\x89/\x90N"}},
      {"single-byte characters of the upper half", "<TLT><NAME>\xa0\xdf</NAME></TLT>", {"\xa0\xdf"}, {"\xa0\xdf"}},
      {"lead byte at the very end", "<TLT><NAME>a</NAME></TLT>\r\n\x81", {"a"}, {"a"}},
  };
  const TestDoubleByteCodePage doubleByte;
  const Windows1252CodePage windows1252;
  for (const Case& c : cases) {
    EXPECT_EQ(ParsePickList(doubleByte, c.text), c.doubleByte) << c.name;
    EXPECT_EQ(ParsePickList(windows1252, c.text), c.windows1252) << c.name;
  }
}

TEST(PickListRecords, BuildsOneRecordPerItemInOrder) {
  struct Case {
    Items items;
    std::string text;
  };
  const Case cases[] = {
      {{}, ""},
      {{""}, "<TLT><NAME></NAME></TLT>\r\n"},
      {{"b", "a", "b"}, "<TLT><NAME>b</NAME></TLT>\r\n<TLT><NAME>a</NAME></TLT>\r\n<TLT><NAME>b</NAME></TLT>\r\n"},
      {{"two\r\nlines"}, "<TLT><NAME>two\r\nlines</NAME></TLT>\r\n"},
  };
  for (const Case& c : cases) EXPECT_EQ(BuildPickList(c.items), c.text);
}

TEST(PickListRecords, ItemsReadBackAsBuilt) {
  const Items lists[] = {
      {},
      {""},
      {"a", "", "a", " leading and trailing "},
      {"<TLT><NAME>", "</NAME></TLT", "</name></tlt>", "\r\n", "x\r\ny"},
      {"\x81<\x82/", "\x9f\x40 \xa0", "<\x81</NAME></TLT"},
      {std::string(kMaxItemBytes, 'x'), "\x00"s},
  };
  const TestDoubleByteCodePage doubleByte;
  const Windows1252CodePage windows1252;
  for (const Items& items : lists) {
    const std::string text = BuildPickList(items);
    EXPECT_EQ(ParsePickList(doubleByte, text), items) << text;
    EXPECT_EQ(ParsePickList(windows1252, text), items) << text;
  }
}

TEST(PickListRecords, ListTextHoldsUtf8ItemsAsThePickDialogKeepsThem) {
  const struct {
    Items items;
    bool keptInUtf8;
    std::u16string text;
  } cases[] = {
      {{}, false, u""},
      {{}, true, u"\ufeff"},
      {{"caf\xc3\xa9 \xe2\x82\xac", ""},
       false,
       u"<TLT><NAME>caf\u00e9 \u20ac</NAME></TLT>\r\n<TLT><NAME></NAME></TLT>\r\n"},
      {{"\xe2\x8c\x80 50", "\xe4\xb8\x80"},
       true,
       u"\ufeff<TLT><NAME>\u2300 50</NAME></TLT>\r\n<TLT><NAME>\u4e00</NAME></TLT>\r\n"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(BuildPickListText(c.items, c.keptInUtf8), c.text);
    EXPECT_EQ(ParsePickListText(c.text), c.items);
  }
  // Text outside the records, and an unclosed record, hold no item.
  EXPECT_EQ(ParsePickListText(u"\ufeffhead<TLT><NAME>a</NAME></TLT>mid<TLT><NAME>b"), Items{"a"});
}

TEST(PickListRecords, RefusesTextsHoldingTheClosingTag) {
  struct Case {
    std::string text;
    bool storable;
  };
  const Case cases[] = {
      {"", true},
      {"Bolt M8", true},
      {"<TLT><NAME>", true},
      {"</NAME></TLT", true},
      {"</name></tlt>", true},
      {"</NAME></TLT>", false},
      {"a</NAME></TLT>\r\nb", false},
  };
  for (const Case& c : cases) EXPECT_EQ(CanBeStoredAsItem(c.text), c.storable) << c.text;
}

TEST(PickListRecords, CutsItemsOnACharacterBoundary) {
  const std::string pair = "\x81\x40";
  struct Case {
    const char* name;
    std::string text;
    size_t doubleByte;
    size_t windows1252;
  };
  const Case cases[] = {
      {"short", "abc", 3, 3},
      {"exactly the limit", std::string(kMaxItemBytes, 'a'), kMaxItemBytes, kMaxItemBytes},
      {"one byte over", std::string(kMaxItemBytes + 1, 'a'), kMaxItemBytes, kMaxItemBytes},
      {"pair ending at the limit", std::string(kMaxItemBytes - 2, 'a') + pair, kMaxItemBytes, kMaxItemBytes},
      {"pair across the limit", std::string(kMaxItemBytes - 1, 'a') + pair, kMaxItemBytes - 1, kMaxItemBytes},
  };
  const TestDoubleByteCodePage doubleByte;
  const Windows1252CodePage windows1252;
  for (const Case& c : cases) {
    EXPECT_EQ(CutToItemLength(doubleByte, c.text), std::string_view(c.text).substr(0, c.doubleByte)) << c.name;
    EXPECT_EQ(CutToItemLength(windows1252, c.text), std::string_view(c.text).substr(0, c.windows1252)) << c.name;
  }
}

}  // namespace
