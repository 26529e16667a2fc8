// The readers `fernwick --compare` runs on a customer's CAB: Findings.csv
// (in either of its formats), the service list, the event logs and the
// server image's registry export, answers.txt, versions.txt and image.ini,
// and the comparison of what they give with itself. Beyond "no crash": a
// file compared with itself shows no new, resolved or lost finding, no
// changed line, service, count or image fact, and every finding read has
// the evidence of one CSV field.
#include <optional>
#include <string>

#include "comparison/event_log_counts.h"
#include "comparison/findings_csv_reader.h"
#include "comparison/image_facts.h"
#include "comparison/report_changes.h"
#include "comparison/report_lines.h"
#include "comparison/service_changes.h"
#include "fuzz/fuzz_check.h"

namespace {

using namespace fernwick;

std::optional<std::string> Identity(std::string_view text, std::uint32_t) {
  return std::string(text);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using fuzz::Check;
  const std::string_view text = fuzz::AsText(data, size);
  const auto rows = comparison::ReadFindingsCsv(text, 1252, Identity);
  for (const auto& finding : rows.findings) Check(finding.evidence.size() <= size, "evidence within the file");
  const auto lines = comparison::TextLines(text);
  const auto verdict = comparison::CompareFindings(rows.findings, rows.findings, lines, lines);
  for (const auto& row : verdict) {
    Check(row.change == comparison::FindingChange::StillPresent, "a file compared with itself changes nothing");
  }
  Check(comparison::CompareLines(lines, lines).empty(), "a report compared with itself has no changed line");
  if (const auto services = comparison::ReadServiceList(text)) {
    Check(comparison::CompareServices(*services, *services).empty(), "a service list equals itself");
  }
  const auto counts = comparison::CountEventLog("system", text);
  Check(comparison::CompareEventLogs(counts, counts).empty(), "event log counts equal themselves");
  comparison::ImageFacts facts;
  comparison::ReadRegistryExport(text, facts);
  comparison::ReadRecordedAnswers(text, facts);
  comparison::ReadVersionStatements(text, facts);
  comparison::ReadFileDates(text, facts);
  Check(comparison::CompareImageFacts(facts, facts).empty(), "image facts equal themselves");
  return 0;
}
