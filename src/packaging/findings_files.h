#pragma once
// Findings.csv and Summary.htm beside the report in the output folder, for
// the CAB file. Both are optional parts of the package: a failure to write
// them is ignored and costs nothing else.
#include <string>

#include "platform/file_system.h"
#include "report/report_buffer.h"

namespace fernwick::packaging {

// `folder` ends with a backslash; nothing is written without a gathered report.
void WriteFindingsFiles(platform::FileSystem& files, const std::string& folder, const report::ReportBuffer* report);
void RemoveFindingsFiles(platform::FileSystem& files, const std::string& folder);

}  // namespace fernwick::packaging
