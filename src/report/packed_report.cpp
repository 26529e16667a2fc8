#include "report/packed_report.h"

#include <algorithm>
#include <map>

#include "common/text.h"
#include "report/finding_causes.h"

namespace fernwick::report {

std::vector<std::string> SplitLines(std::string_view text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (start < text.size()) {
    auto end = text.find(kCrLf, start);
    if (end == std::string_view::npos) end = text.size();
    lines.emplace_back(text.substr(start, end - start));
    start = end + kCrLf.size();
  }
  return lines;
}

PackedReport CarryFindings(const ReportBuffer& gathered, std::string_view packed) {
  PackedReport out;
  out.lines = SplitLines(packed);
  out.identity = ReadHeading(out.lines, gathered.CodePage());
  std::vector<Finding> found = gathered.Findings();
  std::stable_sort(found.begin(), found.end(), [](const Finding& a, const Finding& b) { return a.line < b.line; });
  // Each gathered line that carries a finding, in order, is looked for
  // from where the one before it was found: lines added before it move it
  // down, a deleted line is not found again.
  std::map<std::size_t, std::size_t> moved;  // gathered line -> packed line
  std::size_t next = 0;
  for (const Finding& finding : found) {
    if (moved.count(finding.line)) continue;
    const std::string_view text = gathered.Line(finding.line);
    const auto at = std::find(out.lines.begin() + static_cast<std::ptrdiff_t>(std::min(next, out.lines.size())),
                              out.lines.end(), text);
    if (at == out.lines.end()) continue;
    const auto line = static_cast<std::size_t>(at - out.lines.begin());
    moved[finding.line] = line;
    next = line + 1;
  }
  for (const Finding& finding : found) {
    const auto to = moved.find(finding.line);
    if (to == moved.end()) continue;
    Finding carried = finding;
    carried.line = to->second;
    carried.evidence = out.lines[to->second];
    out.findings.push_back(std::move(carried));
  }
  for (std::size_t line = 0; line < out.lines.size(); ++line) {
    if (out.lines[line].starts_with(kWriteToFileErrorStart)) {
      out.findings.push_back({FindingId::WriteToFileError, line, out.lines[line], {}, {}});
    }
  }
  std::stable_sort(out.findings.begin(), out.findings.end(),
                   [](const Finding& a, const Finding& b) { return a.line < b.line; });
  FindCauses(out);
  return out;
}

}  // namespace fernwick::report
