#include "report/summary_page.h"

#include <array>
#include <map>

#include "common/ansi_code_page.h"
#include "common/text.h"
#include "report/finding_groups.h"
#include "report/html_text.h"

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
  std::string Utf8(std::string_view text) const {
    if (auto converted = codePages_.ToUtf8(text, codePage_)) return *std::move(converted);
    return AnsiToUtf8(text);  // a code page the system does not know: read as Western
  }
  std::string Html(std::string_view text) const { return HtmlUtf8Text(Utf8(text)); }

 private:
  platform::CodePages& codePages_;
  std::uint32_t codePage_;
};

void WriteHeading(std::string& page, const PackedReport& report, const std::vector<FindingGroup>& groups,
                  const PageText& text) {
  const ServerIdentity& identity = report.identity;
  const std::string verdictClass = groups.empty() ? "clean" : SeverityClass(groups.front().severity);
  page += "<p class=\"verdict " + verdictClass + "\">" + HtmlText(Verdict(groups)) + "</p>\r\n";
  page += "<table summary=\"The server\">\r\n";
  const auto row = [&](const char* label, const std::string& html) {
    page += "<tr><th>" + std::string(label) + "</th>" + Cell(html) + "</tr>\r\n";
  };
  row("Server", text.Html(identity.name));
  row("Gathered", text.Html(identity.gathered));
  row("Fernwick version", text.Html(identity.fernwickVersion));
  row("System ID", text.Html(identity.systemId));
  row("Voxtra version", text.Html(identity.version));
  const std::string windowsName = WindowsName(identity.windowsFacts);
  row("Windows version", text.Html(identity.windows) + (windowsName.empty() ? "" : " (" + HtmlText(windowsName) + ")"));
  row("SQL Server", text.Html(identity.sqlVersion));
  row("Back end", text.Html(identity.backEnd));
  row("Partner server", text.Html(identity.partner));
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

void WriteFindings(std::string& page, const PackedReport& report, const std::vector<FindingGroup>& groups,
                   const PageText& text) {
  if (groups.empty()) {
    page += "<p>The report carries no finding.</p>\r\n";
    return;
  }
  for (Severity severity : {Severity::Error, Severity::Warning, Severity::Notice}) {
    std::string rows;
    std::size_t count = 0;
    for (std::size_t g = 0; g < groups.size(); ++g) {
      const FindingGroup& group = groups[g];
      if (group.severity != severity) continue;
      ++count;
      const FindingInfo& info = Info(group.id);
      const std::string anchor = GroupAnchor(g);
      rows += "<tr><td class=\"" + SeverityClass(severity) + "\"><a id=\"" + anchor + "\" name=\"" + anchor + "\">" +
              Look(severity).icon + "</a></td>" +
              Cell("<b>" + HtmlText(info.name) + "</b><br>" + HtmlText(info.title) + "<br><span class=\"meaning\">" +
                   HtmlText(info.meaning) + "</span>") +
              EvidenceCell(report, group, text) + Cell(text.Html(group.fix)) + "</tr>\r\n";
    }
    if (count == 0) continue;
    page += "<h2><span class=\"icon " + SeverityClass(severity) + "\">" + Look(severity).icon + "</span> " +
            Look(severity).heading + " (" + std::to_string(count) + ")</h2>\r\n";
    page += "<table summary=\"" + std::string(Look(severity).heading) +
            " with their report lines and fixes\">\r\n<tr><th></th><th>Finding</th><th>Report "
            "lines</th><th>Fix for this server</th></tr>\r\n" +
            rows + "</table>\r\n";
  }
}

void WriteReport(std::string& page, const PackedReport& report, const std::vector<FindingGroup>& groups,
                 const PageText& text) {
  // Each marked line links to its worst finding's row (groups are worst first).
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
              SeverityClass(groups[hit->second].severity) + "\" href=\"#" + GroupAnchor(hit->second) + "\">" + html +
              "</a>\r\n";
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
  WriteFindings(page, report, groups, text);
  WriteReport(page, report, groups, text);
  page += "</body>\r\n</html>\r\n";
  return page;
}

}  // namespace fernwick::report
