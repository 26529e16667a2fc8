#pragma once
// The line syntax of a server image's recorded answers (answers.txt,
// versions.txt): one answer per line, fields separated by a tab; inside a
// field \t, \n, \r and \\ stand for a tab, line ends and a backslash, \; for
// a semicolon, and a field that is exactly \N is NULL. Empty lines and lines
// beginning with ';' are skipped, so a first field that begins with ';' is
// written as "\;...". Joining fields and splitting the line again gives the
// same fields.
//
// Files are read one line at a time, and the fields of a line one at a
// time: reading never holds more than the line being read beside what the
// reader keeps of it.
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace fernwick::recording {

using CaptureField = std::optional<std::string>;  // nullopt: NULL

std::string JoinCaptureLine(const std::vector<CaptureField>& fields);

// One kept line: its number (from 1) and its text, whose fields are read in turn.
class CaptureLineText {
 public:
  CaptureLineText(int number, std::string_view text) : number_(number), text_(text) {}
  int Number() const { return number_; }
  // How many fields the line has (its tabs and one).
  std::size_t FieldCount() const;
  // The next field, or false after the last one.
  bool NextField(CaptureField& field);
  // Every field not read yet.
  std::vector<CaptureField> RestOfFields();
  // The text of the fields not read yet, as written (empty after the last).
  std::string_view RestOfText() const { return done_ ? std::string_view() : text_.substr(next_); }
  // The bytes of the line.
  std::size_t Size() const { return text_.size(); }

 private:
  int number_;
  std::string_view text_;
  std::size_t next_ = 0;
  bool done_ = false;
};

// Calls `visit` for each kept line of `text`, in order.
void ForEachCaptureLine(std::string_view text, const std::function<void(CaptureLineText&)>& visit);

// The lines of a file with all their fields (for small texts and tests).
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
