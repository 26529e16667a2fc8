#pragma once
// Text helpers with the classic runtime's rules: ANSI bytes, case-insensitive
// search folds ASCII letters only, positions are 1-based where noted.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace fernwick {

inline constexpr std::string_view kCrLf = "\r\n";

char AsciiUpper(char c);
std::string ToUpper(std::string_view text);
bool EqualsNoCase(std::string_view a, std::string_view b);
bool ContainsNoCase(std::string_view haystack, std::string_view needle);
bool StartsWithNoCase(std::string_view text, std::string_view prefix);
// Orders as the registry enumerates subkeys: by upper-cased bytes.
bool LessNoCase(std::string_view a, std::string_view b);
std::string Trim(std::string_view text);
// The pieces of `text` between the separators, empty ones included; one
// piece for a text without one.
std::vector<std::string_view> Split(std::string_view text, char separator);

// Upper-case hexadecimal, left-padded with "0" to `digits`.
std::string HexPadded(std::uint32_t value, int digits);
// Decimal with at least `digits` digits (zero-padded); a minus sign leads.
std::string DecimalPadded(long long value, int digits);

}  // namespace fernwick
