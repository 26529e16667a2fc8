// The code-page conversions between code page 1252, UTF-8 and UTF-16.
// Beyond "no crash": ANSI text survives the way to UTF-16 and back, and the
// way to UTF-8 and back; UTF-8 decoding never makes a NUL byte the input did
// not hold and never makes more characters than the input has bytes; text
// from UTF-16LE bytes has one character per code unit or surrogate pair.
#include <string>

#include "common/ansi_code_page.h"
#include "fuzz/fuzz_check.h"

namespace {

std::string Utf8Of(std::u16string_view text) {
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    char32_t cp = text[i];
    if (cp >= 0xD800 && cp <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF) {
      cp = 0x10000 + ((cp - 0xD800) << 10) + (text[++i] - 0xDC00);
    }
    if (cp < 0x80) {
      out += static_cast<char>(cp);
    } else if (cp < 0x800) {
      out += {static_cast<char>(0xC0 | (cp >> 6)), static_cast<char>(0x80 | (cp & 0x3F))};
    } else if (cp < 0x10000) {
      out += {static_cast<char>(0xE0 | (cp >> 12)), static_cast<char>(0x80 | ((cp >> 6) & 0x3F)),
              static_cast<char>(0x80 | (cp & 0x3F))};
    } else {
      out += {static_cast<char>(0xF0 | (cp >> 18)), static_cast<char>(0x80 | ((cp >> 12) & 0x3F)),
              static_cast<char>(0x80 | ((cp >> 6) & 0x3F)), static_cast<char>(0x80 | (cp & 0x3F))};
    }
  }
  return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace fernwick;
  using fuzz::Check;
  const std::string_view bytes = fuzz::AsText(data, size);
  const std::u16string wide = AnsiToUtf16(bytes);
  Check(Utf16ToAnsi(wide) == bytes, "ANSI -> UTF-16 -> ANSI");
  Check(Utf8ToAnsi(Utf8Of(wide)) == bytes, "ANSI -> UTF-8 -> ANSI");

  const std::string fromUtf8 = Utf8ToAnsi(bytes);
  Check(fromUtf8.size() <= bytes.size(), "no more characters than bytes");
  std::size_t nulsIn = 0;
  std::size_t nulsOut = 0;
  for (char c : bytes) nulsIn += c == '\0';
  for (char c : fromUtf8) nulsOut += c == '\0';
  Check(nulsOut == nulsIn, "a NUL only where the input held one");
  std::size_t units = 0;
  for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
    const auto unit =
        static_cast<char16_t>(static_cast<unsigned char>(bytes[i]) | (static_cast<unsigned char>(bytes[i + 1]) << 8));
    const bool high = unit >= 0xD800 && unit <= 0xDBFF && i + 3 < bytes.size() &&
                      (static_cast<unsigned char>(bytes[i + 3]) & 0xFC) == 0xDC;
    ++units;
    if (high) i += 2;
  }
  Check(Utf16LeBytesToAnsi(bytes).size() == units, "one character per code unit or pair");
  return 0;
}
