#include "packaging/findings_files.h"

#include <exception>
#include <optional>

#include "report/findings_csv.h"
#include "report/packed_report.h"
#include "report/summary_page.h"

namespace fernwick::packaging {

std::vector<std::string> WriteFindingsFiles(platform::Platform& p, const std::string& folder,
                                            const report::ReportBuffer* report, const std::string& packed) {
  std::vector<std::string> failures;
  if (report == nullptr) return failures;
  std::optional<report::PackedReport> carried;
  try {
    carried = report::CarryFindings(*report, packed);
  } catch (const std::exception& e) {
    failures.push_back(std::string("the findings could not be made: ") + e.what());
    return failures;
  }
  const auto write = [&](const char* name, auto&& make) {
    try {
      if (!p.files.WriteWholeFile(folder + name, make()))
        failures.push_back(std::string(name) + " could not be written");
    } catch (const std::exception& e) {
      failures.push_back(std::string(name) + " could not be made: " + e.what());
    }
  };
  write(report::kFindingsCsvName, [&] { return report::FindingsCsv(*carried, p.codePages); });
  write(report::kSummaryPageName, [&] { return report::SummaryPage(*carried, p.codePages); });
  return failures;
}

void RemoveFindingsFiles(platform::FileSystem& files, const std::string& folder) {
  for (const char* name : {report::kFindingsCsvName, report::kSummaryPageName}) {
    try {
      files.RemoveFile(folder + name, false);
    } catch (const std::exception&) {
    }
  }
}

}  // namespace fernwick::packaging
