#include "packaging/findings_files.h"

#include <exception>

#include "report/findings_csv.h"
#include "report/packed_report.h"
#include "report/summary_page.h"

namespace fernwick::packaging {

void WriteFindingsFiles(platform::Platform& p, const std::string& folder, const report::ReportBuffer* report,
                        const std::string& packed) {
  if (report == nullptr) return;
  try {
    const report::PackedReport carried = report::CarryFindings(*report, packed);
    p.files.WriteWholeFile(folder + report::kFindingsCsvName, report::FindingsCsv(carried));
    p.files.WriteWholeFile(folder + report::kSummaryPageName, report::SummaryPage(carried, p.codePages));
  } catch (const std::exception&) {
  }
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
