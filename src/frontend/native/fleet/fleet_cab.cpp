#include "frontend/native/fleet/fleet_cab.h"

#include <new>
#include <ostream>
#include <stdexcept>

#include "common/not_in_capture.h"
#include "common/text.h"
#include "comparison/report_lines.h"
#include "fleet/fleet_record.h"
#include "frontend/native/cabinet_image/cabinet_files.h"
#include "frontend/native/cabinet_image/cabinet_image.h"
#include "frontend/native/comparison/image_replay.h"
#include "frontend/native/recheck/cab_recheck.h"
#include "platform/image/image_code_pages.h"
#include "report/report_heading.h"
#include "report/report_utf8.h"

namespace fernwick::native {
namespace fs = std::filesystem;
using fleet::FleetFinding;
using fleet::FleetServer;

namespace {

constexpr std::string_view kRedactedNote = "VoxtraInfo.cab is redacted:";

class Unreadable : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// The heading facts (UTF-8) of a report.
void TakeIdentity(const report::ServerIdentity& id, FleetServer& server) {
  server.name = id.name;
  server.systemId = id.systemId;
  server.gathered = report::IsoGathered(id.gathered);
  server.fernwick = id.fernwickVersion;
  server.voxtra = id.version;
  server.windows = id.windows;
  server.store = id.backEnd;
  server.sql = id.sqlVersion;
}

// Each labelled line of the report, by section: what findings read.
void WriteFacts(std::ostream& out, const FleetServer& server, const std::vector<std::string>& lines) {
  for (const auto& [label, value] :
       {std::pair{"Voxtra version", &server.voxtra}, std::pair{"Windows version", &server.windows},
        std::pair{"SQL Server", &server.sql}, std::pair{"Message store", &server.store},
        std::pair{"Fernwick version", &server.fernwick}}) {
    fleet::WriteFact(out, {label, *value});
  }
  const auto sections = comparison::Sections(lines);
  for (std::size_t i = 0; i < lines.size(); ++i) {
    const auto value = comparison::LabelledValue(lines[i]);
    if (!value) continue;
    fleet::WriteFact(out,
                     {fleet::FactLabel(comparison::SectionOf(sections, i), comparison::LineLabel(lines[i])), *value});
  }
}

std::string FactOf(const std::vector<std::string>& lines, const std::vector<comparison::ReportSection>& sections,
                   const std::string& evidence, std::size_t line) {
  if (!comparison::HasOwnLabel(evidence)) return {};
  const std::size_t at = line > 0 && line <= lines.size() && lines[line - 1] == evidence ? line - 1 : lines.size();
  const std::string_view section = at < lines.size() ? comparison::SectionOf(sections, at) : std::string_view();
  return section.empty() ? std::string() : fleet::FactLabel(section, comparison::LineLabel(evidence));
}

void Read(const fs::path& cab, const fs::path& scratch, std::ostream& out) {
  const auto wanted = [](const std::string& name) {
    return EqualsNoCase(name, "VoxtraSystemInfo.txt") || EqualsNoCase(name, "Findings.csv") ||
           EqualsNoCase(name, "ServerImage.cab") || EqualsNoCase(name, "FernwickMessages.txt");
  };
  const CabinetFiles files = ReadCabinetFile(cab, wanted, kImageReadLimit);
  if (!files.error.empty()) throw Unreadable(files.error);
  const std::string *report = nullptr, *csv = nullptr, *imageCab = nullptr;
  bool redacted = false;
  for (const auto& file : files.files) {
    if (EqualsNoCase(file.name, "VoxtraSystemInfo.txt") && report == nullptr) report = &file.bytes;
    if (EqualsNoCase(file.name, "Findings.csv") && csv == nullptr) csv = &file.bytes;
    if (EqualsNoCase(file.name, "ServerImage.cab") && imageCab == nullptr) imageCab = &file.bytes;
    // Write To File's record says so of a package made with "redact".
    if (EqualsNoCase(file.name, "FernwickMessages.txt")) redacted = file.bytes.find(kRedactedNote) != std::string::npos;
  }
  if (report == nullptr && imageCab == nullptr) {
    throw Unreadable("it holds neither VoxtraSystemInfo.txt nor ServerImage.cab: no VoxtraInfo.cab");
  }
  const CabFindings packed = ReadCabFindings(csv, report);
  FleetServer server;
  server.cab = cab.string();
  std::string noImage = "no server image";
  if (imageCab != nullptr) {
    const fs::path folder = scratch / "image";
    fs::create_directories(folder);
    try {
      UnpackImageCabinet(*imageCab, folder);
    } catch (const CabinetImageError& e) {
      throw Unreadable(std::string("its server image: ") + e.what());
    }
    RecheckScope recheck;
    const ImageReplay replay = ReplayImage(folder, scratch / "out");
    if (replay.report) {
      image::ImageCodePages codePages(replay.report->CodePage());
      report::PackedReport today = report::CarryFindings(*replay.report, replay.report->Text());
      MarkRecheck(today, packed, codePages);
      report::ServerIdentity identity = today.identity;
      for (std::string* fact : {&identity.name, &identity.systemId, &identity.gathered, &identity.fernwickVersion,
                                &identity.version, &identity.windows, &identity.backEnd, &identity.sqlVersion}) {
        *fact = report::ReportUtf8(codePages, identity.codePage, *fact);
      }
      TakeIdentity(identity, server);
      server.from = std::string("its server image, re-checked") + (redacted ? fleet::kRedactedFrom : "");
      std::vector<std::string> lines;
      for (const auto& line : today.lines) lines.push_back(report::ReportUtf8(codePages, identity.codePage, line));
      const auto sections = comparison::Sections(lines);
      fleet::WriteServer(out, server);
      const auto side = SideFindings(today, codePages);
      for (std::size_t i = 0; i < side.size(); ++i) {
        fleet::WriteFinding(out, {side[i].id, side[i].severity, i < today.status.size() ? today.status[i] : "",
                                  side[i].evidence, FactOf(lines, sections, side[i].evidence, side[i].line)});
      }
      for (const auto& cabOnly : today.unraised) {
        fleet::WriteFinding(out, {cabOnly.id, cabOnly.severity, cabOnly.status, cabOnly.evidence, {}});
      }
      WriteFacts(out, server, lines);
      return;
    }
    noImage = "its server image does not gather again (" + replay.failure + ")";
  }
  // The packed files stand in.
  if (!packed.error.empty()) throw Unreadable(packed.error);
  TakeIdentity(report::ReadHeading(packed.lines, packed.codePage), server);
  server.from =
      noImage + ": " + (packed.hasFindings ? "the packed Findings.csv" : "the packed report, no Findings.csv");
  fleet::WriteServer(out, server);
  const auto sections = comparison::Sections(packed.lines);
  for (const auto& finding : packed.findings) {
    fleet::WriteFinding(out, {finding.id, finding.severity, "present", finding.evidence,
                              FactOf(packed.lines, sections, finding.evidence, finding.line)});
  }
  WriteFacts(out, server, packed.lines);
}

}  // namespace

void ReadFleetCab(const fs::path& cab, const fs::path& scratch, std::ostream& out) {
  try {
    Read(cab, scratch, out);
  } catch (const Unreadable& e) {
    fleet::WriteFailure(out, cab.string(), e.what());
  } catch (const std::bad_alloc&) {
    fleet::WriteFailure(out, cab.string(), "out of memory");
  } catch (const std::exception& e) {
    fleet::WriteFailure(out, cab.string(), e.what());
  }
}

}  // namespace fernwick::native
