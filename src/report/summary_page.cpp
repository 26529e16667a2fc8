#include "report/summary_page.h"

#include <algorithm>
#include <array>
#include <map>

#include "common/text.h"
#include "report/html_text.h"

namespace fernwick::report {
namespace {

constexpr const char* kHead =
    "<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.01//EN\" \"http://www.w3.org/TR/html4/strict.dtd\">\r\n"
    "<html lang=\"en\">\r\n<head>\r\n"
    "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=windows-1252\">\r\n";

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
    ".icon { font-weight: bold; padding: 0 0.4em; }\r\n"
    ".error { background: #c62828; color: #ffffff; }\r\n"
    ".warning { background: #f2b134; color: #000000; }\r\n"
    ".notice { background: #1d5fa8; color: #ffffff; }\r\n"
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

std::string FindingAnchor(std::size_t index) {
  return Anchor('F', index + 1);
}

std::string LineAnchor(std::size_t line) {
  return Anchor('L', line + 1);
}

std::string Cell(const std::string& html) {
  return "<td>" + html + "</td>";
}

void WriteIdentity(std::string& page, const ServerIdentity& identity, const std::vector<Finding>& findings) {
  std::array<std::size_t, 3> counts{};
  for (const Finding& finding : findings) ++counts[static_cast<std::size_t>(Info(finding.id).severity)];
  page += "<table summary=\"The server\">\r\n";
  page += "<tr><th>Server</th>" + Cell(HtmlText(identity.name)) + "</tr>\r\n";
  page += "<tr><th>Voxtra version</th>" + Cell(HtmlText(identity.version)) + "</tr>\r\n";
  page += "<tr><th>Back end</th>" + Cell(HtmlText(identity.backEnd)) + "</tr>\r\n";
  const auto count = [&](Severity severity) {
    const std::size_t n = counts[static_cast<std::size_t>(severity)];
    return std::to_string(n) + " " + SeverityClass(severity) + (n == 1 ? "" : "s");
  };
  page += "<tr><th>Findings</th>" +
          Cell(count(Severity::Error) + ", " + count(Severity::Warning) + ", " + count(Severity::Notice)) +
          "</tr>\r\n</table>\r\n";
}

void WriteFindings(std::string& page, const std::vector<Finding>& findings) {
  if (findings.empty()) {
    page += "<p>The report carries no finding.</p>\r\n";
    return;
  }
  for (Severity severity : {Severity::Error, Severity::Warning, Severity::Notice}) {
    std::string rows;
    std::size_t count = 0;
    for (std::size_t i = 0; i < findings.size(); ++i) {
      const FindingInfo& info = Info(findings[i].id);
      if (info.severity != severity) continue;
      ++count;
      const std::string anchor = FindingAnchor(i);
      rows += "<tr><td class=\"" + SeverityClass(severity) + "\"><a id=\"" + anchor + "\" name=\"" + anchor + "\">" +
              Look(severity).icon + "</a></td>" +
              Cell("<b>" + HtmlText(info.name) + "</b><br>" + HtmlText(info.title)) +
              Cell("<a href=\"#" + LineAnchor(findings[i].line) + "\"><code>" + HtmlText(Trim(findings[i].evidence)) +
                   "</code></a>") +
              Cell(HtmlText(info.fix)) + "</tr>\r\n";
    }
    if (count == 0) continue;
    page += "<h2><span class=\"icon " + SeverityClass(severity) + "\">" + Look(severity).icon + "</span> " +
            Look(severity).heading + " (" + std::to_string(count) + ")</h2>\r\n";
    page += "<table summary=\"" + std::string(Look(severity).heading) +
            " with their report lines and fixes\">\r\n<tr><th></th><th>Finding</th><th>Report "
            "line</th><th>Fix</th></tr>\r\n" +
            rows + "</table>\r\n";
  }
}

void WriteReport(std::string& page, const ReportBuffer& report) {
  // Each marked line links to its worst finding (the first one of it).
  std::map<std::size_t, std::size_t> marked;
  const auto& findings = report.Findings();
  for (std::size_t i = 0; i < findings.size(); ++i) {
    const auto [at, added] = marked.emplace(findings[i].line, i);
    if (!added && Info(findings[i].id).severity < Info(findings[at->second].id).severity) at->second = i;
  }
  page += "<h2 id=\"report\">The report</h2>\r\n<pre>";
  const std::string_view text = report.Text();
  std::size_t line = 0;
  for (std::size_t start = 0; start < text.size(); ++line) {
    auto end = text.find(kCrLf, start);
    if (end == std::string_view::npos) end = text.size();
    const std::string html = HtmlText(text.substr(start, end - start));
    if (const auto hit = marked.find(line); hit != marked.end()) {
      const std::string anchor = LineAnchor(line);
      page += "<a id=\"" + anchor + "\" name=\"" + anchor + "\" class=\"" +
              SeverityClass(Info(findings[hit->second].id).severity) + "\" href=\"#" + FindingAnchor(hit->second) +
              "\">" + html + "</a>\r\n";
    } else {
      page += html + "\r\n";
    }
    start = end + kCrLf.size();
  }
  page += "</pre>\r\n";
}

}  // namespace

std::string SummaryPage(const ReportBuffer& report) {
  const ServerIdentity& identity = report.Identity();
  std::string page = kHead;
  page += "<title>Fernwick summary: " + HtmlText(identity.name) + "</title>\r\n";
  page += kStyle;
  page += "<h1>Fernwick summary: " + HtmlText(identity.name) + "</h1>\r\n";
  WriteIdentity(page, identity, report.Findings());
  WriteFindings(page, report.Findings());
  WriteReport(page, report);
  page += "</body>\r\n</html>\r\n";
  return page;
}

}  // namespace fernwick::report
