// The ANSI code page of the system (CP_ACP). Wide text is converted without best-fit mapping: a
// character the page lacks becomes '?' rather than a look-alike (an A for an A with macron), so
// that what is stored reads back as what was meant or visibly not, as with the native tables.
#include "framework/code_page_win.h"

#include <windows.h>

#include <climits>
#include <stdexcept>

static_assert(sizeof(wchar_t) == sizeof(char16_t), "wide text on Windows is UTF-16");

namespace {

int CheckedLength(size_t size) {
  if (size > INT_MAX) throw std::length_error("text too long for the code page functions");
  return static_cast<int>(size);
}

}  // namespace

std::string AnsiCodePage::ToAnsi(std::u16string_view wide) const {
  if (wide.empty()) return std::string();
  const auto* source = reinterpret_cast<const wchar_t*>(wide.data());
  const int sourceLength = CheckedLength(wide.size());
  const int length =
      WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, source, sourceLength, nullptr, 0, nullptr, nullptr);
  std::string ansi(static_cast<size_t>(length), '\0');
  if (length > 0) {
    WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, source, sourceLength, &ansi[0], length, nullptr, nullptr);
  }
  return ansi;
}

std::u16string AnsiCodePage::ToUtf16(std::string_view ansi) const {
  if (ansi.empty()) return std::u16string();
  const int sourceLength = CheckedLength(ansi.size());
  const int length = MultiByteToWideChar(CP_ACP, 0, ansi.data(), sourceLength, nullptr, 0);
  std::u16string wide(static_cast<size_t>(length), u'\0');
  if (length > 0) {
    MultiByteToWideChar(CP_ACP, 0, ansi.data(), sourceLength, reinterpret_cast<wchar_t*>(&wide[0]), length);
  }
  return wide;
}

bool AnsiCodePage::IsLeadByte(unsigned char byte) const {
  return IsDBCSLeadByte(byte) != FALSE;
}
