#include "redaction/file_redaction.h"

#include <algorithm>
#include <vector>

#include "redaction/redaction_map.h"

namespace fernwick::redaction {
namespace {

constexpr char kWide = '\x01';  // stands for a UTF-16 unit above 0xFF

// UTF-16LE as 8-bit text: units up to 0xFF as themselves, others as kWide
// (kept aside in order). Names never hold kWide, so replacing keeps them.
std::string Narrow(std::string_view bytes, std::vector<std::uint16_t>& wide) {
  std::string text;
  text.reserve(bytes.size() / 2);
  for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
    const auto unit = static_cast<std::uint16_t>(static_cast<unsigned char>(bytes[i]) |
                                                 static_cast<unsigned char>(bytes[i + 1]) << 8);
    if (unit <= 0xFF && unit != static_cast<unsigned char>(kWide)) {
      text += static_cast<char>(unit);
    } else {
      text += kWide;
      wide.push_back(unit);
    }
  }
  return text;
}

std::string Widen(std::string_view text, const std::vector<std::uint16_t>& wide, std::string_view oddTail) {
  std::string bytes;
  bytes.reserve(text.size() * 2 + oddTail.size());
  std::size_t next = 0;
  for (char c : text) {
    std::uint16_t unit = static_cast<unsigned char>(c);
    if (c == kWide && next < wide.size()) unit = wide[next++];
    bytes += static_cast<char>(unit & 0xFF);
    bytes += static_cast<char>(unit >> 8);
  }
  return bytes + std::string(oddTail);
}

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// The bytes of "41,00,42,00" (blanks, backslashes and line ends between).
bool DecodeHex(std::string_view text, std::string& bytes) {
  int high = -1;
  for (char c : text) {
    const int v = HexValue(c);
    if (v >= 0) {
      if (high < 0) {
        high = v;
      } else {
        bytes += static_cast<char>(high * 16 + v);
        high = -1;
      }
    } else if (c != ',' && c != ' ' && c != '\\' && c != '\r' && c != '\n' && c != '\t') {
      return false;
    } else if (high >= 0 && c == ',') {
      return false;
    }
  }
  return high < 0;
}

// regedit's layout: bytes after the value's head, lines of at most 80
// characters ending in "\", further lines indented by two blanks.
std::string EncodeHex(std::string_view head, std::string_view bytes, std::string_view lineEnd) {
  static const char* kHex = "0123456789abcdef";
  std::string out(head);
  std::size_t column = head.size();
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    const auto b = static_cast<unsigned char>(bytes[i]);
    std::string item{kHex[b >> 4], kHex[b & 0xF]};
    if (i + 1 < bytes.size()) item += ',';
    if (column + item.size() > 77 && i + 1 < bytes.size()) {
      out += "\\";
      out += lineEnd;
      out += "  ";
      column = 2;
    }
    out += item;
    column += item.size();
  }
  return out;
}

// The bytes of a registry value, redacted as UTF-16LE text where they read
// so, else as ANSI.
std::string RedactValueBytes(std::string_view bytes, TextRedactor& redactor) {
  if (bytes.size() >= 2 && bytes.size() % 2 == 0 && bytes[1] == '\0' && bytes[0] != '\0') {
    std::vector<std::uint16_t> wide;
    const bool ansi = redactor.ReadingAnsi();
    redactor.ReadAsAnsi(false);
    std::string redacted = Widen(redactor.Redact(Narrow(bytes, wide)), wide, {});
    redactor.ReadAsAnsi(ansi);
    return redacted;
  }
  return redactor.Redact(bytes);
}

// Every hex value of a registry export, redacted; the rest of the text is
// left for the plain pass.
std::string RedactHexValues(std::string_view text, TextRedactor& redactor) {
  std::string out;
  out.reserve(text.size());
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find('\n', start);
    end = end == std::string_view::npos ? text.size() : end + 1;
    std::string_view line = text.substr(start, end - start);
    const std::size_t hex = line.find("=hex");
    const std::size_t colon = hex == std::string_view::npos ? hex : line.find(':', hex);
    if (line.empty() || line.front() != '"' || colon == std::string_view::npos ||
        line.substr(hex + 4, colon - hex - 4).find_first_not_of("(0123456789abcdefABCDEF)") != std::string_view::npos) {
      out.append(line);
      start = end;
      continue;
    }
    // The value goes on while its lines end in "\".
    std::size_t valueEnd = end;
    auto continues = [&](std::size_t lineEnd) {
      std::size_t e = lineEnd;
      while (e > start && (text[e - 1] == '\n' || text[e - 1] == '\r')) --e;
      return e > start && text[e - 1] == '\\';
    };
    while (continues(valueEnd) && valueEnd < text.size()) {
      std::size_t next = text.find('\n', valueEnd);
      valueEnd = next == std::string_view::npos ? text.size() : next + 1;
    }
    const std::string_view value = text.substr(start, valueEnd - start);
    const std::size_t headEnd = colon + 1;
    std::string bytes;
    const std::string_view lineEnd = line.find("\r\n") != std::string_view::npos ? "\r\n" : "\n";
    if (!DecodeHex(value.substr(headEnd), bytes)) {
      out.append(value);
    } else {
      const std::string redacted = RedactValueBytes(bytes, redactor);
      if (redacted == bytes) {
        out.append(value);
      } else {
        out += EncodeHex(value.substr(0, headEnd), redacted, lineEnd);
        const bool endsLine = !value.empty() && value.back() == '\n';
        if (endsLine) out += lineEnd;
      }
    }
    start = valueEnd;
  }
  return out;
}

bool EndsWithNoCase(std::string_view text, std::string_view tail) {
  return text.size() >= tail.size() && Lower(text.substr(text.size() - tail.size())) == tail;
}

std::string RedactText(std::string_view name, std::string_view text, TextRedactor& redactor, bool ansi) {
  redactor.SetBackslashesDoubled(BackslashesDoubled(name));
  redactor.ReadAsAnsi(ansi);
  std::string out =
      EndsWithNoCase(name, ".reg") ? redactor.Redact(RedactHexValues(text, redactor)) : redactor.Redact(text);
  redactor.ReadAsAnsi(true);
  redactor.SetBackslashesDoubled(false);
  return out;
}

// ANSI text of the code page, not UTF-8 (Summary.htm, Findings.csv).
bool IsAnsi(std::string_view bytes) {
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    if (static_cast<unsigned char>(bytes[i]) < 0x80) continue;
    // Decided by the first non-ASCII bytes: a valid UTF-8 sequence there.
    const auto b = static_cast<unsigned char>(bytes[i]);
    const std::size_t length = (b & 0xE0) == 0xC0 ? 2 : (b & 0xF0) == 0xE0 ? 3 : (b & 0xF8) == 0xF0 ? 4 : 0;
    if (length == 0 || i + length > bytes.size()) return true;
    for (std::size_t k = 1; k < length; ++k) {
      if ((static_cast<unsigned char>(bytes[i + k]) & 0xC0) != 0x80) return true;
    }
    return false;
  }
  return true;
}

}  // namespace

void DiscoverFile(std::string_view name, std::string_view bytes, TextRedactor& redactor) {
  redactor.SetBackslashesDoubled(BackslashesDoubled(name));
  std::vector<std::uint16_t> wide;
  const std::string narrow = LooksUtf16(bytes) ? Narrow(bytes, wide) : std::string();
  // A name found late (a domain in an e-mail address) reveals others
  // earlier in the file (a host under that domain): again until none is new.
  redactor.ReadAsAnsi(!LooksUtf16(bytes) && IsAnsi(bytes));
  for (int pass = 0; pass < 4; ++pass) {
    const std::size_t known = redactor.Map().Entries().size();
    redactor.Discover(LooksUtf16(bytes) ? std::string_view(narrow) : bytes);
    if (redactor.Map().Entries().size() == known) break;
  }
  redactor.ReadAsAnsi(true);
  redactor.SetBackslashesDoubled(false);
}

bool BackslashesDoubled(std::string_view name) {
  return EndsWithNoCase(name, ".reg") || EndsWithNoCase(name, "answers.txt") || EndsWithNoCase(name, "versions.txt");
}

bool LooksUtf16(std::string_view bytes) {
  if (bytes.size() >= 2 && bytes[0] == '\xFF' && bytes[1] == '\xFE') return true;
  if (bytes.size() < 4 || bytes.size() % 2 != 0) return false;
  // Mostly Latin text: every second byte zero.
  std::size_t zeros = 0, sample = std::min<std::size_t>(bytes.size() / 2, 256);
  for (std::size_t i = 0; i < sample; ++i) zeros += bytes[2 * i + 1] == '\0' && bytes[2 * i] != '\0';
  return zeros * 10 >= sample * 9;
}

std::string RedactFileBytes(std::string_view name, std::string_view bytes, TextRedactor& redactor) {
  if (LooksUtf16(bytes)) {
    std::vector<std::uint16_t> wide;
    const std::string text = Narrow(bytes, wide);
    return Widen(RedactText(name, text, redactor, false), wide, bytes.size() % 2 ? bytes.substr(bytes.size() - 1) : "");
  }
  return RedactText(name, bytes, redactor, IsAnsi(bytes));
}

std::string LineStreamRedactor::Feed(std::string_view piece) {
  pending_.append(piece);
  std::size_t cut = pending_.rfind('\n');
  if (cut == std::string::npos && pending_.size() > longestLine_) {
    cut = pending_.find_last_of(" \t");
    if (cut == std::string::npos) cut = pending_.size() - 1;
  }
  if (cut == std::string::npos) return {};
  std::string out = Lines(std::string_view(pending_).substr(0, cut + 1));
  pending_.erase(0, cut + 1);
  return out;
}

std::string LineStreamRedactor::Finish() {
  std::string out = Lines(pending_);
  pending_.clear();
  return out;
}

std::string LineStreamRedactor::Lines(std::string_view lines) {
  if (pass_ == Pass::kRedact) return redactor_.Redact(lines);
  redactor_.Collect(lines);
  return {};
}

}  // namespace fernwick::redaction
