#include "report/report_guard.h"

#include "common/text.h"

namespace fernwick::report {

std::string ReportErrorLine(const RuntimeError& error) {
  return std::string(kCrLf) + "(error):" + std::to_string(error.Number()) + " (" + error.Description() +
         ") in procedure GetSystemInfo of Form frmMain";
}

}  // namespace fernwick::report
