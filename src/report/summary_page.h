#pragma once
// Summary.htm: one self-contained page (no scripts, no other files) with the
// server's identity, the findings grouped by severity with their fixes, and
// the whole report below with each finding's line marked and linked. HTML
// 4.01 in the report's code page, so that the browsers of old server desks
// show it as well as current ones.
#include <string>

#include "report/report_buffer.h"

namespace fernwick::report {

inline constexpr const char* kSummaryPageName = "Summary.htm";

std::string SummaryPage(const ReportBuffer& report);

}  // namespace fernwick::report
