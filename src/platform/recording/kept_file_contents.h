#pragma once
// Of some files the gathering reads whole, a capture keeps only the part the
// report is made from (see docs/server-image-captures.md).
#include <string>
#include <string_view>

#include "common/text.h"

namespace fernwick::recording {

// A prompt index (Prompt.ini) gives the report its section headers only, and
// a header is a line (between CR LFs) that holds "[". Of an index read as
// 8-bit text (two lines or more) a capture keeps the lines holding "[", each
// with its CR LF, so the kept index gives the same headers in the same order,
// a faulty one included; and CR LF alone when none does, so that it is read
// as 8-bit text again. Any other index (one line: read as UTF-16; empty) is
// kept whole.
inline std::string PromptIndexKept(std::string_view bytes) {
  const std::size_t firstEnd = bytes.find(kCrLf);
  if (firstEnd == std::string_view::npos) return std::string(bytes);
  std::string kept;
  std::size_t start = 0;
  for (;;) {
    const std::size_t end = bytes.find(kCrLf, start);
    const std::string_view line =
        bytes.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start);
    if (line.find('[') != std::string_view::npos) {
      kept.append(line);
      kept.append(kCrLf);
    }
    if (end == std::string_view::npos) break;
    start = end + kCrLf.size();
  }
  return kept.empty() ? std::string(kCrLf) : kept;
}

// What a capture keeps of the contents of the file at `path` (a full path).
inline std::string KeptFileContents(std::string_view path, std::string_view bytes) {
  constexpr std::string_view promptIndex = "\\Prompt.ini";
  const bool isPromptIndex =
      path.size() >= promptIndex.size() && EqualsNoCase(path.substr(path.size() - promptIndex.size()), promptIndex);
  return isPromptIndex ? PromptIndexKept(bytes) : std::string(bytes);
}

}  // namespace fernwick::recording
