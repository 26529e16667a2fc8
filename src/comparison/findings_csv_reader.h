#pragma once
// Findings.csv of a CAB read back: the columns found by their header's
// names, so that files of every Fernwick read alike (the first ones in the
// server's code page; later ones UTF-8 with a byte-order mark, a `code
// page` column and spreadsheet-safe cells whose leading "'" guards a
// character a spreadsheet would take for a formula).
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "comparison/findings_verdict.h"

namespace fernwick::comparison {

// Converts text of a code page to UTF-8; nullopt when it cannot.
using ToUtf8 = std::function<std::optional<std::string>(std::string_view text, std::uint32_t codePage)>;

struct FindingsCsvRows {
  std::vector<SideFinding> findings;  // evidence in UTF-8
  std::uint32_t codePage = 0;         // the report's, as a `code page` column states it; 0 when none does
  std::string error;                  // empty when the file was read
};

// `codePage` is that of a file without a byte-order mark (the report's).
FindingsCsvRows ReadFindingsCsv(std::string_view bytes, std::uint32_t codePage, const ToUtf8& toUtf8);

// A cell without the apostrophe that guards a leading =, +, -, @, tab or CR.
std::string WithoutFormulaGuard(std::string_view cell);

}  // namespace fernwick::comparison
