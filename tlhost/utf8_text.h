// Text as the reference host carries it: UTF-8 inside (scripts, transcript, reports), UTF-16 at
// the Windows edges. Reading is strict: bytes that are not UTF-8 are reported, never guessed at,
// so that a script's text reaches the add-in as written or not at all.
#pragma once

#include <string>

#include "framework/utf8.h"

// Text in UTF-16 (std::u16string) goes to and from UTF-8 by the framework's converters
// (framework/utf8.h); "wide" here means what it means to Windows, a std::wstring of wchar_t.
#ifdef _WIN32
// A window's, dialog's or file name's wide text as UTF-8 for the transcript, and a script's text
// (checked when the script was read) as wide text for windows, dialogs and file names. An
// unpaired surrogate becomes U+FFFD.
std::string WideToUtf8(const std::wstring& text);
std::wstring Utf8ToWide(const std::string& text);
#endif

// The UTF-16 form of UTF-8 text; false for bytes that are not UTF-8 (overlong forms, encoded
// surrogates and code points past U+10FFFF included).
bool WellFormedUtf8ToUtf16(const std::string& text, std::u16string* utf16);

// A script file's bytes as UTF-8 text: a UTF-8 byte order mark is dropped, UTF-16 with its mark
// (either byte order) is converted. False with `problem` (what is wrong and what to do) for bytes
// that cannot be a script's text. Whether the rest is UTF-8 the reader checks line by line.
bool ScriptTextFromBytes(const std::string& bytes, std::string* text, std::string* problem);

// Text for an XML attribute: markup characters escaped, line ends kept as character references,
// and what XML cannot carry (other control characters, bytes that are not UTF-8) written as \xNN.
std::string XmlAttributeText(const std::string& text);
