#include "report/findings_csv.h"

#include "report/finding_fixes.h"
#include "report/report_utf8.h"

namespace fernwick::report {
namespace {

// The characters a spreadsheet may take as the start of a formula (OWASP),
// and the mark that a ' was added.
bool NeedsTextMark(std::string_view field) {
  return !field.empty() && std::string_view("=+-@\t\r'").find(field.front()) != std::string_view::npos;
}

}  // namespace

std::string CsvField(std::string_view field) {
  const bool marked = NeedsTextMark(field);
  if (!marked && field.find_first_of(",\"\r\n") == std::string_view::npos) return std::string(field);
  std::string out = marked ? "\"'" : "\"";
  for (char c : field) {
    if (c == '"') out += '"';
    out += c;
  }
  return out + '"';
}

std::string FindingsCsv(const PackedReport& report, platform::CodePages& codePages) {
  const ServerIdentity& identity = report.identity;
  const auto utf8 = [&](std::string_view text) { return ReportUtf8(codePages, identity.codePage, text); };
  const std::string server = identity.name.empty() ? std::string(kNotRead) : utf8(identity.name);
  const std::string iso = IsoGathered(identity.gathered);
  const std::string gathered = iso.empty() ? std::string(kNotRead) : iso;
  const std::string codePage = std::to_string(identity.codePage);
  std::string csv(kUtf8ByteOrderMark);
  const bool rechecked = report.Rechecked();
  csv += "id,severity,section,title,evidence,fix,line,server,gathered,code page,explained by";
  csv += rechecked ? ",status\r\n" : "\r\n";
  for (std::size_t i = 0; i < report.findings.size(); ++i) {
    const Finding& finding = report.findings[i];
    const FindingInfo& info = Info(finding.id);
    const FindingForServer here = ForLines(info, identity.windowsFacts, {&finding});
    const std::size_t cause = report.causes.empty() ? kNoCause : report.causes[i];
    const std::string_view explainedBy = cause == kNoCause ? std::string_view() : Info(report.findings[cause].id).name;
    bool first = true;
    for (const std::string& field :
         {std::string(info.name), std::string(SeverityName(here.severity)), std::string(info.section),
          std::string(info.title), utf8(finding.evidence), utf8(here.fix), std::to_string(finding.line + 1), server,
          gathered, codePage, std::string(explainedBy)}) {
      if (!first) csv += ',';
      first = false;
      csv += CsvField(field);
    }
    if (rechecked) {
      csv += ',';
      csv += CsvField(i < report.status.size() ? report.status[i] : std::string());
    }
    csv += "\r\n";
  }
  // The CAB's findings a re-check could not raise again: no line of today's report.
  for (const PackedReport::Unraised& cab : report.unraised) {
    const FindingInfo* info = FindInfo(cab.id);
    const std::string fix = info != nullptr ? utf8(ForServer(*info, identity.windowsFacts).fix) : std::string();
    bool first = true;
    for (const std::string& field : {cab.id, cab.severity, std::string(info != nullptr ? info->section : ""),
                                     std::string(info != nullptr ? info->title : ""), cab.evidence, fix, std::string(),
                                     server, gathered, codePage, std::string(), cab.status}) {
      if (!first) csv += ',';
      first = false;
      csv += CsvField(field);
    }
    csv += "\r\n";
  }
  return csv;
}

}  // namespace fernwick::report
