#pragma once
// The findings of a report as the summary page and `fernwick --findings`
// list them: one row per finding with every line that is its evidence, the
// root causes first, each followed by the findings it explains. Run-time
// errors and Write To File's errors are told apart by their text:
// identical ones make one row with a count, since one cause (an unreachable
// SQL Server) gives many.
#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "report/finding_fixes.h"
#include "report/packed_report.h"

namespace fernwick::report {

struct FindingGroup {
  FindingId id;
  FindingForServer here;             // severity, meaning and fix on this server, for these lines
  std::vector<std::size_t> members;  // indexes into the report's findings, in line order
  std::size_t cause = kNoCause;      // the group that explains this one, as an index into the groups
};

// The groups no finding explains, worst first and within a severity in the
// order of their first line; each followed by the groups it explains, in
// the same order.
std::vector<FindingGroup> GroupFindings(const PackedReport& report);

// The number of rows no finding explains, by severity, and of those
// explained: "2 errors, 1 warning, 0 notices (and 3 findings explained by them)".
std::string Verdict(const std::vector<FindingGroup>& groups);

// The worst severity of any finding of `groups`; none without groups.
std::optional<Severity> WorstSeverity(const std::vector<FindingGroup>& groups);

}  // namespace fernwick::report
