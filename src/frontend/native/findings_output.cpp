#include "frontend/native/findings_output.h"

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <vector>

#include "common/text.h"
#include "report/finding_groups.h"
#include "report/findings_csv.h"
#include "report/summary_page.h"

namespace fernwick::native {
namespace {

bool WriteFile(const std::string& path, const std::string& content) {
  std::ofstream out(path, std::ios::binary);
  out << content;
  out.close();
  if (out) return true;
  std::fprintf(stderr, "fernwick: cannot write %s\n", path.c_str());
  return false;
}

std::string Padded(std::string_view text, std::size_t width) {
  std::string out(text);
  out.resize(std::max(width, text.size()), ' ');
  return out;
}

}  // namespace

std::optional<int> FindingsOptions::Take(const std::string& arg, const char* next) {
  std::string* file = arg == "--findings-csv" ? &csvFile : arg == "--summary" ? &summaryFile : nullptr;
  if (arg == "--findings") {
    table = true;
    return 0;
  }
  if (file == nullptr) return std::nullopt;
  if (next == nullptr) return -1;
  *file = next;
  return 1;
}

bool FindingsOptions::Write(const report::PackedReport& report, platform::CodePages& codePages) const {
  bool written = true;
  if (table) std::fputs(FindingsTable(report).c_str(), stdout);
  if (!csvFile.empty()) written = WriteFile(csvFile, report::FindingsCsv(report, codePages)) && written;
  if (!summaryFile.empty()) written = WriteFile(summaryFile, report::SummaryPage(report, codePages)) && written;
  return written;
}

int FindingsExitCode(const report::PackedReport& report) {
  const auto worst = report::WorstSeverity(report::GroupFindings(report));
  if (!worst) return 0;
  switch (*worst) {
    case report::Severity::Error: return kExitErrors;
    case report::Severity::Warning: return kExitWarnings;
    case report::Severity::Notice: break;
  }
  return kExitNotices;
}

std::string FindingsTable(const report::PackedReport& report) {
  const std::vector<report::FindingGroup> groups = report::GroupFindings(report);
  constexpr std::string_view kIndent = "  ";  // a finding explained by the one above
  std::size_t idWidth = 2;
  for (const auto& group : groups) idWidth = std::max(idWidth, kIndent.size() + report::Info(group.id).name.size());
  std::string table = Padded("SEVERITY", 9) + Padded("ID", idWidth + 1) + " LINE  EVIDENCE\n";
  for (const auto& group : groups) {
    const std::string id =
        std::string(group.cause == report::kNoCause ? "" : kIndent) + std::string(report::Info(group.id).name);
    for (std::size_t i : group.members) {
      const report::Finding& row = report.findings[i];
      const std::string line = std::to_string(row.line + 1);
      table += Padded(report::SeverityName(group.here.severity), 9) + Padded(id, idWidth + 1) +
               std::string(5 - std::min<std::size_t>(5, line.size()), ' ') + line + "  " + Trim(row.evidence) + "\n";
    }
  }
  return table;
}

}  // namespace fernwick::native
