#pragma once
// The native command's findings options: --findings prints the findings as
// a table (errors first) instead of the report and makes the exit code tell
// the worst severity; --findings-csv FILE and --summary FILE write
// Findings.csv and Summary.htm to FILE.
#include <optional>
#include <string>

#include "platform/code_pages.h"
#include "report/report_buffer.h"

namespace fernwick::native {

inline constexpr int kExitNotices = 10;
inline constexpr int kExitWarnings = 11;
inline constexpr int kExitErrors = 12;

struct FindingsOptions {
  bool table = false;
  std::string csvFile;
  std::string summaryFile;

  // How many arguments after `arg` it takes (0 or 1); nullopt when `arg` is
  // none of these options, -1 when its file is missing.
  std::optional<int> Take(const std::string& arg, const char* next);
  // Writes what was asked for; false (with a message on standard error)
  // when a file cannot be written.
  bool Write(const report::ReportBuffer& report, platform::CodePages& codePages) const;
};

// 0 without findings, else the code of the worst severity (on the server's
// Windows).
int FindingsExitCode(const report::ReportBuffer& report);
// The aligned table: severity, id, report line number, the line itself.
std::string FindingsTable(const report::ReportBuffer& report);

}  // namespace fernwick::native
