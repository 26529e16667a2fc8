#pragma once
// A CAB's capture gathered again with today's rules, against what the CAB
// itself says: each finding today's rules raise is "present" (the CAB's
// Findings.csv has it too), "new since the CAB was made" (it has not), or
// "not evaluable" (its line was written from a question the capture could
// not answer, or the CAB lacks it and a question went unanswered in its
// section); each finding of the CAB today's gathering lacks is "not
// evaluable" where the capture could not tell (a question unanswered in its
// section, the section or the line gone), else "no longer raised". A
// finding that could not be evaluated is never taken for gone.
#include <cstddef>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "comparison/findings_verdict.h"

namespace fernwick::comparison {

enum class RecheckStatus { Present, NewSinceCab, NotEvaluable, NoLongerRaised };

// "present", "new since the CAB was made", "not evaluable", "no longer raised".
std::string_view StatusName(RecheckStatus status);

struct RecheckedFindings {
  // Per finding of today's gathering, in its order.
  std::vector<RecheckStatus> statuses;
  // The CAB's findings today's gathering lacks, in the CAB's order; `why`
  // what hid them (empty when no longer raised).
  struct Missing {
    RecheckStatus status;
    SideFinding finding;
    std::string why;
  };
  std::vector<Missing> missing;
};

// `cabFindings` from the CAB's Findings.csv (`cabHasFindings` false when it
// has none: a finding whose line stands in the CAB's report is then
// present), `cabLines` its packed report, `today` and `todayLines` the
// gathering again (UTF-8 alike).
RecheckedFindings RecheckFindings(std::span<const SideFinding> cabFindings, bool cabHasFindings,
                                  std::span<const std::string> cabLines, std::span<const SideFinding> today,
                                  std::span<const std::string> todayLines);

}  // namespace fernwick::comparison
