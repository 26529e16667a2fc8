#include "report/finding_groups.h"

#include <algorithm>
#include <array>
#include <map>

#include "common/text.h"

namespace fernwick::report {
namespace {

bool GroupedByText(FindingId id) {
  return id == FindingId::RuntimeError || id == FindingId::WriteToFileError;
}

}  // namespace

std::vector<FindingGroup> GroupFindings(const PackedReport& report) {
  std::vector<FindingGroup> groups;
  std::map<std::pair<FindingId, std::string>, std::size_t> byKey;
  for (std::size_t i = 0; i < report.findings.size(); ++i) {
    const Finding& finding = report.findings[i];
    const std::string text = GroupedByText(finding.id) ? Trim(finding.evidence) : std::string();
    const auto [at, added] = byKey.emplace(std::make_pair(finding.id, text), groups.size());
    if (added) groups.push_back({finding.id, {}, {}, {}});
    groups[at->second].members.push_back(i);
  }
  for (FindingGroup& group : groups) {
    const FindingForServer here = ForServer(Info(group.id), report.identity.windowsFacts);
    std::vector<std::pair<std::string, std::string>> named;
    for (std::size_t i : group.members) named.emplace_back(report.findings[i].process, report.findings[i].value);
    group.severity = here.severity;
    group.fix = FixNaming(here.fix, named);
  }
  std::stable_sort(groups.begin(), groups.end(),
                   [](const FindingGroup& a, const FindingGroup& b) { return a.severity < b.severity; });
  return groups;
}

std::string Verdict(const std::vector<FindingGroup>& groups) {
  std::array<std::size_t, 3> counts{};
  for (const FindingGroup& group : groups) ++counts[static_cast<std::size_t>(group.severity)];
  std::string verdict;
  for (Severity severity : {Severity::Error, Severity::Warning, Severity::Notice}) {
    const std::size_t n = counts[static_cast<std::size_t>(severity)];
    if (!verdict.empty()) verdict += ", ";
    verdict += std::to_string(n) + " " + std::string(SeverityName(severity)) + (n == 1 ? "" : "s");
  }
  return verdict;
}

}  // namespace fernwick::report
