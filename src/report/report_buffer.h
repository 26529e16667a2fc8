#pragma once
// The report as it accumulates: one text with CRLF line ends, and the
// findings its lines are the evidence of.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "report/finding_fixes.h"
#include "report/findings.h"
#include "report/marked_text.h"

namespace fernwick::report {

// Who the report is about, as the summary page heads it; set by the
// stretches that write these facts.
struct ServerIdentity {
  std::string name;
  std::string version;
  std::string backEnd;
  std::string partner;          // the partner server's name
  std::string gathered;         // "mm-dd-yyyy / hh:mm:ss", as the report's header
  std::string fernwickVersion;  // "2.0.4"
  std::string systemId;
  std::string sqlVersion;  // as the SQL Version line
  std::string windows;     // as the Windows version line
  WindowsFacts windowsFacts;
  std::uint32_t codePage = 1252;  // the system's ANSI code page, the report's
};

struct Finding {
  FindingId id;
  std::size_t line;      // of the report text, 0 for its first line
  std::string evidence;  // that whole line
  std::string process;   // what the fix's <process> and <value> stand for
  std::string value;
};

class ReportBuffer {
 public:
  // Appends `text` unchanged and a CRLF; a text with CRLFs adds several lines.
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
  ServerIdentity& Identity() { return identity_; }
  const ServerIdentity& Identity() const { return identity_; }

 private:
  std::string text_ = "bufferTextMain";     // the hidden control's design-time text
  std::vector<std::size_t> lineStarts_{0};  // where each line begins; the last one is still open
  std::vector<Finding> findings_;
  ServerIdentity identity_;
};

}  // namespace fernwick::report
