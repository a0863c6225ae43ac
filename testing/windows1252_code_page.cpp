// Windows-1252 as MultiByteToWideChar and WideCharToMultiByte (without best-fit mapping) treat
// it: bytes 0x80-0x9F carry typographic characters; the five bytes the page leaves undefined
// (0x81, 0x8D, 0x8F, 0x90, 0x9D) map to the C1 controls of the same value and back. Every other
// byte is the Latin-1 character of the same value.
#include "testing/windows1252_code_page.h"

namespace {

constexpr char16_t kHighTable[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,  // 0x80
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,  // 0x88
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  // 0x90
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,  // 0x98
};

char16_t ByteToUtf16(unsigned char byte) {
  return byte >= 0x80 && byte < 0xA0 ? kHighTable[byte - 0x80] : static_cast<char16_t>(byte);
}

char Utf16ToByte(char16_t utf16) {
  if (utf16 < 0x80 || (utf16 >= 0xA0 && utf16 <= 0xFF)) return static_cast<char>(utf16);
  for (int i = 0; i < 32; ++i) {
    if (kHighTable[i] == utf16) return static_cast<char>(0x80 + i);
  }
  return '?';
}

}  // namespace

// Whole picklists pass through here: the output is sized once and filled in place, ASCII first.
std::string Windows1252CodePage::ToAnsi(std::u16string_view utf16) const {
  std::string ansi(utf16.size(), '\0');
  for (size_t i = 0; i < utf16.size(); ++i) {
    const char16_t c = utf16[i];
    ansi[i] = c < 0x80 ? static_cast<char>(c) : Utf16ToByte(c);
  }
  return ansi;
}

std::u16string Windows1252CodePage::ToUtf16(std::string_view ansi) const {
  std::u16string utf16(ansi.size(), u'\0');
  for (size_t i = 0; i < ansi.size(); ++i) utf16[i] = ByteToUtf16(static_cast<unsigned char>(ansi[i]));
  return utf16;
}
