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
  std::u16string wide;
  for (size_t i = 2; i < bytes.size(); i += 2) {
    const unsigned char a = static_cast<unsigned char>(bytes[i]), b = static_cast<unsigned char>(bytes[i + 1]);
    wide += static_cast<char16_t>(bigEndian ? (a << 8) | b : (b << 8) | a);
  }
  for (size_t i = 0; i < wide.size(); ++i) {
    if (!IsSurrogate(wide[i])) continue;
    const bool pair = wide[i] < 0xdc00 && i + 1 < wide.size() && wide[i + 1] >= 0xdc00 && wide[i + 1] < 0xe000;
    if (!pair) return false;
    ++i;
  }
  *text = WideToUtf8(wide);
  return true;
}

}  // namespace

std::string Utf8(const std::u16string& text) {
  return WideToUtf8(text);
}

// Well-formed UTF-8 goes to UTF-16 and back unchanged; any broken sequence comes back as U+FFFD.
bool Utf16FromUtf8(const std::string& text, std::u16string* wide) {
  *wide = Utf8ToWide(text);
  return WideToUtf8(*wide) == text;
}

#ifdef _WIN32
std::wstring WideFromUtf8(const std::string& text) {
  std::u16string wide;
  Utf16FromUtf8(text, &wide);
  return std::wstring(wide.begin(), wide.end());
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
