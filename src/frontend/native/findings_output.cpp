#include "frontend/native/findings_output.h"

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <vector>

#include "common/text.h"
#include "report/finding_fixes.h"
#include "report/findings_csv.h"
#include "report/packed_report.h"
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

report::Severity SeverityHere(const report::ReportBuffer& report, const report::Finding& finding) {
  return report::ForServer(report::Info(finding.id), report.Identity().windowsFacts).severity;
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

bool FindingsOptions::Write(const report::ReportBuffer& report, platform::CodePages& codePages) const {
  bool written = true;
  if (table) std::fputs(FindingsTable(report).c_str(), stdout);
  // The report printed is the gathered text, unchanged.
  const report::PackedReport printed = report::CarryFindings(report, report.Text());
  if (!csvFile.empty()) written = WriteFile(csvFile, report::FindingsCsv(printed)) && written;
  if (!summaryFile.empty()) written = WriteFile(summaryFile, report::SummaryPage(printed, codePages)) && written;
  return written;
}

int FindingsExitCode(const report::ReportBuffer& report) {
  if (report.Findings().empty()) return 0;
  report::Severity worst = report::Severity::Notice;
  for (const auto& finding : report.Findings()) worst = std::min(worst, SeverityHere(report, finding));
  switch (worst) {
    case report::Severity::Error: return kExitErrors;
    case report::Severity::Warning: return kExitWarnings;
    case report::Severity::Notice: break;
  }
  return kExitNotices;
}

std::string FindingsTable(const report::ReportBuffer& report) {
  std::vector<const report::Finding*> rows;
  for (const auto& finding : report.Findings()) rows.push_back(&finding);
  std::stable_sort(rows.begin(), rows.end(),
                   [&](const auto* a, const auto* b) { return SeverityHere(report, *a) < SeverityHere(report, *b); });
  std::size_t idWidth = 2;
  for (const auto* row : rows) idWidth = std::max(idWidth, report::Info(row->id).name.size());
  std::string table = Padded("SEVERITY", 9) + Padded("ID", idWidth + 1) + " LINE  EVIDENCE\n";
  for (const auto* row : rows) {
    const auto& info = report::Info(row->id);
    const std::string line = std::to_string(row->line + 1);
    table += Padded(report::SeverityName(SeverityHere(report, *row)), 9) + Padded(info.name, idWidth + 1) +
             std::string(5 - std::min<std::size_t>(5, line.size()), ' ') + line + "  " + Trim(row->evidence) + "\n";
  }
  return table;
}

}  // namespace fernwick::native
