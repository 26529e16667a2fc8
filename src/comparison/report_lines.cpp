#include "comparison/report_lines.h"

#include <array>

#include "common/text.h"

namespace fernwick::comparison {
namespace {

constexpr std::array<std::string_view, 5> kTitles = {
    "Voxtra Install Information:", "Environment Information:", "Voxtra Directory Information",
    "Voxtra Licensing Information:", "OS Platform IP Config Info:"};

bool IsTitle(std::string_view line) {
  for (const auto title : kTitles) {
    if (line == title) return true;
  }
  return false;
}

// Where the label ends, or npos when the line has none of its own.
std::size_t LabelEnd(std::string_view trimmed) {
  if (trimmed.starts_with("(error)") || trimmed.starts_with("*")) return std::string_view::npos;
  const std::size_t end = trimmed.find_first_of(":=");
  if (end == std::string_view::npos || Trim(trimmed.substr(0, end)).empty()) return std::string_view::npos;
  return end;
}

}  // namespace

std::span<const std::string_view> SectionTitles() {
  return kTitles;
}

std::vector<ReportSection> Sections(std::span<const std::string> lines) {
  std::vector<ReportSection> sections;
  sections.push_back({kHeaderSection, 0, 0});
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (!IsTitle(lines[i])) continue;
    sections.back().end = i;
    for (const auto title : kTitles) {
      if (lines[i] == title) sections.push_back({title, i + 1, i + 1});
    }
  }
  sections.back().end = lines.size();
  return sections;
}

std::string_view SectionOf(std::span<const ReportSection> sections, std::size_t line) {
  std::string_view found = kHeaderSection;
  for (const auto& section : sections) {
    if (section.begin <= line + 1 && line < section.end) found = section.title;
  }
  return found;
}

const ReportSection* FindSection(std::span<const ReportSection> sections, std::string_view title) {
  for (const auto& section : sections) {
    if (section.title == title) return &section;
  }
  return nullptr;
}

std::string LineLabel(std::string_view line) {
  const std::string trimmed = Trim(line);
  const std::size_t end = LabelEnd(trimmed);
  return end == std::string_view::npos ? trimmed : Trim(std::string_view(trimmed).substr(0, end));
}

bool HasOwnLabel(std::string_view line) {
  return LabelEnd(Trim(line)) != std::string_view::npos;
}

std::optional<std::string> LabelledValue(std::string_view line) {
  const std::string trimmed = Trim(line);
  const std::size_t end = LabelEnd(trimmed);
  if (end == std::string_view::npos) return std::nullopt;
  return Trim(std::string_view(trimmed).substr(end + 1));
}

std::vector<std::string> TextLines(std::string_view text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find('\n', start);
    if (end == std::string_view::npos) end = text.size();
    std::size_t cut = end;
    if (cut > start && text[cut - 1] == '\r') --cut;
    lines.emplace_back(text.substr(start, cut - start));
    start = end + 1;
  }
  return lines;
}

}  // namespace fernwick::comparison
