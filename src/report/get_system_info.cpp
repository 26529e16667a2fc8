#include "report/gathering.h"
#include "report/report_sections.h"

namespace fernwick::report {

GatheringOutcome GetSystemInfo(Gathering& g) {
  WriteReportHeader(g);
  WriteInstallInformation(g);
  return GatheringOutcome::Finished;
}

}  // namespace fernwick::report
