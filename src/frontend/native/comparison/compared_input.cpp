#include "frontend/native/comparison/compared_input.h"

#include <array>
#include <optional>
#include <string>

#include "common/text.h"
#include "comparison/findings_csv_reader.h"
#include "comparison/report_lines.h"
#include "frontend/native/cabinet_image/cabinet_files.h"
#include "frontend/native/cabinet_image/cabinet_image.h"
#include "frontend/native/cabinet_image/captured_switches.h"
#include "frontend/native/comparison/image_folder_facts.h"
#include "frontend/native/comparison/image_replay.h"
#include "platform/image/image_code_pages.h"
#include "report/finding_fixes.h"
#include "report/packed_report.h"

namespace fernwick::native {
namespace fs = std::filesystem;
using comparison::ComparedSide;
using comparison::SideFinding;

namespace {

std::string Utf8(std::string_view text, std::uint32_t codePage) {
  image::ImageCodePages pages(codePage);
  return pages.ToUtf8(text, codePage).value_or(std::string(text));
}

// The entries of a VoxtraInfo.cab the comparison reads, and what is not
// compared when one is missing.
enum class Part : std::uint8_t { Report, Findings, Image, Services, SystemLog, ApplicationLog };
struct CabinetPart {
  Part part;
  std::string_view name;
  std::string_view lacking;  // empty: said otherwise when missing
};
constexpr std::array kParts = {
    CabinetPart{Part::Report, "VoxtraSystemInfo.txt", ""},
    CabinetPart{Part::Findings, "Findings.csv", ""},
    CabinetPart{Part::Image, "ServerImage.cab",
                "no server image (ServerImage.cab): registry values, files, database answers and program outputs "
                "not compared"},
    CabinetPart{Part::Services, "ServiceInfo.csv", "no service list (ServiceInfo.csv): services not compared"},
    CabinetPart{Part::SystemLog, "system_event_log.csv", ""},
    CabinetPart{Part::ApplicationLog, "application_event_log.csv", ""},
};

// The event logs, counted, and the service list, in UTF-8.
void TakeLists(const std::array<const std::string*, kParts.size()>& bytes, std::uint32_t codePage, ComparedSide& side) {
  auto part = [&](Part p) { return bytes[static_cast<std::size_t>(p)]; };
  for (const auto& [p, log] : {std::pair{Part::SystemLog, "system"}, std::pair{Part::ApplicationLog, "application"}}) {
    if (part(p) == nullptr) continue;
    if (!side.eventLogs) side.eventLogs.emplace();
    for (auto& counts : comparison::CountEventLog(log, *part(p))) {
      counts.source = Utf8(counts.source, codePage);
      side.eventLogs->push_back(std::move(counts));
    }
  }
  if (!side.eventLogs) side.lacks.emplace_back("no event log: event logs not compared");
  if (const std::string* list = part(Part::Services)) {
    side.services = comparison::ReadServiceList(Utf8(*list, codePage));
    if (!side.services) throw ComparedInputError("ServiceInfo.csv: its header row lacks ServiceName");
  }
}

// The report and findings of a gathering, in UTF-8.
void TakeReplay(const report::ReportBuffer& buffer, ComparedSide& side) {
  const std::uint32_t codePage = buffer.CodePage();
  side.report = comparison::TextLines(Utf8(buffer.Text(), codePage));
  side.findings.emplace();
  // Judged for the server the report's own text describes, as Findings.csv is.
  const report::PackedReport carried = report::CarryFindings(buffer, buffer.Text());
  for (const report::Finding& finding : carried.findings) {
    const auto& info = report::Info(finding.id);
    const auto here = report::ForServer(info, carried.identity.windowsFacts);
    side.findings->push_back({std::string(info.name), std::string(report::SeverityName(here.severity)),
                              Utf8(finding.evidence, codePage), finding.line + 1});
  }
  side.findingsFrom = "its server image, gathered again";
}

ComparedSide ReadFolder(const fs::path& input, const fs::path& scratch) {
  ComparedSide side;
  side.name = input.string();
  const ImageReplay replay = ReplayImage(input, scratch / "out");
  if (!replay.report) throw ComparedInputError("cannot gather the server image: " + replay.failure);
  TakeReplay(*replay.report, side);
  side.fernwick = RecordedBy(input);
  side.image = ReadImageFacts(input);
  side.lacks.emplace_back("an image folder: event logs and services not compared");
  return side;
}

ComparedSide ReadCabinet(const fs::path& input, const fs::path& scratch) {
  auto wanted = [](const std::string& name) {
    for (const auto& part : kParts) {
      if (EqualsNoCase(name, part.name)) return true;
    }
    return false;
  };
  const CabinetFiles files = ReadCabinetFile(input, wanted, kImageReadLimit);
  if (!files.error.empty()) throw ComparedInputError(files.error);
  std::array<const std::string*, kParts.size()> bytes{};
  for (const auto& file : files.files) {
    for (std::size_t i = 0; i < kParts.size(); ++i) {
      if (EqualsNoCase(file.name, kParts[i].name) && bytes[i] == nullptr) bytes[i] = &file.bytes;
    }
  }
  auto part = [&](Part p) { return bytes[static_cast<std::size_t>(p)]; };
  if (part(Part::Report) == nullptr && part(Part::Image) == nullptr) {
    throw ComparedInputError("it holds neither VoxtraSystemInfo.txt nor ServerImage.cab: no VoxtraInfo.cab");
  }
  ComparedSide side;
  side.name = input.string();
  for (std::size_t i = 0; i < kParts.size(); ++i) {
    if (bytes[i] == nullptr && !kParts[i].lacking.empty()) side.lacks.emplace_back(kParts[i].lacking);
  }
  std::string replayFailure;
  if (const std::string* image = part(Part::Image)) {
    const fs::path folder = scratch / "image";
    fs::create_directories(folder);
    try {
      UnpackImageCabinet(*image, folder);
    } catch (const CabinetImageError& e) {
      throw ComparedInputError(e.what());
    }
    side.fernwick = RecordedBy(folder);
    side.image = ReadImageFacts(folder);
    const ImageReplay replay = ReplayImage(folder, scratch / "out");
    if (replay.report) {
      TakeReplay(*replay.report, side);
      TakeLists(bytes, replay.report->CodePage(), side);
      return side;
    }
    replayFailure = replay.failure;
  }
  // The packed files stand in: the report in the server's code page, which
  // only the gathering knew (1252 unless Findings.csv states another).
  std::uint32_t codePage = platform::kWesternCodePage;
  if (const std::string* csv = part(Part::Findings)) {
    auto rows = comparison::ReadFindingsCsv(*csv, codePage, [](std::string_view text, std::uint32_t page) {
      image::ImageCodePages pages(page);
      return pages.ToUtf8(text, page);
    });
    if (!rows.error.empty()) throw ComparedInputError("Findings.csv: " + rows.error);
    if (rows.codePage != 0) codePage = rows.codePage;
    side.findings = std::move(rows.findings);
    side.findingsFrom = "Findings.csv";
  }
  if (const std::string* text = part(Part::Report)) {
    // Write To File adds one line end to the report it packs.
    std::string_view report = *text;
    if (report.ends_with("\r\n\r\n")) report.remove_suffix(2);
    side.report = comparison::TextLines(Utf8(report, codePage));
  }
  TakeLists(bytes, codePage, side);
  if (!replayFailure.empty()) {
    side.lacks.push_back("its server image does not gather again (" + replayFailure +
                         "): report and findings as packed");
  }
  return side;
}

}  // namespace

ComparedSide ReadComparedInput(const fs::path& input, const fs::path& scratch) {
  std::error_code ec;
  if (fs::is_directory(input, ec)) return ReadFolder(input, scratch);
  if (!fs::exists(input, ec)) throw ComparedInputError("no such file or folder");
  return ReadCabinet(input, scratch);
}

}  // namespace fernwick::native
