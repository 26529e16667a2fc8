#pragma once
// The system's ANSI code page, in which the report and every text the
// program reads through the ANSI API forms is, and the conversion of such
// text to UTF-8 for pages that declare what they hold.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace fernwick::platform {

inline constexpr std::uint32_t kWesternCodePage = 1252;

class CodePages {
 public:
  virtual ~CodePages() = default;
  // GetACP.
  virtual std::uint32_t AnsiCodePage() = 0;
  // `text` of `codePage` as UTF-8, each character as the system converts it
  // (MultiByteToWideChar); a byte sequence the code page does not define
  // becomes U+FFFD. nullopt when the system does not know the code page.
  virtual std::optional<std::string> ToUtf8(std::string_view text, std::uint32_t codePage) = 0;
};

}  // namespace fernwick::platform
