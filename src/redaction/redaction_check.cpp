#include "redaction/redaction_check.h"

#include <type_traits>

#include "redaction/address_patterns.h"
#include "redaction/file_redaction.h"

namespace fernwick::redaction {
namespace {

constexpr std::size_t kFirsts = 0x10000;

std::uint64_t EdgeKey(std::uint32_t node, char32_t c) {
  return static_cast<std::uint64_t>(node) << 32 | static_cast<std::uint32_t>(c);
}

bool Has(const std::u32string& text, char32_t c) {
  return text.find(c) != std::u32string::npos;
}

// The spellings a MAC address of the map (00-1a-a0-3c-51-7e) is written in.
std::vector<std::string> MacSpellings(std::string_view original) {
  const auto mac = ParseMac(original);
  if (!mac) return {std::string(original)};
  std::string bare;
  for (char c : original) {
    if (c != '-' && c != ':') bare += c;
  }
  return {FormatMac(*mac, '-', false), FormatMac(*mac, ':', false), bare,
          bare.substr(0, 4) + "." + bare.substr(4, 4) + "." + bare.substr(8)};
}

}  // namespace

char32_t FoldCase(char32_t c) {
  if (c < 0x80) return c >= 'A' && c <= 'Z' ? c + 32 : c;
  if (c >= 0xC0 && c <= 0xDE && c != 0xD7) return c + 32;
  if (c >= 0x100 && c <= 0x137) return c % 2 == 0 ? c + 1 : c;
  if (c >= 0x139 && c <= 0x148) return c % 2 == 1 ? c + 1 : c;
  if (c >= 0x14A && c <= 0x177) return c % 2 == 0 ? c + 1 : c;
  if (c == 0x178) return 0xFF;
  if (c >= 0x179 && c <= 0x17E) return c % 2 == 1 ? c + 1 : c;
  if (c >= 0x391 && c <= 0x3A9 && c != 0x3A2) return c + 32;
  if (c >= 0x410 && c <= 0x42F) return c + 32;
  if (c >= 0x400 && c <= 0x40F) return c + 80;
  if (c >= 0xFF21 && c <= 0xFF3A) return c + 32;
  return c;
}

int ScriptOf(char32_t c) {
  if ((c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z')) return 1;
  if (c < 0xAA) return 0;
  if (c == 0xAA || c == 0xB5 || c == 0xBA || (c >= 0xC0 && c <= 0x24F && c != 0xD7 && c != 0xF7)) return 1;
  if (c >= 0x370 && c <= 0x3FF) return 2;
  if (c >= 0x400 && c <= 0x52F) return 3;
  if (c >= 0x590 && c <= 0x5FF) return 4;
  if (c >= 0x600 && c <= 0x6FF) return 5;
  if (c >= 0xE00 && c <= 0xE7F) return 6;
  if ((c >= 0x1100 && c <= 0x11FF) || (c >= 0x3130 && c <= 0x318F) || (c >= 0xAC00 && c <= 0xD7AF)) return 7;
  if (c >= 0x3040 && c <= 0x309F) return 8;
  if ((c >= 0x30A0 && c <= 0x30FF) || (c >= 0xFF66 && c <= 0xFF9F)) return 9;
  if ((c >= 0x3400 && c <= 0x4DBF) || (c >= 0x4E00 && c <= 0x9FFF) || (c >= 0xF900 && c <= 0xFAFF)) return 10;
  if ((c >= 0xFF10 && c <= 0xFF19) || (c >= 0xFF21 && c <= 0xFF3A) || (c >= 0xFF41 && c <= 0xFF5A)) return 11;
  return 0;
}

std::u32string Utf8Characters(std::string_view utf8) {
  std::u32string out;
  out.reserve(utf8.size());
  for (std::size_t i = 0; i < utf8.size();) {
    const auto b = static_cast<unsigned char>(utf8[i]);
    const int length = b < 0x80 ? 1 : (b & 0xE0) == 0xC0 ? 2 : (b & 0xF0) == 0xE0 ? 3 : (b & 0xF8) == 0xF0 ? 4 : 0;
    char32_t c = length == 1 ? b : length == 2 ? b & 0x1F : length == 3 ? b & 0x0F : b & 0x07;
    bool valid = length > 0 && i + static_cast<std::size_t>(length) <= utf8.size();
    for (int k = 1; valid && k < length; ++k) {
      const auto next = static_cast<unsigned char>(utf8[i + static_cast<std::size_t>(k)]);
      valid = (next & 0xC0) == 0x80;
      c = c << 6 | (next & 0x3F);
    }
    if (!valid) {
      out += b;
      ++i;
      continue;
    }
    out += c;
    i += static_cast<std::size_t>(length);
  }
  return out;
}

std::u32string Utf16Characters(std::string_view bytes) {
  std::u32string out;
  out.reserve(bytes.size() / 2);
  std::size_t i = bytes.size() >= 2 && bytes[0] == '\xFF' && bytes[1] == '\xFE' ? 2 : 0;
  for (; i + 1 < bytes.size(); i += 2) {
    char32_t unit = static_cast<unsigned char>(bytes[i]) | static_cast<unsigned char>(bytes[i + 1]) << 8;
    if (unit >= 0xD800 && unit < 0xDC00 && i + 3 < bytes.size()) {
      const char32_t low = static_cast<unsigned char>(bytes[i + 2]) | static_cast<unsigned char>(bytes[i + 3]) << 8;
      if (low >= 0xDC00 && low < 0xE000) {
        unit = 0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00);
        i += 2;
      }
    }
    out += unit;
  }
  return out;
}

bool IsNonAsciiUtf8(std::string_view bytes) {
  bool nonAscii = false;
  for (std::size_t i = 0; i < bytes.size();) {
    const auto b = static_cast<unsigned char>(bytes[i]);
    if (b < 0x80) {
      ++i;
      continue;
    }
    nonAscii = true;
    const std::size_t length = (b & 0xE0) == 0xC0 ? 2 : (b & 0xF0) == 0xE0 ? 3 : (b & 0xF8) == 0xF0 ? 4 : 0;
    if (length == 0 || i + length > bytes.size()) return false;
    for (std::size_t k = 1; k < length; ++k) {
      if ((static_cast<unsigned char>(bytes[i + k]) & 0xC0) != 0x80) return false;
    }
    i += length;
  }
  return nonAscii;
}

std::u32string WithoutEntities(const std::u32string& text) {
  static const struct {
    std::u32string_view name;
    char32_t c;
  } kNamed[] = {{U"amp", U'&'}, {U"lt", U'<'}, {U"gt", U'>'}, {U"quot", U'"'}, {U"apos", U'\''}, {U"nbsp", 0xA0}};
  std::u32string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    const std::size_t semicolon = text[i] == U'&' ? text.find(U';', i) : std::u32string::npos;
    if (semicolon == std::u32string::npos || semicolon - i > 10) {
      out += text[i];
      continue;
    }
    const std::u32string_view body = std::u32string_view(text).substr(i + 1, semicolon - i - 1);
    char32_t c = 0;
    if (body.size() > 1 && body[0] == U'#') {
      const bool hex = body[1] == U'x' || body[1] == U'X';
      bool valid = body.size() > (hex ? 2u : 1u);
      for (std::size_t k = hex ? 2 : 1; valid && k < body.size(); ++k) {
        const char32_t d = body[k];
        const int v = d >= U'0' && d <= U'9'          ? static_cast<int>(d - U'0')
                      : hex && d >= U'a' && d <= U'f' ? static_cast<int>(d - U'a' + 10)
                      : hex && d >= U'A' && d <= U'F' ? static_cast<int>(d - U'A' + 10)
                                                      : -1;
        valid = v >= 0;
        c = c * (hex ? 16 : 10) + static_cast<char32_t>(valid ? v : 0);
        valid = valid && c <= 0x10FFFF;
      }
      if (!valid) c = 0;
    } else {
      for (const auto& named : kNamed) {
        if (body == named.name) c = named.c;
      }
    }
    if (c == 0) {
      out += text[i];
      continue;
    }
    out += c;
    i = semicolon;
  }
  return out;
}

RedactionCheck::RedactionCheck(const RedactionMap& map, ToUtf8 toUtf8) : toUtf8_(std::move(toUtf8)), ends_(1, -1) {
  for (const auto& entry : map.Entries()) {
    if (entry.IsAlias()) continue;  // its spellings are looked for here
    switch (entry.kind) {
      case Kind::Label:
      case Kind::Subnet4:
      case Kind::Prefix6: break;
      case Kind::Mac:
        for (const auto& spelling : MacSpellings(entry.original)) AddNeedle(spelling, entry.kind);
        break;
      default: AddNeedle(entry.original, entry.kind);
    }
  }
}

std::u32string RedactionCheck::Decode(std::string_view ansi) const {
  bool ascii = true;
  for (char c : ansi) ascii = ascii && static_cast<unsigned char>(c) < 0x80;
  if (ascii) return std::u32string(ansi.begin(), ansi.end());
  if (toUtf8_) {
    if (const auto utf8 = toUtf8_(ansi)) return Utf8Characters(*utf8);
  }
  std::u32string out;
  for (char c : ansi) out += static_cast<unsigned char>(c);
  return out;
}

void RedactionCheck::AddNeedle(std::string_view ansi, Kind kind) {
  std::u32string folded = Decode(ansi);
  for (char32_t& c : folded) c = FoldCase(c);
  AddFolded(folded, kind);
  // Written into an HTML page: with its entities.
  if (Has(folded, U'&') || Has(folded, U'<') || Has(folded, U'>') || Has(folded, U'"')) {
    std::u32string escaped;
    for (char32_t c : folded) {
      escaped += c == U'&'   ? U"&amp;"
                 : c == U'<' ? U"&lt;"
                 : c == U'>' ? U"&gt;"
                 : c == U'"' ? U"&quot;"
                             : std::u32string(1, c);
    }
    AddFolded(escaped, kind);
  }
}

void RedactionCheck::AddFolded(const std::u32string& folded, Kind kind) {
  if (folded.empty()) return;
  std::uint32_t node = 0;
  for (const char32_t c : folded) {
    const auto [edge, added] = edges_.try_emplace(EdgeKey(node, c), static_cast<std::uint32_t>(ends_.size()));
    if (added) ends_.push_back(-1);
    if (node == 0 && c < rootAscii_.size()) rootAscii_[c] = edge->second;
    node = edge->second;
  }
  if (ends_[node] < 0) {
    ends_[node] = static_cast<int>(kind);
    ++originals_;
  }
  if (folded[0] < kFirsts) firsts_[folded[0]] = true;
}

template <typename Text>
std::optional<Kind> RedactionCheck::Scan(const Text& text) const {
  if (originals_ == 0) return std::nullopt;
  const auto at = [&text](std::size_t k) {
    const auto c = static_cast<char32_t>(static_cast<std::make_unsigned_t<typename Text::value_type>>(text[k]));
    if (c >= 0x80) return FoldCase(c);
    return c >= U'A' && c <= U'Z' ? static_cast<char32_t>(c + 32) : c;
  };
  const auto scriptOf = [](char32_t c) {
    if (c >= 0x80) return ScriptOf(c);
    return (c >= U'0' && c <= U'9') || (c >= U'a' && c <= U'z') || (c >= U'A' && c <= U'Z') ? 1 : 0;
  };
  for (std::size_t s = 0; s < text.size(); ++s) {
    const char32_t c = at(s);
    if (c < kFirsts && !firsts_[c]) continue;
    const int script = scriptOf(c);
    if (script != 0 && s > 0 && scriptOf(at(s - 1)) == script) continue;
    std::uint32_t node = 0;
    for (std::size_t j = s; j < text.size(); ++j) {
      const char32_t cj = at(j);
      if (node == 0 && cj < rootAscii_.size()) {
        node = rootAscii_[cj];  // the first step of most walks, without hashing
      } else {
        const auto edge = edges_.find(EdgeKey(node, cj));
        node = edge == edges_.end() ? 0 : edge->second;
      }
      if (node == 0) break;
      if (ends_[node] < 0) continue;
      const int last = scriptOf(cj);
      if (last == 0 || j + 1 == text.size() || scriptOf(at(j + 1)) != last) return static_cast<Kind>(ends_[node]);
    }
  }
  return std::nullopt;
}

std::optional<Kind> RedactionCheck::FindInText(std::string_view bytes, bool utf16) {
  bool ascii = !utf16;
  for (std::size_t i = 0; ascii && i < bytes.size(); ++i) ascii = static_cast<unsigned char>(bytes[i]) < 0x80;
  // ASCII text (most of the event logs) is read as it stands.
  if (ascii && bytes.find('&') == std::string_view::npos) return Scan(bytes);
  std::vector<std::u32string> views;
  if (utf16) {
    views.push_back(Utf16Characters(bytes));
  } else {
    views.push_back(Decode(bytes));
    if (IsNonAsciiUtf8(bytes)) views.push_back(Utf8Characters(bytes));
  }
  for (const auto& view : views) {
    if (const auto found = Scan(view)) return found;
    if (Has(view, U'&')) {
      if (const auto found = Scan(WithoutEntities(view))) return found;
    }
  }
  return std::nullopt;
}

std::optional<Kind> RedactionCheck::Find(std::string_view name, std::string_view bytes) {
  if (const auto found = FindInText(name, false)) return found;
  return FindInText(bytes, LooksUtf16(bytes));
}

std::optional<Kind> RedactionCheck::FindInPiece(std::string_view piece) {
  return FindInText(piece, false);
}

}  // namespace fernwick::redaction
