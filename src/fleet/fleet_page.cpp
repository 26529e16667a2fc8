#include "fleet/fleet_page.h"

#include <algorithm>

#include "report/html_text.h"
#include "report/report_heading.h"
#include "report/summary_page.h"

namespace fernwick::fleet {
namespace {

std::string Html(const std::string& utf8) {
  return report::HtmlUtf8Text(utf8);
}

std::string Fact(const std::string& utf8) {
  return utf8.empty() ? "<span class=\"notread\">" + std::string(report::kNotRead) + "</span>" : Html(utf8);
}

std::string Cell(const std::string& html, const std::string& cls = {}) {
  return (cls.empty() ? "<td>" : "<td class=\"" + cls + "\">") + html + "</td>";
}

bool IsSeverity(const std::string& s) {
  return s == "error" || s == "warning" || s == "notice";
}

}  // namespace

std::string FleetPageStart(const FleetTotals& t) {
  std::string page = report::SummaryPageHead("Fernwick fleet");
  page += "<h1>Fernwick fleet</h1>\r\n<p class=\"verdict\">" + std::to_string(t.servers) + " server" +
          (t.servers == 1 ? "" : "s") + " from " + std::to_string(t.cabs) + " CAB" + (t.cabs == 1 ? "" : "s") +
          ", re-checked with today's rules";
  if (t.older > 0) page += "; " + std::to_string(t.older) + " older CABs of these servers left out";
  if (t.unreadable > 0) page += "; " + std::to_string(t.unreadable) + " could not be read";
  page += "</p>\r\n";
  if (t.redacted > 0) {
    page += "<p><b>" +
            (t.redacted == t.servers ? std::string("The fleet is redacted")
                                     : std::to_string(t.redacted) + " of the servers are redacted") +
            "</b>: names and addresses are pseudonyms, and servers compare by them (CABs redacted with one map "
            "are one site).</p>\r\n";
  }
  page += "<p>Ages are counted to " + Html(t.asOf) + ".</p>\r\n";
  return page;
}

std::string ServersStart() {
  return "<h2 id=\"servers\">Servers</h2>\r\n<table summary=\"The servers\">\r\n<tr><th>Worst</th><th>Server</th>"
         "<th>System ID</th><th>Gathered</th><th>Age (days)</th><th>Voxtra</th><th>Windows</th><th>Message "
         "store</th><th>SQL Server</th><th>Fernwick</th><th>Findings</th><th>From</th></tr>\r\n";
}

std::string ServerRow(const FleetServer& s, std::optional<long long> age, const std::string& worst,
                      std::size_t findings) {
  return "<tr>" + Cell(IsSeverity(worst) ? Html(worst) : "none", IsSeverity(worst) ? worst : "clean") +
         Cell("<b>" + Fact(s.name) + "</b><br><code>" + Html(s.cab) + "</code>") + Cell(Fact(s.systemId)) +
         Cell(Fact(s.gathered)) + Cell(age ? std::to_string(*age) : "") + Cell(Fact(s.voxtra)) + Cell(Fact(s.windows)) +
         Cell(Fact(s.store)) + Cell(Fact(s.sql)) + Cell(Fact(s.fernwick)) + Cell(std::to_string(findings)) +
         Cell(Html(s.from)) + "</tr>\r\n";
}

std::string TableEnd() {
  return "</table>\r\n";
}

std::string FindingsByCount(std::vector<FindingCount> counts, std::size_t servers) {
  std::stable_sort(counts.begin(), counts.end(), [](const FindingCount& a, const FindingCount& b) {
    if (a.servers != b.servers) return a.servers > b.servers;
    return a.id < b.id;
  });
  std::string page = "<h2 id=\"findings\">Findings by how many servers have them</h2>\r\n";
  if (counts.empty()) return page + "<p>No server has a finding.</p>\r\n";
  page +=
      "<table summary=\"Findings by count\">\r\n<tr><th></th><th>Finding</th><th>Servers</th><th>Not "
      "evaluable on</th></tr>\r\n";
  for (const FindingCount& c : counts) {
    page += "<tr>" + Cell(Html(c.severity), IsSeverity(c.severity) ? c.severity : "") +
            Cell("<b>" + Html(c.id) + "</b>") + Cell(std::to_string(c.servers) + " of " + std::to_string(servers)) +
            Cell(c.notEvaluable > 0 ? std::to_string(c.notEvaluable) : "") + "</tr>\r\n";
  }
  return page + TableEnd();
}

std::string DifferencesStart() {
  return "<h2 id=\"differences\">Servers that differ from the rest</h2>\r\n<p>On the versions and the settings the "
         "findings read: the value most servers have, and each server with another.</p>\r\n";
}

std::string DifferencesTableStart() {
  return "<table summary=\"Servers that differ\">\r\n<tr><th>Server</th><th>Fact</th><th>Its value</th><th>Most "
         "servers</th></tr>\r\n";
}

std::string DifferenceRow(const std::string& server, const std::string& fact, const std::string& value,
                          const std::string& usual, std::size_t usualCount) {
  return "<tr>" + Cell("<b>" + Fact(server) + "</b>") + Cell(Html(fact)) +
         Cell("<code>" + Fact(value) + "</code>", "warning") +
         Cell("<code>" + Fact(usual) + "</code> (" + std::to_string(usualCount) + " servers)") + "</tr>\r\n";
}

std::string DifferencesEnd(bool any) {
  return any ? TableEnd() : "<p>No server differs from the rest.</p>\r\n";
}

std::string Unreadable(const std::vector<std::pair<std::string, std::string>>& cabs) {
  std::string page = "<h2 id=\"unreadable\">CABs that could not be read</h2>\r\n";
  if (cabs.empty()) return page + "<p>Every CAB was read.</p>\r\n";
  page += "<table summary=\"CABs not read\">\r\n<tr><th>CAB</th><th>Why</th></tr>\r\n";
  for (const auto& [cab, reason] : cabs)
    page += "<tr>" + Cell("<code>" + Html(cab) + "</code>") + Cell(Html(reason)) + "</tr>\r\n";
  return page + TableEnd();
}

std::string FleetPageEnd() {
  return "</body>\r\n</html>\r\n";
}

}  // namespace fernwick::fleet
