#pragma once
// Summary.htm: one self-contained page (no scripts, no other files) that
// leads with the server (who, when, which Windows and SQL Server, partner)
// and a verdict, then one row per finding with its meaning, its fix for this
// server and links to its lines, and last the whole packed report with each
// finding's line marked. HTML 4.01 in UTF-8, converted from the report's
// code page (whichever the server uses), so that the browsers of old
// server desks show it as well as current ones.
#include <string>
#include <string_view>

#include "platform/code_pages.h"
#include "report/packed_report.h"

namespace fernwick::report {

inline constexpr const char* kSummaryPageName = "Summary.htm";

std::string SummaryPage(const PackedReport& report, platform::CodePages& codePages);

// The page's head up to and with <body>: its doctype, UTF-8, `title` and
// style, for other pages that look like it.
std::string SummaryPageHead(std::string_view title);

}  // namespace fernwick::report
