#pragma once
// The report lines that change on every run, left out of a comparison
// unless --all is given: one row per line label, with the rule that makes
// a change of it noise. The README and the help page show this table.
#include <span>
#include <string_view>

namespace fernwick::comparison {

enum class VolatileRule {
  Always,            // any change is noise
  ShareOfOld,        // a number that moved by less than `bound` percent of its old figure
  PercentagePoints,  // a percentage that moved by less than `bound` points
};

struct VolatileLine {
  std::string_view label;  // as LineLabel gives it
  VolatileRule rule;
  double bound;
  std::string_view why;
};

std::span<const VolatileLine> VolatileLines();

// Whether the change of a line from `oldLine` to `newLine` (both with the
// same label) is one the table leaves out.
bool IsVolatileChange(std::string_view oldLine, std::string_view newLine);

}  // namespace fernwick::comparison
