#pragma once
// The report as Write To File packs it, with its findings: Findings.csv and
// Summary.htm are made from this one text, so that the three files agree.
// The window's text can differ from the gathered report: "/debug" adds
// DEBUG lines, a second Write To File adds the first one's error lines, and
// the user may have edited it. The findings are carried over by line.
#include <string>
#include <string_view>
#include <vector>

#include "report/report_buffer.h"

namespace fernwick::report {

// The line an earlier Write To File leaves in the window when a step fails.
inline constexpr std::string_view kWriteToFileErrorStart = "(error) in cmdWriteToFile routine:";

struct PackedReport {
  std::vector<std::string> lines;  // of the packed text
  std::vector<Finding> findings;   // in line order; Finding::line numbers `lines`
  ServerIdentity identity;
};

// The findings of `gathered` on the lines of `packed`: each finding keeps
// the line it was found on wherever that line now stands; one whose line is
// gone is dropped; an error line of an earlier Write To File is a finding
// of its own.
PackedReport CarryFindings(const ReportBuffer& gathered, std::string_view packed);

// `text` cut at its CRLFs; a last line end closes the last line.
std::vector<std::string> SplitLines(std::string_view text);

}  // namespace fernwick::report
