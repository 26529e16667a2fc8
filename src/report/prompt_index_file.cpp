#include "report/prompt_index_file.h"

#include "common/ansi_code_page.h"
#include "common/runtime_error.h"
#include "common/text.h"

namespace fernwick::report {

std::vector<std::string> SplitAtCrLf(std::string_view text) {
  std::vector<std::string> pieces;
  if (text.empty()) return pieces;
  std::size_t start = 0;
  for (;;) {
    const auto end = text.find(kCrLf, start);
    if (end == std::string_view::npos) {
      pieces.emplace_back(text.substr(start));
      return pieces;
    }
    pieces.emplace_back(text.substr(start, end - start));
    start = end + kCrLf.size();
  }
}

std::vector<std::string> PromptIndexLines(std::string_view bytes) {
  if (bytes.empty()) Raise(err::kInputPastEndOfFile);
  auto lines = SplitAtCrLf(bytes);
  if (lines.size() != 1) return lines;
  std::string_view wide = bytes;
  if (wide.size() >= 2 && static_cast<unsigned char>(wide[0]) == 0xFF && static_cast<unsigned char>(wide[1]) == 0xFE) {
    wide.remove_prefix(2);
  }
  if (wide.size() < 2) Raise(err::kInputPastEndOfFile);
  return SplitAtCrLf(Utf16LeBytesToAnsi(wide));
}

std::vector<std::string> PromptNames(const std::vector<std::string>& lines) {
  std::vector<std::string> names;
  for (const auto& line : lines) {
    if (line.find('[') == std::string::npos || line.find('=') != std::string::npos ||
        line.find("(TEXT ONLY)") != std::string::npos) {
      continue;
    }
    const auto close = line.find(']');
    // Mid(line, 2, InStr(line, "]") - 2): the length must not be negative.
    if (close == std::string::npos || close == 0) Raise(err::kInvalidProcedureCall);
    names.push_back(line.substr(1, close - 1));
  }
  return names;
}

}  // namespace fernwick::report
