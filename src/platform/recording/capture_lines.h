#pragma once
// The line syntax of a server image's recorded answers (answers.txt,
// versions.txt): one answer per line, fields separated by a tab; inside a
// field \t, \n, \r and \\ stand for a tab, line ends and a backslash, and a
// field that is exactly \N is NULL. Empty lines and lines beginning with ';'
// are skipped.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace fernwick::recording {

using CaptureField = std::optional<std::string>;  // nullopt: NULL

std::string JoinCaptureLine(const std::vector<CaptureField>& fields);
// The lines of a file with their fields; skipped lines are left out, each
// kept line comes with its number (from 1).
struct CaptureLine {
  int number = 0;
  std::vector<CaptureField> fields;
};
std::vector<CaptureLine> SplitCaptureLines(std::string_view text);

// Hex words as the recorded answers write them ("0000040e"); nullopt when
// the text is not 1 to 8 hex digits.
std::optional<std::uint32_t> ParseHexWord(std::string_view text);
std::optional<unsigned long long> ParseDecimal(std::string_view text);

}  // namespace fernwick::recording
