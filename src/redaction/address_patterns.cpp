#include "redaction/address_patterns.h"

#include <cctype>

#include "common/text.h"

namespace fernwick::redaction {
namespace {

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// Up to four hex digits; false on anything else.
bool ParseGroup(std::string_view text, std::uint16_t& value) {
  if (text.empty() || text.size() > 4) return false;
  value = 0;
  for (char c : text) {
    const int digit = HexValue(c);
    if (digit < 0) return false;
    value = static_cast<std::uint16_t>(value * 16 + digit);
  }
  return true;
}

// Groups of one side of "::" (empty text: none), each 16 bits; an IPv4
// tail counts as two and is allowed only where `tailAllowed`.
bool ParseGroups(std::string_view text, bool tailAllowed, std::vector<std::uint16_t>& groups) {
  if (text.empty()) return true;
  const auto parts = Split(text, ':');
  for (std::size_t i = 0; i < parts.size(); ++i) {
    if (tailAllowed && i + 1 == parts.size() && parts[i].find('.') != std::string_view::npos) {
      const auto v4 = ParseIPv4(parts[i]);
      if (!v4) return false;
      groups.push_back(static_cast<std::uint16_t>(*v4 >> 16));
      groups.push_back(static_cast<std::uint16_t>(*v4 & 0xFFFF));
      continue;
    }
    std::uint16_t value = 0;
    if (!ParseGroup(parts[i], value)) return false;
    groups.push_back(value);
  }
  return true;
}

}  // namespace

std::optional<std::uint32_t> ParseIPv4(std::string_view text) {
  const auto parts = Split(text, '.');
  if (parts.size() != 4) return std::nullopt;
  std::uint32_t address = 0;
  for (const auto part : parts) {
    if (part.empty() || part.size() > 3) return std::nullopt;
    unsigned value = 0;
    for (char c : part) {
      if (c < '0' || c > '9') return std::nullopt;
      value = value * 10 + static_cast<unsigned>(c - '0');
    }
    if (value > 255) return std::nullopt;
    address = address << 8 | value;
  }
  return address;
}

std::string FormatIPv4(std::uint32_t address) {
  return std::to_string(address >> 24) + "." + std::to_string(address >> 16 & 0xFF) + "." +
         std::to_string(address >> 8 & 0xFF) + "." + std::to_string(address & 0xFF);
}

std::optional<std::vector<std::uint8_t>> ParseIPv6(std::string_view text) {
  std::vector<std::uint16_t> head, tail;
  const std::size_t gap = text.find("::");
  if (gap != std::string_view::npos) {
    if (text.find("::", gap + 1) != std::string_view::npos) return std::nullopt;
    if (!ParseGroups(text.substr(0, gap), false, head) || !ParseGroups(text.substr(gap + 2), true, tail)) {
      return std::nullopt;
    }
    if (head.size() + tail.size() > 7) return std::nullopt;
  } else {
    if (!ParseGroups(text, true, head) || head.size() != 8) return std::nullopt;
  }
  std::vector<std::uint16_t> groups = head;
  groups.resize(8 - tail.size(), 0);
  groups.insert(groups.end(), tail.begin(), tail.end());
  std::vector<std::uint8_t> bytes;
  for (auto g : groups) {
    bytes.push_back(static_cast<std::uint8_t>(g >> 8));
    bytes.push_back(static_cast<std::uint8_t>(g & 0xFF));
  }
  return bytes;
}

std::string FormatIPv6(const std::vector<std::uint8_t>& address) {
  std::uint16_t groups[8];
  for (int i = 0; i < 8; ++i) groups[i] = static_cast<std::uint16_t>(address[2 * i] << 8 | address[2 * i + 1]);
  int bestStart = -1, bestLength = 1;
  for (int i = 0; i < 8;) {
    int j = i;
    while (j < 8 && groups[j] == 0) ++j;
    if (j - i > bestLength) {
      bestStart = i;
      bestLength = j - i;
    }
    i = j == i ? i + 1 : j;
  }
  static const char* kHex = "0123456789abcdef";
  std::string text;
  for (int i = 0; i < 8; ++i) {
    if (i == bestStart) {
      text += "::";
      i += bestLength - 1;
      continue;
    }
    if (!text.empty() && text.back() != ':') text += ':';
    std::string group;
    for (int shift = 12; shift >= 0; shift -= 4) group += kHex[groups[i] >> shift & 0xF];
    const std::size_t first = group.find_first_not_of('0');
    text += first == std::string::npos ? "0" : group.substr(first);
  }
  return text;
}

std::optional<std::vector<std::uint8_t>> ParseMac(std::string_view text) {
  if (text.size() != 17) return std::nullopt;
  const char separator = text[2];
  if (separator != '-' && separator != ':') return std::nullopt;
  std::vector<std::uint8_t> bytes;
  for (std::size_t i = 0; i < 17; i += 3) {
    const int high = HexValue(text[i]), low = HexValue(text[i + 1]);
    if (high < 0 || low < 0 || (i + 2 < 17 && text[i + 2] != separator)) return std::nullopt;
    bytes.push_back(static_cast<std::uint8_t>(high * 16 + low));
  }
  return bytes;
}

std::string FormatMac(const std::vector<std::uint8_t>& address, char separator, bool upper) {
  const char* hex = upper ? "0123456789ABCDEF" : "0123456789abcdef";
  std::string text;
  for (std::size_t i = 0; i < address.size(); ++i) {
    if (i > 0) text += separator;
    text += hex[address[i] >> 4];
    text += hex[address[i] & 0xF];
  }
  return text;
}

bool IsKeptIPv4(std::uint32_t address) {
  const std::uint32_t first = address >> 24;
  // Multicast, reserved, broadcast and every netmask (255.x.x.x) from 224 on;
  // a whole /8 (x.0.0.0) says nothing of a site, and is how versions such
  // as "Font Cache 3.0.0.0" read.
  return (address & 0x00FFFFFF) == 0 || first == 127 || first >= 224;
}

bool IsKeptIPv6(const std::vector<std::uint8_t>& address) {
  for (std::size_t i = 0; i + 1 < address.size(); ++i) {
    if (address[i] != 0) return false;
  }
  return address.back() <= 1;
}

bool IsKeptMac(const std::vector<std::uint8_t>& address) {
  bool zero = true, ones = true;
  for (auto b : address) {
    zero = zero && b == 0;
    ones = ones && b == 0xFF;
  }
  return zero || ones;
}

}  // namespace fernwick::redaction
