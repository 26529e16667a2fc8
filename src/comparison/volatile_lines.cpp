#include "comparison/volatile_lines.h"

#include <array>
#include <cmath>
#include <cstdlib>
#include <optional>
#include <string>

#include "comparison/report_lines.h"

namespace fernwick::comparison {
namespace {

using enum VolatileRule;

constexpr std::array kTable = {
    VolatileLine{"TORB Version", Always, 0, "the Fernwick that gathered (shown under Identity)"},
    VolatileLine{"Gather Date/Time", Always, 0, "the time of the gathering (shown under Identity)"},
    VolatileLine{"System Uptime", Always, 0, "the time since the server started"},
    VolatileLine{"System Up Time", Always, 0, "the same in the output of systeminfo (in the server image)"},
    VolatileLine{"Megs free", ShareOfOld, 5, "free space that moved by less than 5 % of its old figure"},
    VolatileLine{"% free space", PercentagePoints, 5, "free space that moved by less than 5 percentage points"},
};

// The line's value as a number: "12683.34" of "Megs free= 12683.34".
std::optional<double> Number(std::string_view line) {
  const auto value = LabelledValue(line);
  if (!value || value->empty()) return std::nullopt;
  char* end = nullptr;
  const double number = std::strtod(value->c_str(), &end);
  if (end != value->c_str() + value->size() || !std::isfinite(number)) return std::nullopt;
  return number;
}

}  // namespace

std::span<const VolatileLine> VolatileLines() {
  return kTable;
}

bool IsVolatileChange(std::string_view oldLine, std::string_view newLine) {
  const std::string label = LineLabel(oldLine);
  if (label != LineLabel(newLine)) return false;
  for (const VolatileLine& row : kTable) {
    if (row.label != label) continue;
    if (row.rule == Always) return true;
    const auto before = Number(oldLine);
    const auto after = Number(newLine);
    if (!before || !after) return false;
    const double moved = std::fabs(*after - *before);
    if (row.rule == PercentagePoints) return moved < row.bound;
    return moved < std::fabs(*before) * row.bound / 100.0;
  }
  return false;
}

}  // namespace fernwick::comparison
