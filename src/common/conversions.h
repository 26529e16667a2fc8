#pragma once
// Text-to-number conversions with the classic runtime's rules, which the
// report's numbers and the version parsers depend on.
#include <cstdint>
#include <string>
#include <string_view>

namespace fernwick {

// CInt: surrounding blanks allowed, an optional sign, decimal digits with an
// optional fraction and exponent, or "&H"/"&O" prefixed digits; a fraction
// rounds half to even. Not a number (empty included): error 13; outside the
// 16-bit range after rounding: error 6.
std::int16_t CInt(std::string_view text);
// CLng: the same rules for the 32-bit range.
std::int32_t CLng(std::string_view text);
// CInt of a number: rounds half to even; error 6 outside the 16-bit range.
std::int16_t CInt(double value);
std::int16_t CInt(std::int64_t value);

// Val: leading blanks skipped, then as many decimal digits (with sign) as
// stand there; anything else ends the number. Never fails.
double Val(std::string_view text);

}  // namespace fernwick
