#include "report/findings_csv.h"

#include <string_view>

#include "report/finding_fixes.h"

namespace fernwick::report {
namespace {

void AddField(std::string& row, std::string_view field) {
  if (!row.empty() && row.back() != '\n') row += ',';
  if (field.find_first_of(",\"\r\n") == std::string_view::npos) {
    row += field;
    return;
  }
  row += '"';
  for (char c : field) {
    if (c == '"') row += '"';
    row += c;
  }
  row += '"';
}

}  // namespace

std::string FindingsCsv(const PackedReport& report) {
  std::string csv = "id,severity,section,title,evidence,fix,line,server,gathered\r\n";
  for (const Finding& finding : report.findings) {
    const FindingInfo& info = Info(finding.id);
    const FindingForServer here = ForServer(info, report.identity.windowsFacts);
    const std::string fix = FixNaming(here.fix, {{finding.process, finding.value}});
    const std::string line = std::to_string(finding.line + 1);
    for (std::string_view field :
         {info.name, SeverityName(here.severity), info.section, info.title, std::string_view(finding.evidence),
          std::string_view(fix), std::string_view(line), std::string_view(report.identity.name),
          std::string_view(report.identity.gathered)}) {
      AddField(csv, field);
    }
    csv += "\r\n";
  }
  return csv;
}

}  // namespace fernwick::report
