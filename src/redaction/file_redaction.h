#pragma once
// One file of a package, redacted in the encoding it is written in: ANSI,
// UTF-16LE (with its byte-order mark, or recognised by its zero bytes), and
// inside registry exports the hex of binary and multi-string values too.
#include <string>
#include <string_view>

#include "redaction/text_redactor.h"

namespace fernwick::redaction {

// A whole file; `name` tells a registry export (".reg") by its ending.
std::string RedactFileBytes(std::string_view name, std::string_view bytes, TextRedactor& redactor);

// Enters the names and addresses the patterns find in a whole file into the
// map, in the file's encoding, without replacing anything.
void DiscoverFile(std::string_view name, std::string_view bytes, TextRedactor& redactor);

// True for the files that write each backslash twice (registry exports,
// answers.txt, versions.txt).
bool BackslashesDoubled(std::string_view name);

// True when the bytes read as UTF-16LE text.
bool LooksUtf16(std::string_view bytes);

// An ANSI file too big to hold, fed in pieces: each piece's complete lines
// are redacted at once, the rest waits for the next piece. A line longer
// than `longestLine` is cut after a blank or, failing that, where it stands.
// The collecting pass (read the whole file so, before any file is redacted)
// only learns the names of the lines (TextRedactor::Collect) and gives
// nothing back.
class LineStreamRedactor {
 public:
  enum class Pass { kCollect, kRedact };
  explicit LineStreamRedactor(TextRedactor& redactor, Pass pass = Pass::kRedact, std::size_t longestLine = 1 << 20)
      : redactor_(redactor), pass_(pass), longestLine_(longestLine) {}
  std::string Feed(std::string_view piece);
  std::string Finish();

 private:
  std::string Lines(std::string_view lines);

  TextRedactor& redactor_;
  Pass pass_;
  std::size_t longestLine_;
  std::string pending_;
};

}  // namespace fernwick::redaction
