// The native code pages against the tables they stand for, and the character stepping helpers
// on a double-byte page whose trail bytes look like ASCII.
#include <gtest/gtest.h>

#include <random>
#include <set>

#include "framework/code_page.h"
#include "testing/test_double_byte_code_page.h"
#include "testing/windows1252_code_page.h"

namespace {

std::string Bytes(std::initializer_list<int> values) {
  std::string bytes;
  for (const int value : values) bytes.push_back(static_cast<char>(value));
  return bytes;
}

TEST(Windows1252CodePage, EveryByteRoundTripsToOneDistinctCharacter) {
  const Windows1252CodePage page;
  std::string all;
  for (int byte = 0; byte < 256; ++byte) all.push_back(static_cast<char>(byte));
  const std::u16string utf16 = page.ToUtf16(all);
  ASSERT_EQ(utf16.size(), 256u);
  EXPECT_EQ(std::set<char16_t>(utf16.begin(), utf16.end()).size(), 256u);
  EXPECT_EQ(page.ToAnsi(utf16), all);
  for (int byte = 0; byte < 256; ++byte) EXPECT_FALSE(page.IsLeadByte(static_cast<unsigned char>(byte)));
}

TEST(Windows1252CodePage, MapsTheSystemTable) {
  struct Case {
    int byte;
    char16_t utf16;
  };
  const Case cases[] = {
      {0x41, u'A'},   {0x7F, 0x007F}, {0x80, 0x20AC}, {0x81, 0x0081}, {0x82, 0x201A}, {0x83, 0x0192},
      {0x85, 0x2026}, {0x88, 0x02C6}, {0x8A, 0x0160}, {0x8C, 0x0152}, {0x8D, 0x008D}, {0x8E, 0x017D},
      {0x8F, 0x008F}, {0x90, 0x0090}, {0x91, 0x2018}, {0x93, 0x201C}, {0x96, 0x2013}, {0x97, 0x2014},
      {0x98, 0x02DC}, {0x99, 0x2122}, {0x9A, 0x0161}, {0x9B, 0x203A}, {0x9C, 0x0153}, {0x9D, 0x009D},
      {0x9E, 0x017E}, {0x9F, 0x0178}, {0xA0, 0x00A0}, {0xA9, 0x00A9}, {0xE9, 0x00E9}, {0xFF, 0x00FF},
  };
  const Windows1252CodePage page;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.byte);
    EXPECT_EQ(page.ToUtf16(Bytes({c.byte})), std::u16string(1, c.utf16));
    EXPECT_EQ(page.ToAnsi(std::u16string(1, c.utf16)), Bytes({c.byte}));
  }
}

TEST(Windows1252CodePage, UnmappableCharactersBecomeQuestionMarks) {
  const Windows1252CodePage page;
  // U+0080 and U+009F are C1 controls the table replaces; a surrogate pair is two units.
  EXPECT_EQ(page.ToAnsi(u"a\u0100b\u0080\u009F\u4E00\uFFFD"), "a?b????");
  EXPECT_EQ(page.ToAnsi(u"x\U0001F600y"), "x??y");
}

std::string Pair(int lead, int trail) {
  return Bytes({lead, trail});
}

TEST(TestDoubleByteCodePage, PairsMapOneToOneOntoTheirRange) {
  const TestDoubleByteCodePage page;
  std::set<char16_t> seen;
  for (int lead = 0x81; lead <= 0x9F; ++lead) {
    for (int trail = 0x21; trail <= 0xFC; ++trail) {
      if (TestDoubleByteCodePage::TrailIndex(static_cast<unsigned char>(trail)) < 0) continue;
      const std::u16string utf16 = page.ToUtf16(Pair(lead, trail));
      ASSERT_EQ(utf16.size(), 1u) << lead << " " << trail;
      seen.insert(utf16[0]);
      EXPECT_EQ(page.ToAnsi(utf16), Pair(lead, trail));
    }
  }
  EXPECT_EQ(seen.size(), 31u * 219u);
  EXPECT_EQ(*seen.begin(), 0x4E00);
  EXPECT_EQ(*seen.rbegin(), 0x4E00 + 31 * 219 - 1);
}

TEST(TestDoubleByteCodePage, DecodesByTheLayout) {
  struct Case {
    std::string bytes;
    std::u16string utf16;
  };
  const Case cases[] = {
      {"plain <a/>", u"plain <a/>"},
      {Pair(0x81, 0x21), u"\u4E00"},
      {Pair(0x81, 0x7E), std::u16string(1, 0x4E00 + 93)},
      {Pair(0x81, 0x80), std::u16string(1, 0x4E00 + 94)},
      {Pair(0x81, 0xFC), std::u16string(1, 0x4E00 + 218)},
      {Pair(0x82, 0x21), std::u16string(1, 0x4E00 + 219)},
      {"<" + Pair(0x81, '<') + ">", u"<" + std::u16string(1, 0x4E00 + '<' - 0x21) + u">"},
      {Pair(0x9F, '/'), std::u16string(1, 0x4E00 + 30 * 219 + '/' - 0x21)},
      {Bytes({0xA0, 0xDF}), u"\uFF60\uFF9F"},
      // What forms no character: a lone lead at the end, a pair with a bad trail (taken as one),
      // the single bytes outside the page.
      {"a" + Bytes({0x81}), u"a?"},
      {Pair(0x81, 0x0A) + "b", u"?b"},
      {Pair(0x90, 0xFD) + Pair(0x90, 0x20), u"??"},
      {Bytes({0x80, 0xE0, 0xFF}), u"???"},
  };
  const TestDoubleByteCodePage page;
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::PrintToString(c.bytes));
    EXPECT_EQ(page.ToUtf16(c.bytes), c.utf16);
  }
}

TEST(TestDoubleByteCodePage, EncodesWhatItHasAndQuestionMarksTheRest) {
  const TestDoubleByteCodePage page;
  EXPECT_EQ(page.ToAnsi(u"A\uFF61\u4E1B"), "A" + Bytes({0xA1}) + Pair(0x81, '<'));
  EXPECT_EQ(page.ToAnsi(u"\u00E9\uFFA0\u4DFF"), "???");
  EXPECT_EQ(page.ToAnsi(std::u16string(1, 0x4E00 + 31 * 219)), "?");
  EXPECT_EQ(page.ToAnsi(u"\U0001F600"), "??");
}

TEST(TestDoubleByteCodePage, LeadBytesAreExactlyTheirRange) {
  const TestDoubleByteCodePage page;
  for (int byte = 0; byte < 256; ++byte) {
    EXPECT_EQ(page.IsLeadByte(static_cast<unsigned char>(byte)), byte >= 0x81 && byte <= 0x9F) << byte;
  }
}

TEST(CharBoundaries, StepOverPairsWhateverTheirTrailByte) {
  const TestDoubleByteCodePage page;
  const std::string text = "a" + Pair(0x81, '<') + "b" + Pair(0x9F, 0x81) + Bytes({0x85});
  std::vector<size_t> boundaries;
  for (size_t pos = 0; pos < text.size(); pos = NextCharBoundary(page, text, pos)) {
    boundaries.push_back(pos);
  }
  EXPECT_EQ(boundaries, (std::vector<size_t>{0, 1, 3, 4, 6}));
  EXPECT_EQ(NextCharBoundary(page, text, 6), 7u);  // a lead byte at the end stands alone
  EXPECT_EQ(NextCharBoundary(page, text, 1), 3u);
  EXPECT_EQ(NextCharBoundary(page, text, 2), 3u);  // from inside a pair: past the byte only
  EXPECT_EQ(NextCharBoundary(page, text, text.size()), text.size());
  EXPECT_EQ(NextCharBoundary(page, text, text.size() + 5), text.size());
}

TEST(CharBoundaries, TruncationKeepsWholeCharacters) {
  const TestDoubleByteCodePage dbcs;
  const Windows1252CodePage ansi;
  const std::string text = "ab" + Pair(0x81, '<') + Pair(0x82, '/') + "c";
  struct Case {
    const CodePage& page;
    size_t maxBytes;
    std::string expected;
  };
  const Case cases[] = {
      {dbcs, 0, ""},
      {dbcs, 2, "ab"},
      {dbcs, 3, "ab"},
      {dbcs, 4, "ab" + Pair(0x81, '<')},
      {dbcs, 5, "ab" + Pair(0x81, '<')},
      {dbcs, 6, "ab" + Pair(0x81, '<') + Pair(0x82, '/')},
      {dbcs, 7, text},
      {dbcs, 100, text},
      {ansi, 3, "ab" + Bytes({0x81})},
      {ansi, 5, text.substr(0, 5)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.maxBytes);
    EXPECT_EQ(TruncateOnCharBoundary(c.page, text, c.maxBytes), c.expected);
  }
}

TEST(CharBoundaries, TruncatedTextDecodesToAPrefixOfTheWhole) {
  const TestDoubleByteCodePage page;
  const std::string alphabet = "a<" + Bytes({0x81, 0x9F, 0x85, 0xA5, 0x3C, 0x2F, 0xFC});
  std::mt19937 random(20240601);
  for (int round = 0; round < 500; ++round) {
    std::string text;
    const size_t length = random() % 12;
    for (size_t i = 0; i < length; ++i) text.push_back(alphabet[random() % alphabet.size()]);
    const std::u16string whole = page.ToUtf16(text);
    for (size_t maxBytes = 0; maxBytes <= text.size(); ++maxBytes) {
      const std::string_view cut = TruncateOnCharBoundary(page, text, maxBytes);
      ASSERT_LE(cut.size(), maxBytes);
      ASSERT_GE(cut.size() + 1, maxBytes);  // at most one byte of a pair is dropped
      const std::u16string decoded = page.ToUtf16(cut);
      ASSERT_EQ(whole.compare(0, decoded.size(), decoded), 0) << testing::PrintToString(text) << " cut to " << maxBytes;
    }
  }
}

}  // namespace
