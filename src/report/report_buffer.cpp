#include "report/report_buffer.h"

#include "common/text.h"

namespace fernwick::report {

void ReportBuffer::AppendReportLine(std::string_view text) {
  text_ += text;
  text_ += kCrLf;
}

}  // namespace fernwick::report
