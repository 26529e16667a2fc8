#include "report/html_text.h"

namespace fernwick::report {
namespace {

constexpr std::string_view kReplacement = "\xEF\xBF\xBD";  // U+FFFD

bool Escaped(char c, std::string& out) {
  switch (c) {
    case '&': out += "&amp;"; return true;
    case '<': out += "&lt;"; return true;
    case '>': out += "&gt;"; return true;
    case '"': out += "&quot;"; return true;
    default: return false;
  }
}

bool IsControl(unsigned char byte) {
  return (byte < 0x20 && byte != '\t') || byte == 0x7F;
}

}  // namespace

std::string HtmlEscaped(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (char c : text) {
    if (!Escaped(c, out)) out += c;
  }
  return out;
}

std::string HtmlText(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (char c : text) {
    if (Escaped(c, out)) continue;
    // 0x81, 0x8D, 0x8F, 0x90, 0x9D have no character in code page 1252.
    const auto byte = static_cast<unsigned char>(c);
    const bool unassigned = byte == 0x81 || byte == 0x8D || byte == 0x8F || byte == 0x90 || byte == 0x9D;
    out += IsControl(byte) || unassigned ? '?' : c;
  }
  return out;
}

std::string HtmlUtf8Text(std::string_view utf8) {
  std::string out;
  out.reserve(utf8.size());
  for (std::size_t i = 0; i < utf8.size(); ++i) {
    const char c = utf8[i];
    if (Escaped(c, out)) continue;
    const auto byte = static_cast<unsigned char>(c);
    // U+0080 to U+009F: C2 80 to C2 9F.
    if (byte == 0xC2 && i + 1 < utf8.size() && (static_cast<unsigned char>(utf8[i + 1]) & 0xE0) == 0x80) {
      out += kReplacement;
      ++i;
    } else if (IsControl(byte)) {
      out += kReplacement;
    } else {
      out += c;
    }
  }
  return out;
}

}  // namespace fernwick::report
