#pragma once
// Conversions between the Windows ANSI code page 1252, in which the program
// keeps all text, and Unicode. Characters 1252 cannot hold become '?', as
// the system's own conversion does.
#include <string>
#include <string_view>

namespace fernwick {

std::string Utf16ToAnsi(std::u16string_view text);
// UTF-16 held as little-endian bytes; an odd last byte is ignored.
std::string Utf16LeBytesToAnsi(std::string_view bytes);
std::u16string AnsiToUtf16(std::string_view text);
// Each invalid UTF-8 sequence (overlong, surrogate, beyond U+10FFFF, cut
// short, a stray byte) becomes one '?'.
std::string Utf8ToAnsi(std::string_view text);
std::string AnsiToUtf8(std::string_view text);

}  // namespace fernwick
