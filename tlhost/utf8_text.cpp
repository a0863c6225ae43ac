#include "tlhost/utf8_text.h"

#include <cstdio>

#include "framework/utf8.h"

namespace {

bool IsSurrogate(char32_t c) {
  return c >= 0xd800 && c < 0xe000;
}

// UTF-16 bytes after their mark, as UTF-8; false for an odd byte count or a lone surrogate.
bool Utf8FromUtf16Bytes(const std::string& bytes, bool bigEndian, std::string* text) {
  if (bytes.size() % 2 != 0) return false;
  const std::u16string utf16 = Utf16FromBytes(std::string_view(bytes).substr(2), bigEndian);
  for (size_t i = 0; i < utf16.size(); ++i) {
    if (!IsSurrogate(utf16[i])) continue;
    const bool pair = utf16[i] < 0xdc00 && i + 1 < utf16.size() && utf16[i + 1] >= 0xdc00 && utf16[i + 1] < 0xe000;
    if (!pair) return false;
    ++i;
  }
  *text = Utf16ToUtf8(utf16);
  return true;
}

}  // namespace

// Well-formed UTF-8 goes to UTF-16 and back unchanged; any broken sequence comes back as U+FFFD.
bool WellFormedUtf8ToUtf16(const std::string& text, std::u16string* utf16) {
  *utf16 = Utf8ToUtf16(text);
  return Utf16ToUtf8(*utf16) == text;
}

#ifdef _WIN32
std::string WideToUtf8(const std::wstring& text) {
  return Utf16ToUtf8(std::u16string(text.begin(), text.end()));
}

std::wstring Utf8ToWide(const std::string& text) {
  const std::u16string utf16 = Utf8ToUtf16(text);
  return std::wstring(utf16.begin(), utf16.end());
}
#endif

bool ScriptTextFromBytes(const std::string& bytes, std::string* text, std::string* problem) {
  const auto startsWith = [&](const char* mark) {
    return bytes.compare(0, std::char_traits<char>::length(mark), mark) == 0;
  };
  if (startsWith("\xff\xfe") || startsWith("\xfe\xff")) {
    if (Utf8FromUtf16Bytes(bytes, startsWith("\xfe\xff"), text)) return true;
    *problem = "is UTF-16 with a broken character or a missing byte: save the script again, as UTF-8 preferably";
    return false;
  }
  *text = startsWith("\xef\xbb\xbf") ? bytes.substr(3) : bytes;
  if (text->find('\0') != std::string::npos) {
    *problem = "holds zero bytes: a script is UTF-8 text (or UTF-16 with its byte order mark); save it as UTF-8";
    return false;
  }
  return true;
}

std::string XmlAttributeText(const std::string& text) {
  std::string out;
  for (size_t at = 0; at < text.size();) {
    const size_t start = at;
    char32_t c = 0;
    const size_t length = DecodeUtf8At(text, at, &c);
    const bool valid = length != 0;
    at += valid ? length : 1;
    char escape[8];
    if (!valid || (c < 0x20 && c != '\t' && c != '\n' && c != '\r') || c == 0xfffe || c == 0xffff) {
      for (size_t i = start; i < at; ++i) {
        std::snprintf(escape, sizeof(escape), "\\x%02X", static_cast<unsigned char>(text[i]));
        out += escape;
      }
      continue;
    }
    switch (c) {
      case '&':
        out += "&amp;";
        break;
      case '<':
        out += "&lt;";
        break;
      case '>':
        out += "&gt;";
        break;
      case '"':
        out += "&quot;";
        break;
      case '\t':
        out += "&#9;";
        break;
      case '\n':
        out += "&#10;";
        break;
      case '\r':
        out += "&#13;";
        break;
      default:
        out.append(text, start, at - start);
    }
  }
  return out;
}
