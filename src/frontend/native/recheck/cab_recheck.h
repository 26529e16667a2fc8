#pragma once
// A CAB's capture gathered again with today's rules, against the CAB's own
// report and Findings.csv (comparison/recheck_verdict.h): the status of
// each finding, and the CAB's findings today's gathering did not raise
// again, put into the packed report the findings files are made from.
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "comparison/findings_verdict.h"
#include "platform/code_pages.h"
#include "report/packed_report.h"

namespace fernwick::native {

// What the CAB itself says, in UTF-8.
struct CabFindings {
  std::vector<comparison::SideFinding> findings;
  bool hasFindings = false;        // the CAB packs a readable Findings.csv
  std::vector<std::string> lines;  // its packed report
  std::uint32_t codePage = 1252;   // the report's, as Findings.csv states it (else 1252)
  std::string error;               // Findings.csv that cannot be read
};

// From the bytes of the packed files (either may be null: not packed).
CabFindings ReadCabFindings(const std::string* findingsCsv, const std::string* report);
// Reads them out of the cabinet; `error` says why when it cannot be read.
CabFindings ReadCabFindings(const std::filesystem::path& cabinet);

// Today's findings as the comparison reads them: UTF-8, severities for the
// server's Windows.
std::vector<comparison::SideFinding> SideFindings(const report::PackedReport& report, platform::CodePages& codePages);

// Sets `today.status` and `today.unraised` against `cab`.
void MarkRecheck(report::PackedReport& today, const CabFindings& cab, platform::CodePages& codePages);

// "3 present, 1 new since the CAB was made, 2 not evaluable".
std::string RecheckCounts(const report::PackedReport& today);

}  // namespace fernwick::native
