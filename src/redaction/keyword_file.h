#pragma once
// The keyword file beside Fernwick.exe (RedactionKeywords.txt): names only
// the customer knows, one a line, replaced like any name in a redacted
// package. ANSI text; empty lines and lines beginning with ";" are skipped.
#include <string>
#include <string_view>
#include <vector>

namespace fernwick::redaction {

inline constexpr const char* kKeywordFileName = "RedactionKeywords.txt";

struct KeywordFile {
  std::vector<std::string> keywords;
  std::string error;  // empty when the file was read: else "line N: why"
};

KeywordFile ParseKeywordFile(std::string_view text);

// The text in double quotes, for messages.
std::string Quoted(std::string_view text);

// Splits text into lines at CR LF, LF or CR; a final line end makes no
// empty line.
std::vector<std::string_view> TextLines(std::string_view text);

}  // namespace fernwick::redaction
