#include "report/finding_groups.h"

#include <algorithm>
#include <array>
#include <map>
#include <tuple>

#include "common/text.h"

namespace fernwick::report {
namespace {

bool GroupedByText(FindingId id) {
  return id == FindingId::RuntimeError || id == FindingId::WriteToFileError;
}

// Worst first; within a severity the first line first.
void SortGroups(std::vector<FindingGroup>& groups, const PackedReport& report) {
  std::stable_sort(groups.begin(), groups.end(), [&](const FindingGroup& a, const FindingGroup& b) {
    const std::size_t lineA = report.findings[a.members.front()].line;
    const std::size_t lineB = report.findings[b.members.front()].line;
    return std::tie(a.here.severity, lineA) < std::tie(b.here.severity, lineB);
  });
}

}  // namespace

std::vector<FindingGroup> GroupFindings(const PackedReport& report) {
  // Roots first, then the explained ones, keyed by their root's group.
  std::vector<FindingGroup> roots;
  std::vector<std::size_t> groupOf(report.findings.size(), kNoCause);
  std::map<std::tuple<std::size_t, FindingId, std::string>, std::size_t> byKey;  // cause group, id, text
  std::vector<FindingGroup> explained;
  for (const bool rootPass : {true, false}) {
    for (std::size_t i = 0; i < report.findings.size(); ++i) {
      const std::size_t cause = report.causes.empty() ? kNoCause : report.causes[i];
      if ((cause == kNoCause) != rootPass) continue;
      const Finding& finding = report.findings[i];
      const std::size_t causeGroup = rootPass ? kNoCause : groupOf[cause];
      const std::string text = GroupedByText(finding.id) ? Trim(finding.evidence) : std::string();
      auto& into = rootPass ? roots : explained;
      const auto [at, added] = byKey.emplace(std::make_tuple(causeGroup, finding.id, text), into.size());
      if (added) into.push_back({finding.id, {}, {}, causeGroup});
      into[at->second].members.push_back(i);
      if (rootPass) groupOf[i] = at->second;
    }
  }
  for (auto* list : {&roots, &explained}) {
    for (FindingGroup& group : *list) {
      std::vector<const Finding*> lines;
      for (std::size_t i : group.members) lines.push_back(&report.findings[i]);
      group.here = ForLines(Info(group.id), report.identity.windowsFacts, lines);
    }
  }
  // Each root keeps its index in `roots` as the explained ones name it
  // until the final order is known.
  std::vector<std::size_t> rootOrder(roots.size());
  for (std::size_t r = 0; r < roots.size(); ++r) rootOrder[r] = r;
  std::stable_sort(rootOrder.begin(), rootOrder.end(), [&](std::size_t a, std::size_t b) {
    const std::size_t lineA = report.findings[roots[a].members.front()].line;
    const std::size_t lineB = report.findings[roots[b].members.front()].line;
    return std::tie(roots[a].here.severity, lineA) < std::tie(roots[b].here.severity, lineB);
  });
  SortGroups(explained, report);
  std::vector<FindingGroup> groups;
  for (std::size_t r : rootOrder) {
    const std::size_t at = groups.size();
    groups.push_back(roots[r]);
    for (const FindingGroup& group : explained) {
      if (group.cause != r) continue;
      groups.push_back(group);
      groups.back().cause = at;
    }
  }
  return groups;
}

std::string Verdict(const std::vector<FindingGroup>& groups) {
  std::array<std::size_t, 3> counts{};
  std::size_t explained = 0;
  for (const FindingGroup& group : groups) {
    if (group.cause != kNoCause) {
      ++explained;
    } else {
      ++counts[static_cast<std::size_t>(group.here.severity)];
    }
  }
  std::string verdict;
  for (Severity severity : {Severity::Error, Severity::Warning, Severity::Notice}) {
    const std::size_t n = counts[static_cast<std::size_t>(severity)];
    if (!verdict.empty()) verdict += ", ";
    verdict += std::to_string(n) + " " + std::string(SeverityName(severity)) + (n == 1 ? "" : "s");
  }
  if (explained > 0) {
    verdict +=
        " (and " + std::to_string(explained) + (explained == 1 ? " finding" : " findings") + " explained by them)";
  }
  return verdict;
}

std::optional<Severity> WorstSeverity(const std::vector<FindingGroup>& groups) {
  std::optional<Severity> worst;
  for (const FindingGroup& group : groups) {
    if (!worst || group.here.severity < *worst) worst = group.here.severity;
  }
  return worst;
}

}  // namespace fernwick::report
