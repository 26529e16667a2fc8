#pragma once
// Report text that carries its findings: lines (separated by CRLF) marked
// with the finding they are the evidence of. Code that composes a report
// line from pieces keeps the piece's finding with it, so the finding is
// named where its text is decided.
#include <cstddef>
#include <string>
#include <vector>

#include "report/findings.h"

namespace fernwick::report {

struct LineMark {
  std::size_t line;  // 0 for the text's first line
  FindingId id;
  std::string process = {};  // the Voxtra process the line names, and its value, for the fix
  std::string value = {};
};

struct MarkedText {
  std::string text;
  std::vector<LineMark> marks;

  MarkedText() = default;
  MarkedText(std::string plain) : text(std::move(plain)) {}  // NOLINT: plain text converts
  MarkedText(const char* plain) : text(plain) {}             // NOLINT
  // `line` marked as the evidence of `id`; a line end in front of it puts
  // the mark on the line after it.
  MarkedText(FindingId id, std::string line);

  MarkedText& operator+=(const MarkedText& more);
};

MarkedText operator+(MarkedText left, const MarkedText& right);

// The number of CRLFs in `text`.
std::size_t LineEnds(std::string_view text);

}  // namespace fernwick::report
