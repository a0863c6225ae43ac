// The native stand-in for the ANSI code page of an English Windows: Windows-1252, with the
// same table the system uses, so that the core's tests see exactly the bytes Windows writes.
#pragma once

#include "framework/code_page.h"

class Windows1252CodePage : public CodePage {
 public:
  std::string ToAnsi(std::u16string_view utf16) const override;
  std::u16string ToUtf16(std::string_view ansi) const override;
  bool IsLeadByte(unsigned char) const override { return false; }
};
