#pragma once
// A report read back for comparison: its sections (by the titles the report
// writes at the start of each) and the label of a line, the words before
// its first ":" or "=", which name what the line tells ("RSS", "Megs free",
// "CsVpimConnector"), so that an old and a new line about the same thing
// are paired however their values differ.
#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace fernwick::comparison {

// The lines before the first section title: the version and gathering time.
inline constexpr std::string_view kHeaderSection = "(report header)";

struct ReportSection {
  std::string_view title;  // one of SectionTitles(), or kHeaderSection
  std::size_t begin = 0;   // the first line after the title
  std::size_t end = 0;     // one past its last line
};

// The section titles, in the order the report writes them.
std::span<const std::string_view> SectionTitles();

// The sections of `lines` in their order; a title the report does not hold
// has no section.
std::vector<ReportSection> Sections(std::span<const std::string> lines);
// The section `line` lies in (its title line included).
std::string_view SectionOf(std::span<const ReportSection> sections, std::size_t line);
const ReportSection* FindSection(std::span<const ReportSection> sections, std::string_view title);

// The words before the first ":" or "=", trimmed; the whole trimmed line
// when there are none, or when the line is an error line ("(error)...") or
// a marked warning ("*Warning* ..."), whose every word counts.
std::string LineLabel(std::string_view line);
// Whether LineLabel(line) is less than the whole line.
bool HasOwnLabel(std::string_view line);

// The text after a label's ":" or "=", trimmed ("VOXTRA01" of "Voxtra server
// name = VOXTRA01"); nullopt when the line has no label of its own.
std::optional<std::string> LabelledValue(std::string_view line);

// `text` cut at its line ends (CR LF, or LF alone); a last line end closes
// the last line.
std::vector<std::string> TextLines(std::string_view text);

}  // namespace fernwick::comparison
