#pragma once
// Report text as UTF-8, for the files that declare it (Summary.htm,
// Findings.csv): converted from the report's code page, every character
// kept.
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/code_pages.h"

namespace fernwick::report {

// `text` of `codePage` as UTF-8; text of a code page the system does not
// know is read as Western (1252).
std::string ReportUtf8(platform::CodePages& codePages, std::uint32_t codePage, std::string_view text);

}  // namespace fernwick::report
