#include "redaction/keyword_file.h"

namespace fernwick::redaction {
namespace {

constexpr std::size_t kShortest = 3;
constexpr std::size_t kLongest = 256;

std::string_view Trim(std::string_view text) {
  const std::size_t first = text.find_first_not_of(" \t");
  if (first == std::string_view::npos) return {};
  return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

bool IsAlnumChar(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
}

}  // namespace

std::string Quoted(std::string_view text) {
  // Appended piece by piece: GCC 12 at -O3 warns wrongly about "\"" + text.
  std::string out;
  out.reserve(text.size() + 2);
  out += '"';
  out.append(text);
  out += '"';
  return out;
}

std::vector<std::string_view> TextLines(std::string_view text) {
  std::vector<std::string_view> lines;
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find_first_of("\r\n", start);
    if (end == std::string_view::npos) end = text.size();
    lines.push_back(text.substr(start, end - start));
    if (end < text.size() && text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n') ++end;
    start = end + 1;
  }
  return lines;
}

KeywordFile ParseKeywordFile(std::string_view text) {
  KeywordFile file;
  if (text.size() >= 2 && ((text[0] == '\xFF' && text[1] == '\xFE') || (text[0] == '\xFE' && text[1] == '\xFF'))) {
    file.error = "line 1: the file is UTF-16; save it as ANSI text";
    return file;
  }
  if (text.size() >= 3 && text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
  int number = 0;
  for (const auto raw : TextLines(text)) {
    ++number;
    const std::string_view line = Trim(raw);
    if (line.empty() || line.front() == ';') continue;
    const auto fail = [&](const std::string& why) {
      file.keywords.clear();
      file.error = "line " + std::to_string(number) + ": " + why;
      return file;
    };
    for (char c : line) {
      if (static_cast<unsigned char>(c) < 0x20) return fail("a control character in the keyword");
    }
    if (line.size() < kShortest) return fail(Quoted(line) + " is shorter than 3 characters");
    // Keywords are matched in ASCII letters and digits, with punctuation
    // and blanks only inside: a keyword of another script or one that
    // begins or ends in punctuation is refused rather than kept silently.
    for (char c : line) {
      if (static_cast<unsigned char>(c) >= 0x80) {
        return fail(Quoted(line) + " holds a character outside ASCII: write the name in ASCII letters and digits");
      }
      if (c == '&' || c == '<' || c == '>' || c == '"') {
        return fail(Quoted(line) + " holds &, <, > or \": leave the character out, or name the words apart");
      }
    }
    if (!IsAlnumChar(line.front()) || !IsAlnumChar(line.back())) {
      return fail(Quoted(line) + " begins or ends with a character that is no letter or digit: name the word alone");
    }
    if (line.size() > kLongest) return fail("the keyword is longer than 256 characters");
    file.keywords.emplace_back(line);
  }
  return file;
}

}  // namespace fernwick::redaction
