#pragma once
// Findings.csv: one row per finding in report order, under a header row;
// RFC 4180 (CRLF, fields with a comma, quote or line end quoted, quotes
// doubled), in the report's code page. Severity and fix are those for the
// server's Windows; `line` is the evidence's line in VoxtraSystemInfo.txt
// (1 for the first), and `server` and `gathered` let the files of several
// servers be put together. New columns go at the end, for the readers of
// the older ones.
#include <string>

#include "report/packed_report.h"

namespace fernwick::report {

inline constexpr const char* kFindingsCsvName = "Findings.csv";

std::string FindingsCsv(const PackedReport& report);

}  // namespace fernwick::report
