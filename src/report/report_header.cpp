#include "common/text.h"
#include "report/report_guard.h"
#include "report/report_sections.h"

namespace fernwick::report {

void WriteReportHeader(Gathering& g) {
  ReportGuard guard(g.buffer);
  ServerIdentity& identity = g.buffer.Identity();
  // The report's text is in the system's code page; the summary page says so.
  guard([&] { identity.codePage = g.platform.codePages.AnsiCodePage(); });
  guard([&] {
    const auto v = g.platform.program.Version();
    identity.fernwickVersion =
        std::to_string(v.major) + "." + std::to_string(v.minor) + "." + std::to_string(v.revision);
    g.buffer.AppendReportLine("TORB Version = " + identity.fernwickVersion);
  });
  guard([&] {
    const auto now = g.platform.clock.Now();
    identity.gathered = DecimalPadded(now.month, 2) + "-" + DecimalPadded(now.day, 2) + "-" +
                        DecimalPadded(now.year, 4) + " / " + DecimalPadded(now.hour, 2) + ":" +
                        DecimalPadded(now.minute, 2) + ":" + DecimalPadded(now.second, 2);
    g.buffer.AppendReportLine("Gather Date/Time = " + identity.gathered + std::string(kCrLf));
  });
  g.buffer.AppendReportLine("Voxtra Install Information:");
}

}  // namespace fernwick::report
