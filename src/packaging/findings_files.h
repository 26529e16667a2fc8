#pragma once
// Findings.csv and Summary.htm beside the report in the output folder, for
// the CAB file, made from the report text as it was packed. A failure to
// write one costs nothing else, but it is a lost part of the package, which
// the caller records.
#include <string>
#include <vector>

#include "platform/platform.h"
#include "report/report_buffer.h"

namespace fernwick::packaging {

// `folder` ends with a backslash; `packed` is the text written as the
// report file; nothing is written without a gathered report. Answers a line
// for each file that could not be written.
std::vector<std::string> WriteFindingsFiles(platform::Platform& p, const std::string& folder,
                                            const report::ReportBuffer* report, const std::string& packed);
void RemoveFindingsFiles(platform::FileSystem& files, const std::string& folder);

}  // namespace fernwick::packaging
