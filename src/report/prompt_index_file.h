#pragma once
// The prompt index file "Prompt.ini" of a prompt folder: its section
// headers name the prompts whose WAV files must lie beside it.
#include <string>
#include <string_view>
#include <vector>

namespace fernwick::report {

// `text` split at each CRLF, as the classic Split does: "a\r\nb\r\n" gives
// "a", "b" and "", an empty text gives no piece at all.
std::vector<std::string> SplitAtCrLf(std::string_view text);

// The lines of the whole file `bytes`: read as 8-bit text and split at CRLF;
// when that gives exactly one line the file is taken to be UTF-16
// (little-endian, an optional byte-order mark) and read again, converted to
// ANSI. A file with nothing to read is error 62 (input past end of file).
std::vector<std::string> PromptIndexLines(std::string_view bytes);

// The prompt names of the section headers among `lines`, in order. A
// header contains "[" and neither "=" nor "(TEXT ONLY)"; its name runs
// from the line's second character up to the one before the first "]"
// (so leading blanks stay in the name). A header whose "]" is missing or
// comes first is error 5 (invalid procedure call), as the negative length
// of the name is.
std::vector<std::string> PromptNames(const std::vector<std::string>& lines);

}  // namespace fernwick::report
