#pragma once
// The report as Write To File packs it, with its findings: Findings.csv and
// Summary.htm are made from this one text, so that the three files agree.
// The window's text can differ from the gathered report: "/debug" adds
// DEBUG lines, a second Write To File adds the first one's error lines, and
// the user may have edited it. The findings are carried over by line, and
// the facts the files head with are read from the text
// (report_heading.h): nothing of the gathering that the text no longer
// says reaches either file.
#include <cstddef>
#include <limits>
#include <string>
#include <string_view>
#include <vector>

#include "report/report_buffer.h"
#include "report/report_heading.h"

namespace fernwick::report {

// The line an earlier Write To File leaves in the window when a step fails.
inline constexpr std::string_view kWriteToFileErrorStart = "(error) in cmdWriteToFile routine:";

// No finding explains this one.
inline constexpr std::size_t kNoCause = std::numeric_limits<std::size_t>::max();

struct PackedReport {
  std::vector<std::string> lines;  // of the packed text
  std::vector<Finding> findings;   // in line order; Finding::line numbers `lines`
  // Per finding: the finding that explains it, as an index into `findings`
  // (finding_causes.h), or kNoCause. A cause is never explained itself.
  std::vector<std::size_t> causes;
  ServerIdentity identity;
  // A capture gathered again with today's rules (`fernwick --from-cab CAB
  // --recheck`), against the CAB's own findings: per finding its status
  // ("present", "new since the CAB was made", "not evaluable"), and the
  // CAB's findings today's gathering did not raise again, in UTF-8. Only
  // a re-check's Findings.csv has the status column.
  std::vector<std::string> status;
  struct Unraised {
    std::string id, severity, evidence, status, why;
  };
  std::vector<Unraised> unraised;
  bool rechecked = false;
  bool Rechecked() const { return rechecked; }
};

// The findings of `gathered` on the lines of `packed`: each finding keeps
// the line it was found on wherever that line now stands; one whose line is
// gone is dropped; an error line of an earlier Write To File is a finding
// of its own; then the causes (finding_causes.h). The facts are `packed`'s.
PackedReport CarryFindings(const ReportBuffer& gathered, std::string_view packed);

// `text` cut at its CRLFs; a last line end closes the last line.
std::vector<std::string> SplitLines(std::string_view text);

}  // namespace fernwick::report
