#include "report/summary_page.h"

#include <array>
#include <map>

#include "common/text.h"
#include "report/finding_groups.h"
#include "report/html_text.h"
#include "report/report_utf8.h"

namespace fernwick::report {
namespace {

constexpr const char* kHead =
    "<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.01//EN\" \"http://www.w3.org/TR/html4/strict.dtd\">\r\n"
    "<html lang=\"en\">\r\n<head>\r\n"
    "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=utf-8\">\r\n";

// Plain selectors and properties only: the page must look the same in the
// oldest browser of a Windows Server 2003 desk.
constexpr const char* kStyle =
    "<style type=\"text/css\">\r\n"
    "body { font-family: Tahoma, Verdana, Arial, sans-serif; font-size: 10pt; margin: 1em 2em; color: #1a1a1a; "
    "background: #ffffff; }\r\n"
    "h1 { color: #1d3a6b; font-size: 16pt; border-bottom: 2px solid #f2b134; padding-bottom: 0.2em; }\r\n"
    "h2 { color: #1d3a6b; font-size: 12pt; margin-top: 1.5em; }\r\n"
    "table { border-collapse: collapse; }\r\n"
    "th, td { border: 1px solid #c8c8c8; padding: 0.3em 0.6em; vertical-align: top; text-align: left; }\r\n"
    "th { background: #e8edf5; }\r\n"
    "code, pre { font-family: \"Courier New\", Courier, monospace; font-size: 9pt; }\r\n"
    "pre { border: 1px solid #d8d8d8; padding: 0.5em; background: #f8f8f8; }\r\n"
    "p.verdict { font-size: 12pt; font-weight: bold; padding: 0.3em 0.6em; }\r\n"
    ".icon { font-weight: bold; padding: 0 0.4em; }\r\n"
    ".meaning { color: #444444; }\r\n"
    ".error { background: #c62828; color: #ffffff; }\r\n"
    ".warning { background: #f2b134; color: #000000; }\r\n"
    ".notice { background: #1d5fa8; color: #ffffff; }\r\n"
    ".clean { background: #2e7d32; color: #ffffff; }\r\n"
    "td.error, td.warning, td.notice { text-align: center; }\r\n"
    "a.error, a.warning, a.notice { text-decoration: none; }\r\n"
    "a.warning, a.notice { color: #000000; }\r\n"
    "a.warning { background: #fff0c8; }\r\n"
    "a.notice { background: #dde9f8; }\r\n"
    ".notread { color: #767676; font-style: italic; }\r\n"
    "tr.explained td.finding { background: #f4f4f4; padding-left: 2em; }\r\n"
    ".explainedby { color: #444444; font-size: 9pt; }\r\n"
    "</style>\r\n</head>\r\n<body>\r\n";

struct SeverityLook {
  const char* heading;
  const char* icon;
};

constexpr std::array<SeverityLook, 3> kLooks = {{
    {"Errors", "&times;"},
    {"Warnings", "!"},
    {"Notices", "i"},
}};

const SeverityLook& Look(Severity severity) {
  return kLooks[static_cast<std::size_t>(severity)];
}

std::string SeverityClass(Severity severity) {
  return std::string(SeverityName(severity));
}

// Appended, not prefixed: GCC 12 at -O3 warns of an overlap in
// "F" + std::to_string(n) that cannot happen.
std::string Anchor(char kind, std::size_t number) {
  std::string anchor(1, kind);
  anchor += std::to_string(number);
  return anchor;
}

std::string GroupAnchor(std::size_t group) {
  return Anchor('F', group + 1);
}

std::string LineAnchor(std::size_t line) {
  return Anchor('L', line + 1);
}

std::string Cell(const std::string& html) {
  return "<td>" + html + "</td>";
}

// Report text as page text: converted from the report's code page, every
// character kept.
class PageText {
 public:
  PageText(platform::CodePages& codePages, std::uint32_t codePage) : codePages_(codePages), codePage_(codePage) {}
  std::string Utf8(std::string_view text) const { return ReportUtf8(codePages_, codePage_, text); }
  std::string Html(std::string_view text) const { return HtmlUtf8Text(Utf8(text)); }
  // A fact of the heading: "not read" where the report lacks it.
  std::string Fact(std::string_view text) const {
    return text.empty() ? "<span class=\"notread\">" + std::string(kNotRead) + "</span>" : Html(text);
  }

 private:
  platform::CodePages& codePages_;
  std::uint32_t codePage_;
};

void WriteHeading(std::string& page, const PackedReport& report, const std::vector<FindingGroup>& groups,
                  const PageText& text) {
  const ServerIdentity& identity = report.identity;
  const auto worst = WorstSeverity(groups);
  const std::string verdictClass = worst ? SeverityClass(*worst) : "clean";
  page += "<p class=\"verdict " + verdictClass + "\">" + HtmlText(Verdict(groups)) + "</p>\r\n";
  page += "<table summary=\"The server\">\r\n";
  const auto row = [&](const char* label, const std::string& html) {
    page += "<tr><th>" + std::string(label) + "</th>" + Cell(html) + "</tr>\r\n";
  };
  row("Server", text.Fact(identity.name));
  row("Gathered", text.Fact(identity.gathered));
  row("Fernwick version", text.Fact(identity.fernwickVersion));
  row("System ID", text.Fact(identity.systemId));
  row("Voxtra version", text.Fact(identity.version));
  const std::string windowsName = WindowsName(identity.windowsFacts);
  row("Windows version", text.Fact(identity.windows) + (windowsName.empty() ? "" : " (" + HtmlText(windowsName) + ")"));
  row("SQL Server", text.Fact(identity.sqlVersion));
  row("Back end", text.Fact(identity.backEnd));
  row("Partner server", text.Fact(identity.partner));
  page += "</table>\r\n";
}

std::string LineLink(const Finding& finding, const std::string& label) {
  return "<a href=\"#" + LineAnchor(finding.line) + "\">" + label + "</a>";
}

std::string EvidenceCell(const PackedReport& report, const FindingGroup& group, const PageText& text) {
  const Finding& first = report.findings[group.members.front()];
  const bool sameText = group.id == FindingId::RuntimeError || group.id == FindingId::WriteToFileError;
  if (sameText && group.members.size() > 1) {
    std::string cell = "<b>" + std::to_string(group.members.size()) + " times</b>: <code>" +
                       text.Html(Trim(first.evidence)) + "</code><br>lines ";
    for (std::size_t k = 0; k < group.members.size(); ++k) {
      const Finding& finding = report.findings[group.members[k]];
      cell += (k == 0 ? "" : ", ") + LineLink(finding, std::to_string(finding.line + 1));
    }
    return Cell(cell);
  }
  std::string cell;
  for (std::size_t k = 0; k < group.members.size(); ++k) {
    const Finding& finding = report.findings[group.members[k]];
    cell += (k == 0 ? "" : "<br>") + LineLink(finding, "<code>" + text.Html(Trim(finding.evidence)) + "</code>");
  }
  return Cell(cell);
}

// One row: the finding, its lines, its fix; a fix already on the page is
// not repeated but named by the row that has it.
std::string FindingRow(const PackedReport& report, const std::vector<FindingGroup>& groups, std::size_t g,
                       const PageText& text, std::map<std::string, std::size_t>& fixes) {
  const FindingGroup& group = groups[g];
  const FindingInfo& info = Info(group.id);
  const std::string anchor = GroupAnchor(g);
  const bool explained = group.cause != kNoCause;
  std::string finding = "<b>" + HtmlText(info.name) + "</b><br>" + HtmlText(info.title) +
                        "<br><span class=\"meaning\">" + text.Html(group.here.meaning) + "</span>";
  if (explained) {
    const std::string cause = GroupAnchor(group.cause);
    finding = "<span class=\"explainedby\">Explained by <a href=\"#" + cause + "\">" +
              HtmlText(Info(groups[group.cause].id).name) + "</a>:</span><br>" + finding;
  }
  const auto [first, added] = fixes.emplace(group.here.fix, g);
  const std::string fix = added ? text.Html(group.here.fix)
                                : "Same fix as <a href=\"#" + GroupAnchor(first->second) + "\">" +
                                      HtmlText(Info(groups[first->second].id).name) + "</a> above.";
  const std::string severity = SeverityClass(group.here.severity);
  return std::string(explained ? "<tr class=\"explained\">" : "<tr>") + "<td class=\"" + severity + "\"><a id=\"" +
         anchor + "\" name=\"" + anchor + "\">" + Look(group.here.severity).icon + "</a></td><td class=\"finding\">" +
         finding + "</td>" + EvidenceCell(report, group, text) + Cell(fix) + "</tr>\r\n";
}

// A table per severity of the rows no finding explains, each followed by
// the rows it explains.
void WriteFindings(std::string& page, const PackedReport& report, const std::vector<FindingGroup>& groups,
                   const PageText& text) {
  if (groups.empty()) {
    page += "<p>The report carries no finding.</p>\r\n";
    return;
  }
  std::map<std::string, std::size_t> fixes;  // fix text -> the first group that has it
  for (Severity severity : {Severity::Error, Severity::Warning, Severity::Notice}) {
    std::string rows;
    std::size_t count = 0;
    std::size_t explained = 0;
    for (std::size_t g = 0; g < groups.size(); ++g) {
      const FindingGroup& group = groups[g];
      const bool root = group.cause == kNoCause;
      const Severity section = root ? group.here.severity : groups[group.cause].here.severity;
      if (section != severity) continue;
      ++(root ? count : explained);
      rows += FindingRow(report, groups, g, text, fixes);
    }
    if (count == 0) continue;
    page += "<h2><span class=\"icon " + SeverityClass(severity) + "\">" + Look(severity).icon + "</span> " +
            Look(severity).heading + " (" + std::to_string(count) + ")" +
            (explained > 0 ? " with " + std::to_string(explained) + " explained by them" : std::string()) + "</h2>\r\n";
    page += "<table summary=\"" + std::string(Look(severity).heading) +
            " with their report lines and fixes\">\r\n<tr><th></th><th>Finding</th><th>Report "
            "lines</th><th>Fix for this server</th></tr>\r\n" +
            rows + "</table>\r\n";
  }
}

// A re-checked capture: how each finding stands against the CAB's own
// Findings.csv, those that are not simply present listed.
void WriteRecheck(std::string& page, const PackedReport& report, const PageText& text) {
  if (!report.Rechecked()) return;
  std::map<std::string, std::size_t> counts;
  std::string rows;
  const auto row = [&](const std::string& status, std::string_view id, const std::string& evidenceHtml,
                       const std::string& why) {
    ++counts[status];
    if (status == "present") return;
    rows += "<tr>" + Cell(HtmlText(status)) + Cell("<b>" + HtmlText(id) + "</b>") +
            Cell("<code>" + evidenceHtml + "</code>") + Cell(HtmlText(why)) + "</tr>\r\n";
  };
  for (std::size_t i = 0; i < report.findings.size() && i < report.status.size(); ++i) {
    const Finding& finding = report.findings[i];
    row(report.status[i], Info(finding.id).name, text.Html(Trim(finding.evidence)), "");
  }
  for (const PackedReport::Unraised& cab : report.unraised) {
    row(cab.status, cab.id, HtmlUtf8Text(Trim(cab.evidence)), cab.why.empty() ? "" : "the CAB's finding: " + cab.why);
  }
  std::string summary;
  for (const auto& [status, count] : counts)
    summary += (summary.empty() ? "" : ", ") + std::to_string(count) + " " + status;
  page += "<h2 id=\"recheck\">Re-checked with today's rules</h2>\r\n<p>" +
          HtmlText(summary.empty() ? std::string("no finding") : summary) + "</p>\r\n";
  if (rows.empty()) return;
  page +=
      "<table summary=\"Findings not simply present\">\r\n<tr><th>Status</th><th>Finding</th><th>Line</th>"
      "<th>Why</th></tr>\r\n" +
      rows + "</table>\r\n";
}

void WriteReport(std::string& page, const PackedReport& report, const std::vector<FindingGroup>& groups,
                 const PageText& text) {
  // Each marked line links to its first row on the page: a cause's before those it explains.
  std::map<std::size_t, std::size_t> marked;  // line -> group
  for (std::size_t g = groups.size(); g-- > 0;) {
    for (std::size_t i : groups[g].members) marked[report.findings[i].line] = g;
  }
  // One conversion for the whole text: line ends are the same bytes in
  // every code page.
  std::string joined;
  for (const std::string& line : report.lines) joined += line + std::string(kCrLf);
  const std::vector<std::string> lines = SplitLines(text.Utf8(joined));
  page += "<h2 id=\"report\">The report</h2>\r\n<pre>";
  for (std::size_t line = 0; line < lines.size(); ++line) {
    const std::string html = HtmlUtf8Text(lines[line]);
    if (const auto hit = marked.find(line); hit != marked.end()) {
      const std::string anchor = LineAnchor(line);
      page += "<a id=\"" + anchor + "\" name=\"" + anchor + "\" class=\"" +
              SeverityClass(groups[hit->second].here.severity) + "\" href=\"#" + GroupAnchor(hit->second) + "\">" +
              html + "</a>\r\n";
    } else {
      page += html + "\r\n";
    }
  }
  page += "</pre>\r\n";
}

}  // namespace

std::string SummaryPageHead(std::string_view title) {
  return std::string(kHead) + "<title>" + HtmlUtf8Text(title) + "</title>\r\n" + kStyle;
}

std::string SummaryPage(const PackedReport& report, platform::CodePages& codePages) {
  const PageText text(codePages, report.identity.codePage);
  const std::vector<FindingGroup> groups = GroupFindings(report);
  const std::string name = text.Html(report.identity.name);
  std::string page = kHead;
  page += "<title>Fernwick summary: " + name + "</title>\r\n";
  page += kStyle;
  page += "<h1>Fernwick summary: " + name + "</h1>\r\n";
  WriteHeading(page, report, groups, text);
  WriteRecheck(page, report, text);
  WriteFindings(page, report, groups, text);
  WriteReport(page, report, groups, text);
  page += "</body>\r\n</html>\r\n";
  return page;
}

}  // namespace fernwick::report
