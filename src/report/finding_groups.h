#pragma once
// The findings of a report as the summary page lists them: one row per
// finding, with every line that is its evidence. Run-time errors and Write
// To File's errors are told apart by their text: identical ones make one
// row with a count, since one cause (an unreachable SQL Server) gives many.
#include <cstddef>
#include <string>
#include <vector>

#include "report/finding_fixes.h"
#include "report/packed_report.h"

namespace fernwick::report {

struct FindingGroup {
  FindingId id;
  Severity severity;                 // on this server
  std::string fix;                   // on this server, naming its processes and values
  std::vector<std::size_t> members;  // indexes into the report's findings, in line order
};

// Worst first; within a severity in the order of their first line.
std::vector<FindingGroup> GroupFindings(const PackedReport& report);

// The number of findings rows (groups) of each severity, and the verdict
// line: "2 errors, 1 warning, 0 notices".
std::string Verdict(const std::vector<FindingGroup>& groups);

}  // namespace fernwick::report
