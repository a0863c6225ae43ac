// The double-byte test page; its layout is described beside the class.
#include "testing/test_double_byte_code_page.h"

namespace {

using Page = TestDoubleByteCodePage;

constexpr int kLeadCount = Page::kLastLead - Page::kFirstLead + 1;
constexpr int kLowTrailCount = 0x7E - 0x21 + 1;  // 94; the high range 0x80-0xFC follows

unsigned char TrailByte(int trailIndex) {
  return static_cast<unsigned char>(trailIndex < kLowTrailCount ? 0x21 + trailIndex
                                                                : 0x80 + trailIndex - kLowTrailCount);
}

char16_t SingleByteToUtf16(unsigned char byte) {
  if (byte < 0x80) return byte;
  if (byte >= 0xA0 && byte <= 0xDF) return static_cast<char16_t>(Page::kFirstSingleChar + byte - 0xA0);
  return u'?';
}

}  // namespace

int TestDoubleByteCodePage::TrailIndex(unsigned char byte) {
  if (byte >= 0x21 && byte <= 0x7E) return byte - 0x21;
  if (byte >= 0x80 && byte <= 0xFC) return kLowTrailCount + byte - 0x80;
  return -1;
}

bool TestDoubleByteCodePage::IsLeadByte(unsigned char byte) const {
  return byte >= kFirstLead && byte <= kLastLead;
}

std::u16string TestDoubleByteCodePage::ToUtf16(std::string_view ansi) const {
  std::u16string utf16;
  utf16.reserve(ansi.size());
  for (size_t i = 0; i < ansi.size(); ++i) {
    const auto byte = static_cast<unsigned char>(ansi[i]);
    if (!IsLeadByte(byte)) {
      utf16.push_back(SingleByteToUtf16(byte));
      continue;
    }
    if (i + 1 == ansi.size()) {
      utf16.push_back(u'?');
      break;
    }
    const int trail = TrailIndex(static_cast<unsigned char>(ansi[++i]));
    utf16.push_back(trail < 0 ? u'?'
                              : static_cast<char16_t>(kFirstPairChar + (byte - kFirstLead) * kTrailCount + trail));
  }
  return utf16;
}

std::string TestDoubleByteCodePage::ToAnsi(std::u16string_view utf16) const {
  std::string ansi;
  ansi.reserve(utf16.size() * 2);
  for (const char16_t c : utf16) {
    if (c < 0x80) {
      ansi.push_back(static_cast<char>(c));
    } else if (c >= kFirstSingleChar && c < kFirstSingleChar + 0x40) {
      ansi.push_back(static_cast<char>(0xA0 + (c - kFirstSingleChar)));
    } else if (c >= kFirstPairChar && c < kFirstPairChar + kLeadCount * kTrailCount) {
      const int offset = c - kFirstPairChar;
      ansi.push_back(static_cast<char>(kFirstLead + offset / kTrailCount));
      ansi.push_back(static_cast<char>(TrailByte(offset % kTrailCount)));
    } else {
      ansi.push_back('?');
    }
  }
  return ansi;
}
