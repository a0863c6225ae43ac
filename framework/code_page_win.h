// The code page port over the system's ANSI code page.
#pragma once

#include "framework/code_page.h"

class AnsiCodePage : public CodePage {
 public:
  std::string ToAnsi(std::u16string_view wide) const override;
  std::u16string ToUtf16(std::string_view ansi) const override;
  bool IsLeadByte(unsigned char byte) const override;
};
