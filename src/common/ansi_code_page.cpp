#include "common/ansi_code_page.h"

#include <array>
#include <cstdint>

namespace fernwick {
namespace {

// Code points of bytes 0x80 to 0x9F; 0 marks the five unassigned bytes,
// which the system maps to the same-numbered control characters.
constexpr std::array<char16_t, 32> kHighControls = {0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                                    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,
                                                    0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                                    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

char CodePointToAnsi(char32_t cp) {
  if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF)) return static_cast<char>(cp);
  for (std::size_t i = 0; i < kHighControls.size(); ++i) {
    const char16_t mapped = kHighControls[i] != 0 ? kHighControls[i] : static_cast<char16_t>(0x80 + i);
    if (mapped == cp) return static_cast<char>(0x80 + i);
  }
  return '?';
}

// How a UTF-8 lead byte goes on: continuation bytes it needs, the bits it
// carries and the range its second byte must lie in (0 extra: not a lead).
struct Utf8Lead {
  int extra = 0;
  unsigned char mask = 0;
  unsigned char secondLow = 0x80;
  unsigned char secondHigh = 0xBF;
};

Utf8Lead LeadForm(unsigned char lead) {
  if (lead >= 0xC2 && lead <= 0xDF) return {1, 0x1F};
  if (lead == 0xE0) return {2, 0x0F, 0xA0, 0xBF};
  if (lead == 0xED) return {2, 0x0F, 0x80, 0x9F};
  if (lead >= 0xE1 && lead <= 0xEF) return {2, 0x0F};
  if (lead == 0xF0) return {3, 0x07, 0x90, 0xBF};
  if (lead >= 0xF1 && lead <= 0xF3) return {3, 0x07};
  if (lead == 0xF4) return {3, 0x07, 0x80, 0x8F};
  return {};
}

}  // namespace

std::string Utf16ToAnsi(std::u16string_view text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    char32_t cp = text[i];
    if (cp >= 0xD800 && cp <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF) {
      cp = 0x10000 + ((cp - 0xD800) << 10) + (text[i + 1] - 0xDC00);
      ++i;
    }
    out.push_back(CodePointToAnsi(cp));
  }
  return out;
}

std::string Utf16LeBytesToAnsi(std::string_view bytes) {
  std::u16string wide;
  wide.reserve(bytes.size() / 2);
  for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
    wide.push_back(
        static_cast<char16_t>(static_cast<unsigned char>(bytes[i]) | (static_cast<unsigned char>(bytes[i + 1]) << 8)));
  }
  return Utf16ToAnsi(wide);
}

std::u16string AnsiToUtf16(std::string_view text) {
  std::u16string out;
  out.reserve(text.size());
  for (char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte >= 0x80 && byte <= 0x9F && kHighControls[byte - 0x80] != 0) {
      out.push_back(kHighControls[byte - 0x80]);
    } else {
      out.push_back(static_cast<char16_t>(byte));
    }
  }
  return out;
}

std::string Utf8ToAnsi(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size();) {
    const auto lead = static_cast<unsigned char>(text[i]);
    if (lead < 0x80) {
      out.push_back(static_cast<char>(lead));
      ++i;
      continue;
    }
    const Utf8Lead form = LeadForm(lead);
    // The longest start of a well-formed sequence found here becomes one '?'
    // when it breaks off, as the system's converter does: overlong forms,
    // surrogates and code points above U+10FFFF never pass the second byte.
    char32_t cp = lead & form.mask;
    std::size_t used = 1;
    bool complete = form.extra > 0;
    for (int k = 0; complete && k < form.extra; ++k) {
      const std::size_t at = i + used;
      const unsigned char low = k == 0 ? form.secondLow : 0x80;
      const unsigned char high = k == 0 ? form.secondHigh : 0xBF;
      if (at >= text.size() || static_cast<unsigned char>(text[at]) < low ||
          static_cast<unsigned char>(text[at]) > high) {
        complete = false;
        break;
      }
      cp = (cp << 6) | (static_cast<unsigned char>(text[at]) & 0x3Fu);
      ++used;
    }
    out.push_back(complete ? CodePointToAnsi(cp) : '?');
    i += used;
  }
  return out;
}

std::string AnsiToUtf8(std::string_view text) {
  std::string out;
  for (const char16_t unit : AnsiToUtf16(text)) {  // code page 1252 lies in the basic plane
    if (unit < 0x80) {
      out.push_back(static_cast<char>(unit));
    } else if (unit < 0x800) {
      out.push_back(static_cast<char>(0xC0 | (unit >> 6)));
      out.push_back(static_cast<char>(0x80 | (unit & 0x3F)));
    } else {
      out.push_back(static_cast<char>(0xE0 | (unit >> 12)));
      out.push_back(static_cast<char>(0x80 | ((unit >> 6) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | (unit & 0x3F)));
    }
  }
  return out;
}

}  // namespace fernwick
