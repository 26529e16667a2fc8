#include "comparison/recheck_verdict.h"

#include <map>
#include <set>
#include <unordered_set>
#include <utility>

#include "common/not_in_capture.h"
#include "comparison/report_lines.h"

namespace fernwick::comparison {

std::string_view StatusName(RecheckStatus status) {
  switch (status) {
    case RecheckStatus::Present: return "present";
    case RecheckStatus::NewSinceCab: return "new since the CAB was made";
    case RecheckStatus::NotEvaluable: return "not evaluable";
    case RecheckStatus::NoLongerRaised: return "no longer raised";
  }
  return "";
}

RecheckedFindings RecheckFindings(std::span<const SideFinding> cabFindings, bool cabHasFindings,
                                  std::span<const std::string> cabLines, std::span<const SideFinding> today,
                                  std::span<const std::string> todayLines) {
  RecheckedFindings result;
  result.statuses.assign(today.size(), RecheckStatus::NewSinceCab);
  const auto unanswered = [](const SideFinding& f) { return f.evidence.find(kNotInCapture) != std::string::npos; };
  if (!cabHasFindings) {
    const std::unordered_set<std::string_view> packed(cabLines.begin(), cabLines.end());
    for (std::size_t i = 0; i < today.size(); ++i) {
      result.statuses[i] = unanswered(today[i])                 ? RecheckStatus::NotEvaluable
                           : packed.contains(today[i].evidence) ? RecheckStatus::Present
                                                                : RecheckStatus::NewSinceCab;
    }
    return result;
  }
  // The sections where a question went unanswered: a finding only today's
  // report has there may stand on what the capture could not tell (a check
  // that "did not complete", a location "cannot be determined").
  const auto sections = Sections(todayLines);
  std::set<std::string_view> unansweredSections;
  for (std::size_t i = 0; i < todayLines.size(); ++i) {
    if (todayLines[i].find(kNotInCapture) != std::string::npos) unansweredSections.insert(SectionOf(sections, i));
  }
  const auto inUnansweredSection = [&](const SideFinding& f) {
    return f.line > 0 && f.line <= todayLines.size() && unansweredSections.contains(SectionOf(sections, f.line - 1));
  };
  // Today's findings by id and line, to find each verdict row's own.
  std::map<std::pair<std::string_view, std::size_t>, std::size_t> index;
  for (std::size_t i = 0; i < today.size(); ++i)
    index.emplace(std::pair{std::string_view(today[i].id), today[i].line}, i);
  for (FindingRow& row : CompareFindings(cabFindings, today, cabLines, todayLines)) {
    if (row.change == FindingChange::LostVisibility || row.change == FindingChange::Resolved) {
      const bool lost = row.change == FindingChange::LostVisibility;
      result.missing.push_back({lost ? RecheckStatus::NotEvaluable : RecheckStatus::NoLongerRaised,
                                std::move(row.finding), std::move(row.why)});
      continue;
    }
    const auto at = index.find({row.finding.id, row.finding.line});
    if (at == index.end()) continue;
    const bool present = row.change == FindingChange::StillPresent;
    result.statuses[at->second] = unanswered(row.finding) || (!present && inUnansweredSection(row.finding))
                                      ? RecheckStatus::NotEvaluable
                                  : present ? RecheckStatus::Present
                                            : RecheckStatus::NewSinceCab;
  }
  return result;
}

}  // namespace fernwick::comparison
