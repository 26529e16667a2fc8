#pragma once
// The system's ANSI code page (GetACP) and MultiByteToWideChar.
#include "platform/code_pages.h"

namespace fernwick::win32 {

class Win32CodePages : public platform::CodePages {
 public:
  std::uint32_t AnsiCodePage() override;
  std::optional<std::string> ToUtf8(std::string_view text, std::uint32_t codePage) override;
};

}  // namespace fernwick::win32
