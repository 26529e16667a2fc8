#include "comparison/findings_verdict.h"

#include <algorithm>
#include <deque>
#include <map>
#include <string_view>
#include <unordered_map>

#include "comparison/report_lines.h"
#include "common/not_in_capture.h"

namespace fernwick::comparison {
namespace {

constexpr std::string_view kRuntimeError = "RUNTIME-ERROR";

// A report with what the verdict looks up in it, made once: its sections,
// the first line of each text, and the lines of each label.
class IndexedReport {
 public:
  explicit IndexedReport(std::span<const std::string> lines) : lines_(lines), sections_(Sections(lines)) {
    for (std::size_t i = 0; i < lines.size(); ++i) {
      first_.emplace(lines[i], i);
      labels_[LineLabel(lines[i])].push_back(i);
    }
  }

  std::span<const std::string> Lines() const { return lines_; }
  const std::vector<ReportSection>& SectionList() const { return sections_; }

  // The finding's line (0-based): its own number when that line is its
  // evidence, else the first line that is.
  std::optional<std::size_t> LineOf(const SideFinding& finding) const {
    if (finding.line > 0 && finding.line <= lines_.size() && lines_[finding.line - 1] == finding.evidence) {
      return finding.line - 1;
    }
    const auto at = first_.find(finding.evidence);
    if (at == first_.end()) return std::nullopt;
    return at->second;
  }

  // Whether a line of `label` stands in [begin, end).
  bool HasLabel(const std::string& label, std::size_t begin, std::size_t end) const {
    const auto at = labels_.find(label);
    if (at == labels_.end()) return false;
    const auto line = std::lower_bound(at->second.begin(), at->second.end(), begin);
    return line != at->second.end() && *line < end;
  }

 private:
  std::span<const std::string> lines_;
  std::vector<ReportSection> sections_;
  std::unordered_map<std::string_view, std::size_t> first_;
  std::map<std::string, std::vector<std::size_t>> labels_;
};

// Why the new report cannot tell whether `old` still holds; empty when it
// can (the finding is then resolved). `errors` are the lines of the new
// report's run-time errors, in order.
std::string LostVisibility(const SideFinding& old, const IndexedReport& before, const IndexedReport& after,
                           const std::vector<std::size_t>& errors) {
  if (after.Lines().empty()) return "the new CAB holds no report";
  std::size_t begin = 0, end = after.Lines().size();
  if (const auto oldLine = before.LineOf(old)) {
    const std::string_view title = SectionOf(before.SectionList(), *oldLine);
    const ReportSection* section = FindSection(after.SectionList(), title);
    if (section == nullptr) return "the new report has no section \"" + std::string(title) + "\"";
    begin = title == kHeaderSection ? 0 : section->begin - 1;
    end = section->end;
    const auto error = std::lower_bound(errors.begin(), errors.end(), begin);
    if (error != errors.end() && *error < end) {
      if (after.Lines()[*error].find(kNotInCapture) != std::string::npos) {
        return "a question the capture cannot answer in the new report's section \"" + std::string(title) + "\"";
      }
      return "a run-time error in the new report's section \"" + std::string(title) + "\"";
    }
  }
  if (!HasOwnLabel(old.evidence)) return {};
  const std::string label = LineLabel(old.evidence);
  return after.HasLabel(label, begin, end) ? std::string() : "no line \"" + label + "\" in the new report";
}

}  // namespace

std::string_view ChangeName(FindingChange change) {
  switch (change) {
    case FindingChange::New: return "new";
    case FindingChange::LostVisibility: return "lost visibility";
    case FindingChange::Resolved: return "resolved";
    case FindingChange::StillPresent: return "still present";
  }
  return "";
}

int SeverityRank(std::string_view severity) {
  return severity == "error" ? 0 : severity == "warning" ? 1 : severity == "notice" ? 2 : 3;
}

std::vector<FindingRow> CompareFindings(std::span<const SideFinding> oldFindings,
                                        std::span<const SideFinding> newFindings, std::span<const std::string> oldLines,
                                        std::span<const std::string> newLines) {
  const IndexedReport before(oldLines), after(newLines);
  std::vector<std::size_t> errors;
  for (const SideFinding& finding : newFindings) {
    if (finding.id != kRuntimeError) continue;
    if (const auto line = after.LineOf(finding)) errors.push_back(*line);
  }
  // A re-checked capture's unanswered questions hide what they would have told.
  for (std::size_t i = 0; i < newLines.size(); ++i) {
    if (newLines[i].find(kNotInCapture) != std::string::npos) errors.push_back(i);
  }
  std::sort(errors.begin(), errors.end());
  // The new findings not matched yet, by id and label, in their order.
  std::map<std::pair<std::string, std::string>, std::deque<std::size_t>> unmatched;
  for (std::size_t i = 0; i < newFindings.size(); ++i) {
    unmatched[{newFindings[i].id, LineLabel(newFindings[i].evidence)}].push_back(i);
  }
  std::vector<bool> matched(newFindings.size(), false);
  std::vector<FindingRow> rows;
  for (const SideFinding& old : oldFindings) {
    auto& candidates = unmatched[{old.id, LineLabel(old.evidence)}];
    if (!candidates.empty()) {
      const SideFinding& now = newFindings[candidates.front()];
      matched[candidates.front()] = true;
      candidates.pop_front();
      rows.push_back(
          {FindingChange::StillPresent, now, old.evidence != now.evidence ? old.evidence : std::string(), {}});
      continue;
    }
    std::string why = LostVisibility(old, before, after, errors);
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
