#pragma once
// The native command's findings options: --findings prints the findings as
// a table (the root causes first, each followed by what it explains, as
// Summary.htm lists them) instead of the report and makes the exit code
// tell the worst severity; --findings-csv FILE and --summary FILE write
// Findings.csv and Summary.htm to FILE. All three come from the text Write
// To File packed when it ran (so that the files equal the CAB's), else
// from the gathered report.
#include <optional>
#include <string>

#include "platform/code_pages.h"
#include "report/packed_report.h"

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
  bool Write(const report::PackedReport& report, platform::CodePages& codePages) const;
};

// 0 without findings, else the code of the worst severity (on the server's
// Windows).
int FindingsExitCode(const report::PackedReport& report);
// The aligned table: severity, id (indented under the finding that explains
// it), report line number, the line itself.
std::string FindingsTable(const report::PackedReport& report);

}  // namespace fernwick::native
