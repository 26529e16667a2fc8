#include "comparison/report_changes.h"

#include <algorithm>
#include <cstdint>

#include "comparison/report_lines.h"
#include "comparison/volatile_lines.h"

namespace fernwick::comparison {
namespace {

struct Run {
  std::vector<std::string_view> removed, added;
};

// Pairs the removed and added lines of one run of differences by label, in
// order; the others stay alone.
void AddRun(const Run& run, std::vector<LineChange>& out) {
  std::vector<bool> paired(run.added.size(), false);
  std::size_t from = 0;
  for (const auto removed : run.removed) {
    const std::string label = LineLabel(removed);
    std::size_t match = from;
    while (match < run.added.size() && (paired[match] || LineLabel(run.added[match]) != label)) ++match;
    LineChange change;
    change.oldLine = removed;
    change.inOld = true;
    if (match < run.added.size()) {
      paired[match] = true;
      from = match + 1;
      change.newLine = run.added[match];
      change.inNew = true;
      change.isVolatile = IsVolatileChange(change.oldLine, change.newLine);
    }
    out.push_back(std::move(change));
  }
  for (std::size_t i = 0; i < run.added.size(); ++i) {
    if (paired[i]) continue;
    LineChange change;
    change.newLine = run.added[i];
    change.inNew = true;
    out.push_back(std::move(change));
  }
}

// The matched pairs (old index, new index) of a longest common subsequence.
std::vector<std::pair<std::size_t, std::size_t>> Matches(std::span<const std::string> a,
                                                         std::span<const std::string> b) {
  std::vector<std::pair<std::size_t, std::size_t>> matches;
  if (a.empty() || b.empty() || a.size() * b.size() > kMaxMatchedCells) return matches;
  const std::size_t width = b.size() + 1;
  std::vector<std::uint32_t> length((a.size() + 1) * width, 0);
  for (std::size_t i = a.size(); i-- > 0;) {
    for (std::size_t j = b.size(); j-- > 0;) {
      length[i * width + j] = a[i] == b[j] ? length[(i + 1) * width + j + 1] + 1
                                           : std::max(length[(i + 1) * width + j], length[i * width + j + 1]);
    }
  }
  for (std::size_t i = 0, j = 0; i < a.size() && j < b.size();) {
    if (a[i] == b[j]) {
      matches.emplace_back(i++, j++);
    } else if (length[(i + 1) * width + j] >= length[i * width + j + 1]) {
      ++i;
    } else {
      ++j;
    }
  }
  return matches;
}

}  // namespace

std::vector<LineChange> CompareLines(std::span<const std::string> oldLines, std::span<const std::string> newLines) {
  std::size_t head = 0;
  while (head < oldLines.size() && head < newLines.size() && oldLines[head] == newLines[head]) ++head;
  std::size_t tail = 0;
  while (tail < oldLines.size() - head && tail < newLines.size() - head &&
         oldLines[oldLines.size() - 1 - tail] == newLines[newLines.size() - 1 - tail]) {
    ++tail;
  }
  const auto a = oldLines.subspan(head, oldLines.size() - head - tail);
  const auto b = newLines.subspan(head, newLines.size() - head - tail);
  std::vector<LineChange> out;
  Run run;
  std::size_t i = 0, j = 0;
  auto flush = [&] {
    AddRun(run, out);
    run = {};
  };
  for (const auto& [mi, mj] : Matches(a, b)) {
    for (; i < mi; ++i) run.removed.push_back(a[i]);
    for (; j < mj; ++j) run.added.push_back(b[j]);
    flush();
    ++i;
    ++j;
  }
  for (; i < a.size(); ++i) run.removed.push_back(a[i]);
  for (; j < b.size(); ++j) run.added.push_back(b[j]);
  flush();
  return out;
}

std::vector<SectionChanges> CompareReports(std::span<const std::string> oldLines,
                                           std::span<const std::string> newLines) {
  const auto oldSections = Sections(oldLines);
  const auto newSections = Sections(newLines);
  std::vector<SectionChanges> out;
  auto lines = [](std::span<const std::string> all, const ReportSection& s) {
    return all.subspan(s.begin, s.end - s.begin);
  };
  for (const auto& old : oldSections) {
    const ReportSection* now = FindSection(newSections, old.title);
    if (now == nullptr) {
      out.push_back({old.title, SectionPresence::OldOnly, {}});
      continue;
    }
    SectionChanges changes{old.title, SectionPresence::Both, CompareLines(lines(oldLines, old), lines(newLines, *now))};
    if (!changes.lines.empty()) out.push_back(std::move(changes));
  }
  for (const auto& now : newSections) {
    if (FindSection(oldSections, now.title) == nullptr) out.push_back({now.title, SectionPresence::NewOnly, {}});
  }
  return out;
}

}  // namespace fernwick::comparison
