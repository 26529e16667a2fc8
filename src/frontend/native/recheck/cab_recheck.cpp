#include "frontend/native/recheck/cab_recheck.h"

#include <map>

#include "common/text.h"
#include "comparison/findings_csv_reader.h"
#include "comparison/recheck_verdict.h"
#include "comparison/report_lines.h"
#include "frontend/native/cabinet_image/cabinet_files.h"
#include "frontend/native/cabinet_image/cabinet_image.h"
#include "platform/image/image_code_pages.h"
#include "report/finding_fixes.h"
#include "report/report_utf8.h"

namespace fernwick::native {

CabFindings ReadCabFindings(const std::string* findingsCsv, const std::string* report) {
  CabFindings cab;
  if (findingsCsv != nullptr) {
    auto rows = comparison::ReadFindingsCsv(*findingsCsv, cab.codePage, [](std::string_view text, std::uint32_t page) {
      image::ImageCodePages pages(page);
      return pages.ToUtf8(text, page);
    });
    if (!rows.error.empty()) {
      cab.error = "Findings.csv: " + rows.error;
    } else {
      if (rows.codePage != 0) cab.codePage = rows.codePage;
      cab.findings = std::move(rows.findings);
      cab.hasFindings = true;
    }
  }
  if (report != nullptr) {
    // Write To File adds one line end to the report it packs.
    std::string_view text = *report;
    if (text.ends_with("\r\n\r\n")) text.remove_suffix(2);
    image::ImageCodePages pages(cab.codePage);
    cab.lines = comparison::TextLines(pages.ToUtf8(text, cab.codePage).value_or(std::string(text)));
  }
  return cab;
}

CabFindings ReadCabFindings(const std::filesystem::path& cabinet) {
  const CabinetFiles files = ReadCabinetFile(
      cabinet,
      [](const std::string& name) {
        return EqualsNoCase(name, "Findings.csv") || EqualsNoCase(name, "VoxtraSystemInfo.txt");
      },
      kImageReadLimit);
  if (!files.error.empty()) {
    CabFindings cab;
    cab.error = files.error;
    return cab;
  }
  const std::string* csv = nullptr;
  const std::string* report = nullptr;
  for (const auto& file : files.files) {
    if (EqualsNoCase(file.name, "Findings.csv") && csv == nullptr) csv = &file.bytes;
    if (EqualsNoCase(file.name, "VoxtraSystemInfo.txt") && report == nullptr) report = &file.bytes;
  }
  return ReadCabFindings(csv, report);
}

std::vector<comparison::SideFinding> SideFindings(const report::PackedReport& report, platform::CodePages& codePages) {
  std::vector<comparison::SideFinding> side;
  for (const report::Finding& finding : report.findings) {
    const auto& info = report::Info(finding.id);
    const auto here = report::ForServer(info, report.identity.windowsFacts);
    side.push_back({std::string(info.name), std::string(report::SeverityName(here.severity)),
                    report::ReportUtf8(codePages, report.identity.codePage, finding.evidence), finding.line + 1});
  }
  return side;
}

void MarkRecheck(report::PackedReport& today, const CabFindings& cab, platform::CodePages& codePages) {
  const auto side = SideFindings(today, codePages);
  std::vector<std::string> lines;
  lines.reserve(today.lines.size());
  for (const std::string& line : today.lines) {
    lines.push_back(report::ReportUtf8(codePages, today.identity.codePage, line));
  }
  const auto rechecked = comparison::RecheckFindings(cab.findings, cab.hasFindings, cab.lines, side, lines);
  today.status.clear();
  for (const auto status : rechecked.statuses) today.status.emplace_back(comparison::StatusName(status));
  today.unraised.clear();
  for (const auto& missing : rechecked.missing) {
    today.unraised.push_back({missing.finding.id, missing.finding.severity, missing.finding.evidence,
                              std::string(comparison::StatusName(missing.status)), missing.why});
  }
  today.rechecked = true;
}

std::string RecheckCounts(const report::PackedReport& today) {
  std::map<std::string, std::size_t> counts;
  for (const auto& status : today.status) ++counts[status];
  for (const auto& cab : today.unraised) ++counts[cab.status];
  std::string text;
  for (const auto& [status, count] : counts) text += (text.empty() ? "" : ", ") + std::to_string(count) + " " + status;
  return text.empty() ? "no finding" : text;
}

}  // namespace fernwick::native
