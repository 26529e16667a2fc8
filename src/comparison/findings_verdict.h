#pragma once
// The verdict of a comparison: which findings are new, resolved or still
// present, and which the new CAB could not evaluate at all (lost
// visibility: its report lacks the finding's section, the section holds a
// run-time error, or no line of it tells what the finding's line told).
// A finding that was not evaluated is never called resolved.
#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace fernwick::comparison {

// A finding as either side knows it, re-read or from Findings.csv.
struct SideFinding {
  std::string id;        // "RSS-ENABLED"
  std::string severity;  // "error", "warning", "notice"
  std::string evidence;  // the whole report line, UTF-8
  std::size_t line = 0;  // of the report, 1 for the first; 0 when unknown
};

enum class FindingChange { New, LostVisibility, Resolved, StillPresent };

// "new", "lost visibility", "resolved", "still present": the words of the
// text and of the page.
std::string_view ChangeName(FindingChange change);

struct FindingRow {
  FindingChange change;
  SideFinding finding;      // the new one; the old one when resolved or lost
  std::string oldEvidence;  // still present: the old line, when it differs
  std::string why;          // lost visibility: what the new CAB lacks
};

// In the order New, LostVisibility, Resolved, StillPresent, errors first
// within each. `oldLines` and `newLines` are the reports (empty when a side
// has none), in which the findings' lines are looked up.
std::vector<FindingRow> CompareFindings(std::span<const SideFinding> oldFindings,
                                        std::span<const SideFinding> newFindings, std::span<const std::string> oldLines,
                                        std::span<const std::string> newLines);

// 0 error, 1 warning, 2 notice, 3 anything else.
int SeverityRank(std::string_view severity);

}  // namespace fernwick::comparison
