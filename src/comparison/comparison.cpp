#include "comparison/comparison.h"

#include <algorithm>
#include <span>

#include "comparison/report_lines.h"

namespace fernwick::comparison {
namespace {

std::span<const std::string> LinesOf(const ComparedSide& side) {
  return side.report ? std::span<const std::string>(*side.report) : std::span<const std::string>();
}

// Drops the volatile changes (counting them) unless all are shown, and the
// sections left without a change.
void LeaveOutVolatile(Comparison& c, const ComparisonOptions& options) {
  if (options.all) return;
  for (auto& section : c.report) {
    std::erase_if(section.lines, [&](const LineChange& line) {
      c.volatileLeftOut += line.isVolatile;
      return line.isVolatile;
    });
  }
  std::erase_if(c.report,
                [](const SectionChanges& s) { return s.presence == SectionPresence::Both && s.lines.empty(); });
  // A program's output whose every changed line is a volatile one (the
  // uptime line of systeminfo) is left out whole.
  std::erase_if(c.image, [&](const ImageFactChange& change) {
    if (change.kind != ImageFactKind::ProgramOutput || !change.inOld || !change.inNew) return false;
    const auto lines = CompareLines(TextLines(change.oldValue), TextLines(change.newValue));
    const bool allVolatile = std::all_of(lines.begin(), lines.end(), [](const LineChange& l) { return l.isVolatile; });
    c.volatileLeftOut += allVolatile;
    return allVolatile;
  });
}

}  // namespace

Comparison Compare(const ComparedSide& oldSide, const ComparedSide& newSide, const ComparisonOptions& options) {
  Comparison c;
  c.oldIdentity = IdentityOf(LinesOf(oldSide));
  c.newIdentity = IdentityOf(LinesOf(newSide));
  // A report gathered again names today's Fernwick; the capture names the one that made the CAB.
  if (!oldSide.fernwick.empty()) c.oldIdentity.fernwick = oldSide.fernwick;
  if (!newSide.fernwick.empty()) c.newIdentity.fernwick = newSide.fernwick;
  // Without a server name on one side, no side can be called another server.
  c.sameServer = c.oldIdentity.name.empty() || c.newIdentity.name.empty() || SameServer(c.oldIdentity, c.newIdentity);
  c.secondsApart = SecondsBetween(c.oldIdentity.gathered, c.newIdentity.gathered);
  c.findingsCompared = oldSide.findings && newSide.findings;
  if (c.findingsCompared) {
    c.findings = CompareFindings(*oldSide.findings, *newSide.findings, LinesOf(oldSide), LinesOf(newSide));
  }
  for (const auto* side : {&oldSide, &newSide}) {
    const std::string which = side == &oldSide ? "OLD" : "NEW";
    if (!side->findings) {
      c.notCompared.push_back(which + ": neither Findings.csv nor a server image that gathers: findings not compared");
    }
    if (!side->report) c.notCompared.push_back(which + ": no report (VoxtraSystemInfo.txt): report not compared");
    for (const auto& lack : side->lacks) c.notCompared.push_back(which + ": " + lack);
  }
  if (oldSide.report && newSide.report) {
    c.report = CompareReports(*oldSide.report, *newSide.report);
  }
  if (oldSide.image && newSide.image) c.image = CompareImageFacts(*oldSide.image, *newSide.image);
  for (const auto* side : {&oldSide, &newSide}) {
    if (side->image && side->image->Cut()) {
      c.notCompared.push_back(std::string(side == &oldSide ? "OLD" : "NEW") + ": its server image states more than " +
                              std::to_string(ImageFacts::kMaxFactsPerKind) +
                              " facts of a kind: those past it are not compared");
    }
  }
  LeaveOutVolatile(c, options);
  if (oldSide.eventLogs && newSide.eventLogs) c.eventLogs = CompareEventLogs(*oldSide.eventLogs, *newSide.eventLogs);
  if (oldSide.services && newSide.services) c.services = CompareServices(*oldSide.services, *newSide.services);
  return c;
}

bool Differs(const Comparison& c) {
  if (!c.sameServer || !c.report.empty() || !c.image.empty() || !c.eventLogs.empty() || !c.services.empty()) {
    return true;
  }
  for (const auto& row : c.findings) {
    if (row.change != FindingChange::StillPresent) return true;
  }
  return false;
}

}  // namespace fernwick::comparison
