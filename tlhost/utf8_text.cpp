#include "tlhost/utf8_text.h"

#include <cstdio>

namespace {

constexpr char32_t kReplacement = 0xfffd;

void AppendUtf8(char32_t c, std::string* out) {
  if (c < 0x80) {
    *out += static_cast<char>(c);
  } else if (c < 0x800) {
    *out += static_cast<char>(0xc0 | (c >> 6));
    *out += static_cast<char>(0x80 | (c & 0x3f));
  } else if (c < 0x10000) {
    *out += static_cast<char>(0xe0 | (c >> 12));
    *out += static_cast<char>(0x80 | ((c >> 6) & 0x3f));
    *out += static_cast<char>(0x80 | (c & 0x3f));
  } else {
    *out += static_cast<char>(0xf0 | (c >> 18));
    *out += static_cast<char>(0x80 | ((c >> 12) & 0x3f));
    *out += static_cast<char>(0x80 | ((c >> 6) & 0x3f));
    *out += static_cast<char>(0x80 | (c & 0x3f));
  }
}

bool IsSurrogate(char32_t c) {
  return c >= 0xd800 && c < 0xe000;
}

// The character that starts at `at`, moving `at` past it; false (and `at` past one byte) for a
// byte that starts no well-formed UTF-8 sequence.
bool DecodeUtf8(const std::string& text, size_t* at, char32_t* c) {
  const auto byte = [&](size_t i) { return static_cast<unsigned char>(text[i]); };
  const unsigned char lead = byte(*at);
  size_t length = lead < 0x80 ? 1 : (lead >> 5) == 0x6 ? 2 : (lead >> 4) == 0xe ? 3 : (lead >> 3) == 0x1e ? 4 : 0;
  if (length == 0 || *at + length > text.size()) {
    ++*at;
    return false;
  }
  char32_t value = length == 1 ? lead : lead & (0x7f >> length);
  for (size_t i = 1; i < length; ++i) {
    if ((byte(*at + i) & 0xc0) != 0x80) {
      ++*at;
      return false;
    }
    value = (value << 6) | (byte(*at + i) & 0x3f);
  }
  static const char32_t kSmallest[] = {0, 0, 0x80, 0x800, 0x10000};
  if (value < kSmallest[length] || value > 0x10ffff || IsSurrogate(value)) {
    ++*at;
    return false;
  }
  *at += length;
  *c = value;
  return true;
}

bool Utf8FromUtf16Bytes(const std::string& bytes, bool bigEndian, std::string* text) {
  if (bytes.size() % 2 != 0) return false;
  text->clear();
  const auto unit = [&](size_t i) -> char32_t {
    const unsigned char a = static_cast<unsigned char>(bytes[i]), b = static_cast<unsigned char>(bytes[i + 1]);
    return bigEndian ? (a << 8) | b : (b << 8) | a;
  };
  for (size_t i = 2; i < bytes.size(); i += 2) {
    char32_t c = unit(i);
    if (c >= 0xd800 && c < 0xdc00 && i + 3 < bytes.size() && unit(i + 2) >= 0xdc00 && unit(i + 2) < 0xe000) {
      c = 0x10000 + ((c - 0xd800) << 10) + (unit(i + 2) - 0xdc00);
      i += 2;
    } else if (IsSurrogate(c)) {
      return false;
    }
    AppendUtf8(c, text);
  }
  return true;
}

}  // namespace

std::string Utf8(const std::u16string& text) {
  std::string out;
  for (size_t i = 0; i < text.size(); ++i) {
    char32_t c = text[i];
    if (c >= 0xd800 && c < 0xdc00 && i + 1 < text.size() && text[i + 1] >= 0xdc00 && text[i + 1] < 0xe000) {
      c = 0x10000 + ((c - 0xd800) << 10) + (text[++i] - 0xdc00);
    } else if (IsSurrogate(c)) {
      c = kReplacement;
    }
    AppendUtf8(c, &out);
  }
  return out;
}

bool Utf16FromUtf8(const std::string& text, std::u16string* wide) {
  wide->clear();
  bool valid = true;
  for (size_t at = 0; at < text.size();) {
    char32_t c = kReplacement;
    if (!DecodeUtf8(text, &at, &c)) valid = false;
    if (c < 0x10000) {
      *wide += static_cast<char16_t>(c);
    } else {
      *wide += static_cast<char16_t>(0xd800 + ((c - 0x10000) >> 10));
      *wide += static_cast<char16_t>(0xdc00 + ((c - 0x10000) & 0x3ff));
    }
  }
  return valid;
}

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
    const bool valid = DecodeUtf8(text, &at, &c);
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
