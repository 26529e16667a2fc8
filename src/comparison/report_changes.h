#pragma once
// The lines that differ between two reports, section by section: old and
// new line side by side where both tell the same thing (the same label),
// else a line only one of them holds. Changes the table of volatile lines
// names are flagged, not dropped, so that --all can show them.
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace fernwick::comparison {

struct LineChange {
  std::string oldLine;  // empty when only the new report holds the line
  std::string newLine;  // empty when only the old report holds it
  bool inOld = false;
  bool inNew = false;
  bool isVolatile = false;
};

enum class SectionPresence { Both, OldOnly, NewOnly };

struct SectionChanges {
  std::string_view title;
  SectionPresence presence = SectionPresence::Both;
  std::vector<LineChange> lines;  // in report order; none for a section only one report holds
};

// Sections without a difference are left out.
std::vector<SectionChanges> CompareReports(std::span<const std::string> oldLines,
                                           std::span<const std::string> newLines);

// Lines of a part of two reports, matched by a longest common subsequence;
// beyond `kMaxMatchedCells` (old lines times new lines, once the common
// start and end are set aside) the lines between are taken as all changed,
// so that memory stays bounded.
std::vector<LineChange> CompareLines(std::span<const std::string> oldLines, std::span<const std::string> newLines);
inline constexpr std::size_t kMaxMatchedCells = 4u << 20;

}  // namespace fernwick::comparison
