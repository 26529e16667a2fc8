#pragma once
// Two CABs (or server images) of a server side by side: what each one
// holds as the comparison reads it, and what changed between them, in the
// order `fernwick --compare` prints it: verdict, identity, report, server
// image, event logs and services.
#include <optional>
#include <string>
#include <vector>

#include "comparison/event_log_counts.h"
#include "comparison/findings_verdict.h"
#include "comparison/image_facts.h"
#include "comparison/report_changes.h"
#include "comparison/server_identity.h"
#include "comparison/service_changes.h"

namespace fernwick::comparison {

// One side, read by the native command from a CAB or an image folder; all
// text UTF-8.
struct ComparedSide {
  std::string name;                                  // as given on the command line
  std::optional<std::vector<std::string>> report;    // its lines
  std::optional<std::vector<SideFinding>> findings;  // none: neither re-read nor in Findings.csv
  std::string findingsFrom;                          // "its server image, re-read", "Findings.csv"
  std::string fernwick;                              // the Fernwick that recorded its image; empty: as its report says
  std::vector<std::string> lacks;                    // what cannot be compared, and why, one phrase each
  std::optional<std::vector<SourceCounts>> eventLogs;  // none: the CAB holds no event log
  std::optional<std::vector<ServiceEntry>> services;   // none: no service list
  std::optional<ImageFacts> image;                     // none: no server image
};

struct ComparisonOptions {
  bool all = false;  // show the volatile lines too
};

struct Comparison {
  ReportIdentity oldIdentity, newIdentity;
  bool sameServer = true;
  std::optional<long long> secondsApart;  // from OLD's gathering to NEW's
  bool findingsCompared = false;
  std::vector<FindingRow> findings;
  std::vector<SectionChanges> report;
  std::size_t volatileLeftOut = 0;  // changed lines the volatile table leaves out (without --all)
  std::vector<std::string> notCompared;
  std::vector<ImageFactChange> image;
  std::vector<EventLogChange> eventLogs;
  std::vector<ServiceChange> services;
};

Comparison Compare(const ComparedSide& oldSide, const ComparedSide& newSide, const ComparisonOptions& options);

// Whether anything but still-present findings and left-out lines differs:
// exit code 1 rather than 0.
bool Differs(const Comparison& comparison);

// "Verdict: 1 new, 2 resolved, 3 still present" and a line end.
std::string VerdictLine(const Comparison& comparison);

// The text `fernwick --compare` prints (UTF-8, LF line ends). Nothing that
// matters differs: the verdict line alone.
std::string ComparisonText(const Comparison& comparison, const ComparedSide& oldSide, const ComparedSide& newSide);

}  // namespace fernwick::comparison
