// The readers `fernwick --compare` runs on a customer's CAB: Findings.csv
// (in either of its formats), the service list, the event logs and the
// server image's registry export, answers.txt, versions.txt and image.ini,
// the manifest `fernwick --verify` reads, and the comparison of what they
// give with itself. Beyond "no crash": a
// file compared with itself shows no new, resolved or lost finding, no
// changed line, service, count or image fact, and every finding read has
// the evidence of one CSV field; a manifest that is read is written back
// the same, and the entries it lists verify against it.
#include <algorithm>
#include <optional>
#include <string>

#include "common/text.h"
#include "comparison/event_log_counts.h"
#include "comparison/findings_csv_reader.h"
#include "comparison/image_facts.h"
#include "comparison/report_changes.h"
#include "comparison/report_lines.h"
#include "comparison/service_changes.h"
#include "fuzz/fuzz_check.h"
#include "packaging/manifest.h"
#include "packaging/manifest_check.h"

namespace {

using namespace fernwick;

std::optional<std::string> Identity(std::string_view text, std::uint32_t) {
  return std::string(text);
}

}  // namespace

// The most this reader may hold beside its input, in times the input. It
// keeps a container entry for each line or key; the worst case measured is
// a file of empty lines: 48 times (a string for each line).
constexpr long long kHeldMultiple = 128;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using fuzz::Check;
  const std::string_view text = fuzz::AsText(data, size);
  fuzz::HoldsAtMost(size, kHeldMultiple, fuzz::kFileReaderConstant, [&] {
    (void)comparison::ReadFindingsCsv(text, 1252, Identity);
    (void)comparison::TextLines(text);
    (void)comparison::ReadServiceList(text);
  });
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

  const auto manifest = packaging::ParseManifest(text);
  if (manifest.error.empty()) {
    const std::string written = packaging::ManifestText(manifest.records);
    const auto again = packaging::ParseManifest(written);
    Check(again.error.empty() && again.records.size() == manifest.records.size(), "a manifest reads back");
    Check(packaging::ManifestText(again.records) == written, "a manifest is written back the same");
    std::vector<packaging::CabinetEntry> entries;
    for (const auto& r : manifest.records) {
      if (!r.Lost() && !EqualsNoCase(r.name, packaging::kManifestName)) entries.push_back({r.name, *r.size, r.sha256});
    }
    entries.push_back({packaging::kManifestName, size, std::string(64, '0')});
    const auto whole = packaging::VerifyAgainstManifest("X.cab", entries, std::string(text));
    Check(whole.exitCode == packaging::kVerifiedWhole || whole.exitCode == packaging::kVerifiedWithLostParts ||
              std::any_of(manifest.records.begin(), manifest.records.end(),
                          [](const auto& r) { return EqualsNoCase(r.name, packaging::kManifestName); }),
          "the entries a manifest lists verify against it");
  }
  return 0;
}
