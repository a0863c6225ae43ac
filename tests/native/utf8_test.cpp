// UTF-8 as the picklist file and the pick dialog use it: every character both ways, and what
// becomes of bytes that form no character.
#include <gtest/gtest.h>

#include "framework/utf8.h"

namespace {

using namespace std::string_literals;

TEST(Utf8, DecodesCharactersAndReplacesEachBrokenPart) {
  struct Case {
    const char* name;
    std::string utf8;
    std::u16string utf16;
  };
  const Case cases[] = {
      {"ASCII and zero", "a\0b"s, u"a\0b"s},
      {"ASCII blocks around characters", "abcdefgh\xC3\xA9ijklmnopq\xE2\x8C\x80rs", u"abcdefgh\u00e9ijklmnopq\u2300rs"},
      {"two, three and four bytes", "\xC3\xA9\xE2\x8C\x80\xE2\x89\xA4\xE5\x9B\xB3\xF0\x9F\x98\x80",
       u"\u00e9\u2300\u2264\u56f3\U0001F600"},
      {"the byte order mark", "\xEF\xBB\xBFx", u"\uFEFFx"},
      {"stray continuation bytes", "\x80\xBFx", u"\uFFFD\uFFFDx"},
      {"a sequence cut short by ASCII", "\xE2\x8C<", u"\uFFFD<"},
      {"a sequence cut short by the end", "a\xF0\x9F\x98", u"a\uFFFD"},
      {"lead bytes that start nothing", "\xC0\xAF\xC1\xF5\xFF", u"\uFFFD\uFFFD\uFFFD\uFFFD\uFFFD"},
      {"overlong three bytes", "\xE0\x80\xAF", u"\uFFFD\uFFFD\uFFFD"},
      {"an encoded surrogate", "\xED\xA0\x80", u"\uFFFD\uFFFD\uFFFD"},
      {"past U+10FFFF", "\xF4\x90\x80\x80", u"\uFFFD\uFFFD\uFFFD\uFFFD"},
      {"the last characters of each length", "\x7F\xDF\xBF\xEF\xBF\xBF\xF4\x8F\xBF\xBF", u"\x7F\u07FF\uFFFF\U0010FFFF"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Utf8ToUtf16(c.utf8), c.utf16) << c.name;
    // What decodes to a character encodes back to its bytes; a replacement encodes as itself.
    EXPECT_EQ(Utf8ToUtf16(Utf16ToUtf8(c.utf16)), c.utf16) << c.name;
    // Character by character, the decoder accepts exactly the texts that need no replacement.
    bool wellFormed = true;
    for (size_t at = 0, length = 0; at < c.utf8.size(); at += length ? length : 1) {
      char32_t character = 0;
      length = DecodeUtf8At(c.utf8, at, &character);
      wellFormed = wellFormed && length != 0;
    }
    EXPECT_EQ(c.utf16.find(u'\uFFFD') == std::u16string::npos, wellFormed) << c.name;
  }
  EXPECT_EQ(Utf16ToUtf8(u"\u2300\U0001F600"), "\xE2\x8C\x80\xF0\x9F\x98\x80");
  EXPECT_EQ(Utf16ToUtf8(u"a\xD800"
                        u"b\xDC00"),
            "a\xEF\xBF\xBD"
            "b\xEF\xBF\xBD")
      << "lone surrogates";
}

TEST(Utf8, BoundaryNeverSplitsACharacter) {
  struct Case {
    std::string utf8;
    size_t limit;
    size_t boundary;
  };
  const std::string diameter = "\xE2\x8C\x80";
  const Case cases[] = {
      {"abc", 2, 2},
      {"abc", 9, 3},
      {"a" + diameter, 1, 1},
      {"a" + diameter, 2, 1},
      {"a" + diameter, 3, 1},
      {"a" + diameter, 4, 4},
      {"\xF0\x9F\x98\x80", 3, 0},
      {"\x80\x80\x80\x80\x80", 4, 4},  // stray continuation bytes stand alone
      {"\xE2\x8C"
       "abc",
       1, 0},                          // a broken part is one character
      {"\xE2\x8C\x80\x80\x80", 4, 4},  // the character ends before the stray bytes
      {"\xC0\x80\x80", 1, 1},          // no sequence starts at 0xC0
  };
  for (const Case& c : cases)
    EXPECT_EQ(Utf8BoundaryAtOrBefore(c.utf8, c.limit), c.boundary) << c.utf8 << " " << c.limit;
}

}  // namespace
