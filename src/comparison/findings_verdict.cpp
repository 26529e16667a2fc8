#include "comparison/findings_verdict.h"

#include <algorithm>

#include "comparison/report_lines.h"

namespace fernwick::comparison {
namespace {

constexpr std::string_view kRuntimeError = "RUNTIME-ERROR";

// The finding's line in `lines` (0-based): its own number when that line is
// its evidence, else the first line that is.
std::optional<std::size_t> LineOf(const SideFinding& finding, std::span<const std::string> lines) {
  if (finding.line > 0 && finding.line <= lines.size() && lines[finding.line - 1] == finding.evidence) {
    return finding.line - 1;
  }
  const auto at = std::find(lines.begin(), lines.end(), finding.evidence);
  if (at == lines.end()) return std::nullopt;
  return static_cast<std::size_t>(at - lines.begin());
}

bool SameFinding(const SideFinding& a, const SideFinding& b) {
  return a.id == b.id && LineLabel(a.evidence) == LineLabel(b.evidence);
}

// Why the new report cannot tell whether `old` still holds; empty when it
// can (the finding is then resolved).
std::string LostVisibility(const SideFinding& old, std::span<const std::string> oldLines,
                           std::span<const SideFinding> newFindings, std::span<const std::string> newLines) {
  if (newLines.empty()) return "the new CAB holds no report";
  const auto oldSections = Sections(oldLines);
  const auto newSections = Sections(newLines);
  const auto oldLine = LineOf(old, oldLines);
  std::size_t begin = 0, end = newLines.size();
  if (oldLine) {
    const std::string_view title = SectionOf(oldSections, *oldLine);
    const ReportSection* section = FindSection(newSections, title);
    if (section == nullptr) return "the new report has no section \"" + std::string(title) + "\"";
    begin = title == kHeaderSection ? 0 : section->begin - 1;
    end = section->end;
    for (const SideFinding& error : newFindings) {
      if (error.id != kRuntimeError) continue;
      const auto at = LineOf(error, newLines);
      if (at && *at >= begin && *at < end) {
        return "a run-time error in the new report's section \"" + std::string(title) + "\"";
      }
    }
  }
  if (!HasOwnLabel(old.evidence)) return {};
  const std::string label = LineLabel(old.evidence);
  for (std::size_t i = begin; i < end; ++i) {
    if (LineLabel(newLines[i]) == label) return {};
  }
  return "no line \"" + label + "\" in the new report";
}

}  // namespace

int SeverityRank(std::string_view severity) {
  return severity == "error" ? 0 : severity == "warning" ? 1 : severity == "notice" ? 2 : 3;
}

std::vector<FindingRow> CompareFindings(std::span<const SideFinding> oldFindings,
                                        std::span<const SideFinding> newFindings, std::span<const std::string> oldLines,
                                        std::span<const std::string> newLines) {
  std::vector<FindingRow> rows;
  std::vector<bool> matched(newFindings.size(), false);
  for (const SideFinding& old : oldFindings) {
    std::size_t i = 0;
    while (i < newFindings.size() && (matched[i] || !SameFinding(old, newFindings[i]))) ++i;
    if (i < newFindings.size()) {
      matched[i] = true;
      rows.push_back({FindingChange::StillPresent,
                      newFindings[i],
                      old.evidence != newFindings[i].evidence ? old.evidence : std::string(),
                      {}});
      continue;
    }
    std::string why = LostVisibility(old, oldLines, newFindings, newLines);
    rows.push_back({why.empty() ? FindingChange::Resolved : FindingChange::LostVisibility, old, {}, std::move(why)});
  }
  for (std::size_t i = 0; i < newFindings.size(); ++i) {
    if (!matched[i]) rows.push_back({FindingChange::New, newFindings[i], {}, {}});
  }
  std::stable_sort(rows.begin(), rows.end(), [](const FindingRow& a, const FindingRow& b) {
    if (a.change != b.change) return a.change < b.change;
    return SeverityRank(a.finding.severity) < SeverityRank(b.finding.severity);
  });
  return rows;
}

}  // namespace fernwick::comparison
