#include "packaging/findings_files.h"

#include <exception>

#include "report/findings_csv.h"
#include "report/summary_page.h"

namespace fernwick::packaging {

void WriteFindingsFiles(platform::FileSystem& files, const std::string& folder, const report::ReportBuffer* report) {
  if (report == nullptr) return;
  try {
    files.WriteWholeFile(folder + report::kFindingsCsvName, report::FindingsCsv(report->Findings()));
    files.WriteWholeFile(folder + report::kSummaryPageName, report::SummaryPage(*report));
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
