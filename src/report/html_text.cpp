#include "report/html_text.h"

namespace fernwick::report {

std::string HtmlText(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (char c : text) {
    switch (c) {
      case '&': out += "&amp;"; break;
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      case '"': out += "&quot;"; break;
      default:
        // 0x7F and 0x81, 0x8D, 0x8F, 0x90, 0x9D have no character in code page 1252.
        if ((static_cast<unsigned char>(c) < 0x20 && c != '\t') || c == '\x7f' || c == '\x81' || c == '\x8d' ||
            c == '\x8f' || c == '\x90' || c == '\x9d') {
          out += '?';
        } else {
          out += c;
        }
    }
  }
  return out;
}

}  // namespace fernwick::report
