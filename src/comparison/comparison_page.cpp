// The page of `fernwick --compare --html FILE`: the same blocks as the
// text, one table each, in the look of Summary.htm (HTML 4.01, UTF-8, no
// script), with the old and the new lines in two columns.
#include "comparison/comparison_page.h"

#include "common/text.h"
#include "comparison/report_lines.h"
#include "report/html_text.h"
#include "report/summary_page.h"

namespace fernwick::comparison {
namespace {

using report::HtmlUtf8Text;

std::string Cell(std::string_view text, std::string_view cls = {}) {
  return (cls.empty() ? "<td>" : "<td class=\"" + std::string(cls) + "\">") + HtmlUtf8Text(text) + "</td>";
}

std::string Code(std::string_view text) {
  return "<td><code>" + HtmlUtf8Text(text) + "</code></td>";
}

std::string Header(std::initializer_list<std::string_view> names) {
  std::string row = "<tr>";
  for (const auto name : names) row += "<th>" + HtmlUtf8Text(name) + "</th>";
  return row + "</tr>\r\n";
}

std::string FindingsTable(const Comparison& c) {
  if (!c.findingsCompared) return "<p>Findings not compared.</p>\r\n";
  if (c.findings.empty()) return "<p>No findings in either.</p>\r\n";
  std::string out = "<table summary=\"Findings\">\r\n" + Header({"Change", "Severity", "Id", "Report line", "Note"});
  for (const auto& row : c.findings) {
    const std::string severity = row.finding.severity;
    const bool known = severity == "error" || severity == "warning" || severity == "notice";
    std::string note = row.why;
    if (!row.oldEvidence.empty()) note = "was: " + Trim(row.oldEvidence);
    out += "<tr>" + Cell(ChangeName(row.change)) + Cell(severity, known ? severity : "") + Code(row.finding.id) +
           Code(Trim(row.finding.evidence)) + Cell(note) + "</tr>\r\n";
  }
  return out + "</table>\r\n";
}

std::string IdentityTable(const Comparison& c) {
  std::string out = "<h2>Identity</h2>\r\n<table summary=\"Identity\">\r\n" + Header({"", "OLD", "NEW"});
  auto row = [&](std::string_view what, const std::string& a, const std::string& b) {
    out += "<tr><th>" + HtmlUtf8Text(what) + "</th>" + Cell(a) + Cell(b) + "</tr>\r\n";
  };
  row("Server", c.oldIdentity.name, c.newIdentity.name);
  row("System ID", c.oldIdentity.systemId, c.newIdentity.systemId);
  row("Gathered", c.oldIdentity.gathered, c.newIdentity.gathered);
  row("Fernwick", c.oldIdentity.fernwick, c.newIdentity.fernwick);
  out += "</table>\r\n";
  if (c.secondsApart) out += "<p>Gathered " + HtmlUtf8Text(Duration(*c.secondsApart)) + " apart.</p>\r\n";
  return out;
}

std::string TwoColumns(std::string_view summary, const std::vector<LineChange>& lines) {
  std::string out = "<table summary=\"" + HtmlUtf8Text(summary) + "\">\r\n" + Header({"OLD", "NEW"});
  for (const auto& line : lines) {
    out += "<tr>" + (line.inOld ? Code(line.oldLine) : Cell("")) + (line.inNew ? Code(line.newLine) : Cell("")) +
           "</tr>\r\n";
  }
  return out + "</table>\r\n";
}

std::string ReportTables(const Comparison& c) {
  if (c.report.empty()) return {};
  std::string out = "<h2>Report</h2>\r\n";
  for (const auto& section : c.report) {
    out += "<h3>" + HtmlUtf8Text(section.title) + "</h3>\r\n";
    if (section.presence == SectionPresence::OldOnly)
      out += "<p>Only in OLD: the new report lacks this section.</p>\r\n";
    if (section.presence == SectionPresence::NewOnly) out += "<p>Only in NEW.</p>\r\n";
    if (!section.lines.empty()) out += TwoColumns(section.title, section.lines);
  }
  if (c.volatileLeftOut > 0) {
    out += "<p>" + std::to_string(c.volatileLeftOut) + " changed lines that change on every run are left out.</p>\r\n";
  }
  return out;
}

std::string ImageTable(const Comparison& c) {
  if (c.image.empty()) return {};
  std::string out =
      "<h2>Server image</h2>\r\n<table summary=\"Server image\">\r\n" + Header({"What", "Name", "OLD", "NEW"});
  for (const auto& change : c.image) {
    const std::string what = std::string(ImageFactName(change.kind)) + (!change.inOld   ? " added"
                                                                        : !change.inNew ? " removed"
                                                                                        : " changed");
    out += "<tr>" + Cell(what) + Code(change.name) + "<td><pre>" + HtmlUtf8Text(change.oldValue) +
           "</pre></td><td><pre>" + HtmlUtf8Text(change.newValue) + "</pre></td></tr>\r\n";
  }
  return out + "</table>\r\n";
}

std::string ListTables(const Comparison& c) {
  std::string out;
  if (!c.eventLogs.empty()) {
    out += "<h2>Event logs</h2>\r\n<table summary=\"Event logs\">\r\n" +
           Header({"Log", "Source", "Errors OLD", "Errors NEW", "Warnings OLD", "Warnings NEW", ""});
    for (const auto& e : c.eventLogs) {
      out += "<tr>" + Cell(e.now.log) + Cell(e.now.source) + Cell(std::to_string(e.old.errors)) +
             Cell(std::to_string(e.now.errors)) + Cell(std::to_string(e.old.warnings)) +
             Cell(std::to_string(e.now.warnings)) + Cell(e.newSource ? "new source" : "") + "</tr>\r\n";
    }
    out += "</table>\r\n";
  }
  if (!c.services.empty()) {
    out += "<h2>Services</h2>\r\n<table summary=\"Services\">\r\n" + Header({"Service", "Change"});
    for (const auto& s : c.services) {
      std::string what = s.added ? "only in NEW" : s.removed ? "only in OLD" : "";
      for (const auto& change : s.changes) what += (what.empty() ? "" : "; ") + change;
      out += "<tr>" + Cell(s.name) + Cell(what) + "</tr>\r\n";
    }
    out += "</table>\r\n";
  }
  return out;
}

}  // namespace

std::string ComparisonPage(const Comparison& c, const ComparedSide& oldSide, const ComparedSide& newSide) {
  const std::string name = c.newIdentity.name.empty() ? std::string("?") : c.newIdentity.name;
  std::string page = report::SummaryPageHead("Fernwick comparison: " + name);
  page += "<h1>What changed: " + HtmlUtf8Text(name) + "</h1>\r\n";
  page += "<p>OLD: <code>" + HtmlUtf8Text(oldSide.name) + "</code><br>NEW: <code>" + HtmlUtf8Text(newSide.name) +
          "</code></p>\r\n";
  if (!c.sameServer) page += "<p class=\"verdict error\">Different servers: compared as asked.</p>\r\n";
  const std::string verdict = Trim(VerdictLine(c));
  page += "<p class=\"verdict " + std::string(Differs(c) ? "warning" : "clean") + "\">" + HtmlUtf8Text(verdict) +
          "</p>\r\n";
  page += FindingsTable(c);
  page += IdentityTable(c);
  if (!c.notCompared.empty()) {
    page += "<h2>Not compared</h2>\r\n<ul>\r\n";
    for (const auto& note : c.notCompared) page += "<li>" + HtmlUtf8Text(note) + "</li>\r\n";
    page += "</ul>\r\n";
  }
  page += ReportTables(c);
  page += ImageTable(c);
  page += ListTables(c);
  return page + "</body>\r\n</html>\r\n";
}

}  // namespace fernwick::comparison
