#include "report/finding_causes.h"

#include <array>
#include <optional>

#include "report/runtime_errors.h"

namespace fernwick::report {
namespace {

using enum FindingId;

// Where the explained finding's line stands, seen from the cause's.
enum class Where {
  Anywhere,
  Above,  // the nearest line above that is not blank
  Below,  // the nearest line below that is not blank
  // The install root's own line: the first INSTALL-PATHS-UNKNOWN while no
  // line shows the install folder ("Core install files to=").
  InstallRootLine,
};

// Which run-time errors, where one side is RUNTIME-ERROR.
enum class Errors { Any, Connection, InvalidUseOfNull };

struct Rule {
  FindingId cause;
  FindingId explained;
  Where where;
  Errors errors;
  std::string_view help;  // what it explains, in the help page's words
};

// The first rule that holds gives a finding its cause; causes of causes
// are followed to the root.
constexpr std::array kRules = {
    Rule{SqlServerUnreachable, RuntimeError, Where::Anywhere, Errors::Connection,
         "RUNTIME-ERROR of the database errors 17, 18456, 18452 and 4060, anywhere in the report"},
    Rule{PromptsCheckIncomplete, RuntimeError, Where::Above, Errors::Any, "RUNTIME-ERROR on the line above it"},
    Rule{AdCatalogValueMissing, RuntimeError, Where::Above, Errors::InvalidUseOfNull,
         "RUNTIME-ERROR 94 (Invalid use of Null) on the line above it"},
    Rule{AdCatalogIntervalValueMissing, RuntimeError, Where::Above, Errors::InvalidUseOfNull,
         "RUNTIME-ERROR 94 (Invalid use of Null) on the line above it"},
    Rule{AdControllerIntervalValueMissing, RuntimeError, Where::Above, Errors::InvalidUseOfNull,
         "RUNTIME-ERROR 94 (Invalid use of Null) on the line above it"},
    Rule{InstallDatabaseFileMissing, InstallDatabasePathUnknown, Where::Below, Errors::Any,
         "INSTALL-DB-PATH-UNKNOWN on the line below it"},
    Rule{RuntimeError, InstallDatabasePathUnknown, Where::Below, Errors::Any,
         "INSTALL-DB-PATH-UNKNOWN on the line below it"},
    Rule{PromptsRootUnknown, InstallPathsUnknown, Where::InstallRootLine, Errors::Any,
         "INSTALL-PATHS-UNKNOWN where the install folder would stand"},
};

bool ErrorsMatch(Errors errors, const Finding& finding) {
  if (finding.id != RuntimeError || errors == Errors::Any) return true;
  const auto line = ReadRuntimeErrorLine(finding.evidence);
  if (!line) return false;
  if (errors == Errors::Connection) return IsConnectionError(*line);
  return !line->Database() && line->number == 94;
}

bool Blank(const std::string& line) {
  return line.find_first_not_of(" \t") == std::string::npos;
}

// The nearest line before (step -1) or after (step 1) `line` that is not blank.
std::optional<std::size_t> Neighbour(const std::vector<std::string>& lines, std::size_t line, int step) {
  for (std::size_t at = line; step < 0 ? at > 0 : at + 1 < lines.size();) {
    at = step < 0 ? at - 1 : at + 1;
    if (!Blank(lines[at])) return at;
  }
  return std::nullopt;
}

bool ShowsInstallFolder(const std::vector<std::string>& lines) {
  for (const std::string& line : lines) {
    const auto start = line.find_first_not_of(' ');
    if (start != std::string::npos && line.compare(start, 22, "Core install files to=") == 0) return true;
  }
  return false;
}

bool Holds(const Rule& rule, const PackedReport& report, std::size_t cause, std::size_t explained) {
  const Finding& c = report.findings[cause];
  const Finding& e = report.findings[explained];
  if (c.id != rule.cause || e.id != rule.explained || cause == explained) return false;
  if (!ErrorsMatch(rule.errors, c) || !ErrorsMatch(rule.errors, e)) return false;
  switch (rule.where) {
    case Where::Anywhere: return true;
    case Where::Above: return Neighbour(report.lines, c.line, -1) == e.line;
    case Where::Below: return Neighbour(report.lines, c.line, 1) == e.line;
    case Where::InstallRootLine:
      for (std::size_t i = 0; i < report.findings.size(); ++i) {
        if (report.findings[i].id == InstallPathsUnknown) return i == explained && !ShowsInstallFolder(report.lines);
      }
      return false;
  }
  return false;
}

// SQL Server that cannot be reached: on the first line that says so.
void AddSqlServerUnreachable(PackedReport& report) {
  for (std::size_t i = 0; i < report.findings.size(); ++i) {
    const Finding& finding = report.findings[i];
    if (finding.id != RuntimeError || !ErrorsMatch(Errors::Connection, finding)) continue;
    Finding cause{SqlServerUnreachable, finding.line, finding.evidence, {}, {}};
    report.findings.insert(report.findings.begin() + static_cast<std::ptrdiff_t>(i), std::move(cause));
    return;
  }
}

}  // namespace

void FindCauses(PackedReport& report) {
  AddSqlServerUnreachable(report);
  const std::size_t n = report.findings.size();
  std::vector<std::size_t> direct(n, kNoCause);
  for (std::size_t e = 0; e < n; ++e) {
    for (const Rule& rule : kRules) {
      if (rule.explained != report.findings[e].id) continue;
      for (std::size_t c = 0; c < n && direct[e] == kNoCause; ++c) {
        if (Holds(rule, report, c, e)) direct[e] = c;
      }
      if (direct[e] != kNoCause) break;
    }
  }
  report.causes.assign(n, kNoCause);
  for (std::size_t e = 0; e < n; ++e) {
    std::size_t root = e;
    for (std::size_t steps = 0; direct[root] != kNoCause && steps < n; ++steps) root = direct[root];
    if (root != e && direct[root] == kNoCause) report.causes[e] = root;
  }
}

std::vector<std::string> WhatItExplains(FindingId id) {
  std::vector<std::string> explained;
  for (const Rule& rule : kRules) {
    if (rule.cause == id) explained.emplace_back(rule.help);
  }
  return explained;
}

}  // namespace fernwick::report
