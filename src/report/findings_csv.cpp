#include "report/findings_csv.h"

#include <string_view>

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

std::string FindingsCsv(const std::vector<Finding>& findings) {
  std::string csv = "id,severity,section,title,evidence,fix\r\n";
  for (const Finding& finding : findings) {
    const FindingInfo& info = Info(finding.id);
    for (std::string_view field : {info.name, SeverityName(info.severity), info.section, info.title,
                                   std::string_view(finding.evidence), info.fix}) {
      AddField(csv, field);
    }
    csv += "\r\n";
  }
  return csv;
}

}  // namespace fernwick::report
