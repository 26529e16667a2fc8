// The text of `fernwick --compare`: verdict, identity, report, server
// image, event logs and services, one block each, under a heading of its own.
#include <algorithm>
#include <array>

#include "comparison/comparison.h"
#include "common/text.h"
#include "comparison/report_lines.h"

namespace fernwick::comparison {
namespace {

std::string Padded(std::string_view text, std::size_t width) {
  std::string out(text);
  out.resize(std::max(width, text.size()), ' ');
  return out;
}

std::string FindingRows(const Comparison& c) {
  std::size_t idWidth = 2;
  for (const auto& row : c.findings) idWidth = std::max(idWidth, row.finding.id.size());
  std::string out;
  for (const auto& row : c.findings) {
    const auto& f = row.finding;
    out += "  " + Padded(ChangeName(row.change), 16) + Padded(f.severity, 8) + " " + Padded(f.id, idWidth) + "  " +
           Trim(f.evidence) + "\n";
    const std::string indent(2 + 16 + 8 + 1 + idWidth + 2, ' ');
    if (!row.oldEvidence.empty()) out += indent + "was: " + Trim(row.oldEvidence) + "\n";
    if (!row.why.empty()) out += indent + "(" + row.why + ")\n";
  }
  return out;
}

std::string IdentityBlock(const Comparison& c, const ComparedSide& oldSide, const ComparedSide& newSide) {
  const auto& o = c.oldIdentity;
  const auto& n = c.newIdentity;
  auto server = [](const ReportIdentity& id) {
    return (id.name.empty() ? "(no server name)" : id.name) + (id.systemId.empty() ? "" : ", System ID " + id.systemId);
  };
  std::string out = "\nIdentity:\n";
  if (c.sameServer && !o.name.empty() && !n.name.empty()) {
    out += "  Same server: " + server(n) + "\n";
  } else {
    out += "  OLD server: " + server(o) + "\n  NEW server: " + server(n) + "\n";
  }
  out += "  Gathered: " + (o.gathered.empty() ? "?" : o.gathered) + " (OLD), " +
         (n.gathered.empty() ? "?" : n.gathered) + " (NEW)";
  if (c.secondsApart) {
    out +=
        ", " + Duration(*c.secondsApart) + (*c.secondsApart < 0 ? " earlier: NEW was gathered before OLD" : " apart");
  }
  out += "\n";
  if (o.fernwick == n.fernwick) {
    out += "  Fernwick: " + (o.fernwick.empty() ? "?" : o.fernwick) + " made both\n";
  } else {
    out += "  Fernwick: " + (o.fernwick.empty() ? "?" : o.fernwick) + " made OLD, " +
           (n.fernwick.empty() ? "?" : n.fernwick) + " made NEW\n";
  }
  if (c.findingsCompared) {
    out += "  Findings: OLD's from " + oldSide.findingsFrom + ", NEW's from " + newSide.findingsFrom + "\n";
  }
  return out;
}

std::string ReportBlock(const Comparison& c) {
  if (c.report.empty() && c.volatileLeftOut == 0) return {};
  std::string out = "\nReport:\n";
  for (const auto& section : c.report) {
    out += "  " + std::string(section.title) + "\n";
    if (section.presence == SectionPresence::OldOnly) out += "    (only in OLD: the new report lacks this section)\n";
    if (section.presence == SectionPresence::NewOnly) out += "    (only in NEW)\n";
    for (const auto& line : section.lines) {
      out += "    old | " + (line.inOld ? line.oldLine : std::string("(no such line)")) + "\n";
      out += "    new | " + (line.inNew ? line.newLine : std::string("(no such line)")) + "\n";
    }
  }
  if (c.volatileLeftOut > 0) {
    out += "  (" + std::to_string(c.volatileLeftOut) +
           (c.volatileLeftOut == 1 ? " line that changes" : " lines that change") +
           " on every run left out; --all shows them)\n";
  }
  return out;
}

// At most this much of a value is shown on its line.
constexpr std::size_t kShownValue = 300;

std::string Shown(std::string_view value) {
  if (value.size() <= kShownValue) return std::string(value);
  return std::string(value.substr(0, kShownValue)) + "... (" + std::to_string(value.size()) + " characters)";
}

// The lines of a value that changed: all of a one-line value, the changed
// lines of a longer one (a database answer's rows, a program's output).
std::string ValueLines(const ImageFactChange& change) {
  const auto before = TextLines(change.oldValue);
  const auto after = TextLines(change.newValue);
  std::string out;
  if (before.size() <= 1 && after.size() <= 1) {
    if (change.inOld) out += "    old | " + Shown(before.empty() ? "" : before[0]) + "\n";
    if (change.inNew) out += "    new | " + Shown(after.empty() ? "" : after[0]) + "\n";
    return out;
  }
  for (const auto& line : CompareLines(before, after)) {
    out += "    old | " + (line.inOld ? Shown(line.oldLine) : std::string("(no such line)")) + "\n";
    out += "    new | " + (line.inNew ? Shown(line.newLine) : std::string("(no such line)")) + "\n";
  }
  return out;
}

std::string ImageBlock(const Comparison& c) {
  if (c.image.empty()) return {};
  std::string out = "\nServer image:\n";
  for (const auto& change : c.image) {
    const std::string_view what = !change.inOld ? "added" : !change.inNew ? "removed" : "changed";
    out += "  " + std::string(ImageFactName(change.kind)) + " " + std::string(what) + ": " + change.name + "\n";
    const bool valued = !change.oldValue.empty() || !change.newValue.empty();
    if (valued && change.kind != ImageFactKind::File) out += ValueLines(change);
  }
  return out;
}

std::string EventLogBlock(const Comparison& c) {
  if (c.eventLogs.empty()) return {};
  std::size_t width = 6;
  for (const auto& change : c.eventLogs) width = std::max(width, change.now.source.size());
  std::string out = "\nEvent logs (errors and warnings, OLD -> NEW):\n";
  for (const auto& change : c.eventLogs) {
    out += "  " + Padded(change.now.log, 12) + Padded(change.now.source, width) + "  errors " +
           std::to_string(change.old.errors) + " -> " + std::to_string(change.now.errors) + ", warnings " +
           std::to_string(change.old.warnings) + " -> " + std::to_string(change.now.warnings) +
           (change.newSource ? "  (new source)" : "") + "\n";
  }
  return out;
}

std::string ServiceBlock(const Comparison& c) {
  if (c.services.empty()) return {};
  std::string out = "\nServices:\n";
  for (const auto& change : c.services) {
    if (change.added) out += "  " + change.name + ": only in NEW\n";
    if (change.removed) out += "  " + change.name + ": only in OLD\n";
    for (const auto& what : change.changes) out += "  " + change.name + ": " + what + "\n";
  }
  return out;
}

}  // namespace

std::string VerdictLine(const Comparison& c) {
  if (!c.findingsCompared) return "Verdict: findings not compared\n";
  std::array<std::size_t, 4> counts{};
  for (const auto& row : c.findings) ++counts[static_cast<std::size_t>(row.change)];
  std::string line = "Verdict: ";
  if (counts[0] + counts[1] + counts[2] == 0) {
    line += "no finding changed";
  } else {
    bool first = true;
    for (std::size_t i = 0; i < 3; ++i) {
      if (counts[i] == 0) continue;
      line += (first ? "" : ", ") + std::to_string(counts[i]) + " " +
              std::string(ChangeName(static_cast<FindingChange>(i)));
      first = false;
    }
  }
  return line + ", " + std::to_string(counts[3]) + " still present\n";
}

std::string ComparisonText(const Comparison& c, const ComparedSide& oldSide, const ComparedSide& newSide) {
  std::string out;
  if (!c.sameServer) out += "Different servers: compared as asked (--different-servers)\n";
  out += VerdictLine(c);
  if (!Differs(c) && c.notCompared.empty()) return out;
  out += FindingRows(c);
  out += IdentityBlock(c, oldSide, newSide);
  if (!c.notCompared.empty()) {
    out += "\nNot compared:\n";
    for (const auto& note : c.notCompared) out += "  " + note + "\n";
  }
  out += ReportBlock(c);
  out += ImageBlock(c);
  out += EventLogBlock(c);
  out += ServiceBlock(c);
  return out;
}

}  // namespace fernwick::comparison
