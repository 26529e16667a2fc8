#include "common/text.h"
#include "report/report_guard.h"
#include "report/report_sections.h"

namespace fernwick::report {

void WriteReportHeader(Gathering& g) {
  ReportGuard guard(g.buffer);
  // The report's text is in the system's code page; the findings files convert from it.
  guard([&] { g.buffer.SetCodePage(g.platform.codePages.AnsiCodePage()); });
  guard([&] {
    const auto v = g.platform.program.Version();
    g.buffer.AppendReportLine("TORB Version = " + std::to_string(v.major) + "." + std::to_string(v.minor) + "." +
                              std::to_string(v.revision));
  });
  guard([&] {
    const auto now = g.platform.clock.Now();
    g.buffer.AppendReportLine("Gather Date/Time = " + DecimalPadded(now.month, 2) + "-" + DecimalPadded(now.day, 2) +
                              "-" + DecimalPadded(now.year, 4) + " / " + DecimalPadded(now.hour, 2) + ":" +
                              DecimalPadded(now.minute, 2) + ":" + DecimalPadded(now.second, 2) + std::string(kCrLf));
  });
  g.buffer.AppendReportLine("Voxtra Install Information:");
}

}  // namespace fernwick::report
