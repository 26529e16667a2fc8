#pragma once
// Findings.csv: one row per finding in report order, under a header row;
// RFC 4180 (CRLF, fields with a comma, quote or line end quoted, quotes
// doubled), in the report's code page.
#include <string>
#include <vector>

#include "report/report_buffer.h"

namespace fernwick::report {

inline constexpr const char* kFindingsCsvName = "Findings.csv";

std::string FindingsCsv(const std::vector<Finding>& findings);

}  // namespace fernwick::report
