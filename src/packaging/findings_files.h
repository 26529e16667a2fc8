#pragma once
// Findings.csv and Summary.htm beside the report in the output folder, for
// the CAB file, made from the report text as it was packed. Both are
// optional parts of the package: a failure to write them is ignored and
// costs nothing else.
#include <string>

#include "platform/platform.h"
#include "report/report_buffer.h"

namespace fernwick::packaging {

// `folder` ends with a backslash; `packed` is the text written as the
// report file; nothing is written without a gathered report.
void WriteFindingsFiles(platform::Platform& p, const std::string& folder, const report::ReportBuffer* report,
                        const std::string& packed);
void RemoveFindingsFiles(platform::FileSystem& files, const std::string& folder);

}  // namespace fernwick::packaging
