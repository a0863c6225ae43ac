// UTF-8, the other encoding of the picklist file and the pick dialog's transport: the same
// conversion on both builds, so that a file reads alike in the tests, the fuzzer and the DLL.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// The byte order mark at the start of a UTF-8 file, and the character it decodes to.
inline constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";
inline constexpr char16_t kByteOrderMark = 0xFEFF;

// Bytes that form no character (a stray continuation byte, a sequence cut short, an overlong
// form, an encoded surrogate, a value past U+10FFFF) become U+FFFD, one for each maximal
// ill-formed part, as the Unicode Standard recommends; an ASCII byte is always a character of
// its own. May throw std::bad_alloc.
std::u16string Utf8ToUtf16(std::string_view utf8);

// A lone surrogate, which is no character, becomes U+FFFD. May throw std::bad_alloc.
std::string Utf16ToUtf8(std::u16string_view utf16);

// The length in bytes (1 to 4) of the well-formed character that starts at byte `pos`, with *c
// set to it; 0 when the bytes there start no character (for a reader that must tell them apart).
size_t DecodeUtf8At(std::string_view utf8, size_t pos, char32_t* c);

// The UTF-16 units of `bytes` (two bytes each, little- or big-endian; an odd last byte is
// dropped), without a look at their mark. May throw std::bad_alloc.
std::u16string Utf16FromBytes(std::string_view bytes, bool bigEndian);

// The largest character boundary of `utf8` that is not past `limit` bytes: a character is never
// split, whatever bytes follow it.
size_t Utf8BoundaryAtOrBefore(std::string_view utf8, size_t limit);
