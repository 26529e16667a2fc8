#pragma once
// Addresses as they are written in text: IPv4 dotted quads, IPv6 (with
// "::" and an embedded IPv4 tail), MAC addresses with "-" or ":".
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace fernwick::redaction {

// "a.b.c.d", each part 0 to 255 without a sign; exactly the whole text.
std::optional<std::uint32_t> ParseIPv4(std::string_view text);
std::string FormatIPv4(std::uint32_t address);
// The whole text as an IPv6 address (no zone); 16 bytes.
std::optional<std::vector<std::uint8_t>> ParseIPv6(std::string_view text);
// RFC 5952 form: lower case, the longest run of zero groups as "::".
std::string FormatIPv6(const std::vector<std::uint8_t>& address);
// "00-1A-A0-3C-51-7E" or with ":"; 6 bytes.
std::optional<std::vector<std::uint8_t>> ParseMac(std::string_view text);
std::string FormatMac(const std::vector<std::uint8_t>& address, char separator, bool upper);

// Addresses that identify no site: unspecified, loopback, broadcast,
// netmasks (255 and contiguous ones), multicast, a whole /8 (x.0.0.0).
bool IsKeptIPv4(std::uint32_t address);
// Unspecified and loopback.
bool IsKeptIPv6(const std::vector<std::uint8_t>& address);
// All zero or all ones.
bool IsKeptMac(const std::vector<std::uint8_t>& address);

}  // namespace fernwick::redaction
