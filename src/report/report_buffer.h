#pragma once
// The report as it accumulates: one text with CRLF line ends, and the
// findings its lines are the evidence of.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "report/findings.h"
#include "report/marked_text.h"

namespace fernwick::report {

class ReportBuffer {
 public:
  // Appends `text` unchanged and a CRLF; a text with CRLFs adds several lines.
  // While re-checking, a text written after a question the capture could
  // not answer ends with " (not in this capture)" (common/not_in_capture.h).
  void AppendReportLine(std::string_view text);
  // The same, recording the findings its lines are marked with.
  void AppendMarkedLine(const MarkedText& text);
  // Appends `text` and records `id` with its first non-empty line.
  void AppendFindingLine(FindingId id, std::string text) { AppendMarkedLine(MarkedText(id, std::move(text))); }
  // The text of line `line`; empty past the last one.
  std::string_view Line(std::size_t line) const;
  // Records `id` with a line already written (as numbered by NextLine()).
  void RecordFinding(FindingId id, std::size_t line, std::string process = {}, std::string value = {});
  // The number the next appended line will have.
  std::size_t NextLine() const { return lineStarts_.size() - 1; }
  void Clear();
  const std::string& Text() const { return text_; }
  const std::vector<Finding>& Findings() const { return findings_; }
  // The system's ANSI code page, the report text's: the only fact of the
  // findings files that is not read from the report's text.
  std::uint32_t CodePage() const { return codePage_; }
  void SetCodePage(std::uint32_t codePage) { codePage_ = codePage; }

 private:
  std::string text_ = "bufferTextMain";     // the hidden control's design-time text
  std::vector<std::size_t> lineStarts_{0};  // where each line begins; the last one is still open
  std::vector<Finding> findings_;
  std::uint32_t codePage_ = 1252;
};

}  // namespace fernwick::report
