#include "common/runtime_error.h"
#include "common/text.h"
#include "launch/command_lines.h"
#include "launch/wait_limits.h"
#include "probes/license_data.h"
#include "probes/workstation_info.h"
#include "report/configuration_query.h"
#include "report/report_guard.h"
#include "report/report_sections.h"

namespace fernwick::report {
namespace {

// ipconfigdump.bat writes the `ipconfig` output here.
constexpr const char* kIpConfigCapture = "c:\\tempipoutput.txt";

// Writes the label and the query's row count (less `less`), or the error
// line in its place when the query fails.
void WriteCount(Gathering& g, const std::string& sql, const std::string& label, long less = 0) {
  auto query = OpenReportQuery(g, sql);
  if (!query) return;
  ReportGuard guard(g.buffer);
  g.buffer.AppendReportLine(label + std::to_string(query->RecordCount() - less));
  guard([&] { query->Close(); });
}

void WriteDirectoryCounts(Gathering& g) {
  std::string computer;
  ReportGuard guard(g.buffer);
  guard([&] { computer = WorkStationInfo(g.platform.workstation).ComputerName(); });
  g.buffer.AppendReportLine("");
  g.buffer.AppendReportLine("Voxtra Directory Information");
  WriteCount(g, "select Alias from Subscriber where IsSubscriber='1' and SubscriberType IN (1,2,3,5,7,8,9)",
             "     Total Subscribers in network = ");
  WriteCount(g,
             "select alias from Subscriber where SubscriberType IN (1,3) and IsSubscriber='1' and HomeServer='" +
                 Trim(computer) + "'",
             "     Total full subscribers homed on the local message store (if any) = ");
  WriteCount(g, "select alias from Subscriber where SubscriberType IN (1,3) and IsSubscriber='1'",
             "     Total full subscribers assigned to the local Voxtra server = ");
  WriteCount(g, "select alias from Subscriber where SubscriberType IN (2,5,7,8,9)",
             "     Total network (contact) subscribers homed locally = ");
  WriteCount(g, "select Alias from CallHandler where IsPrimary='0'", "     Total call handlers on local box = ");
  // The default location is the server's own, not a delivery location.
  WriteCount(g, "Select alias from Location", "     Total delivery locations homed locally = ", 1);
  WriteCount(g,
             std::string("SELECT globallocation.homeserver FROM globallocation INNER JOIN location ") +
                 "ON location.dialingdomainName=globallocation.DialingDomainName " +
                 "WHERE location.alias='default' GROUP BY GlobalLocation.HomeServer",
             "     Total Voxtra servers in the same dialing domain (including local server) =");
  WriteCount(g, "Select HomeServer from globallocation group by HomeServer",
             "     Total Voxtra servers seen in directory (including local server)= ");
}

void WriteLicensing(Gathering& g) {
  ReportGuard guard(g.buffer);
  g.buffer.AppendReportLine("");
  g.buffer.AppendReportLine("Voxtra Licensing Information:");
  const std::size_t first = g.buffer.NextLine();
  probes::LicenseData data;
  guard([&] {
    const std::string computer = WorkStationInfo(g.platform.workstation).ComputerName();
    data = probes::GetLicenseData(g.platform.internet, g.platform.xml, computer);
  });
  for (const auto& [key, value] : data.Entries()) g.buffer.AppendReportLine("     " + key + "=" + value);
  // The five flags are listed all the same, as "0": the first of them is
  // the line that shows what was not read.
  if (!data.PageRead() && !data.Entries().empty()) g.buffer.RecordFinding(FindingId::LicensePageUnread, first);
}

void WriteIpConfiguration(Gathering& g) {
  ReportGuard guard(g.buffer);
  g.buffer.AppendReportLine("");
  const std::string commandLine = launch::BatchCommandLine(g.platform.program.InstallFolder(), "ipconfigdump.bat");
  bool ended = false;
  guard([&] {
    launch::RunCaptureBatch(g.platform.process, commandLine, launch::limits::kIpConfigBatch, g.messages);
    ended = true;
  });
  if (!g.platform.files.FileExists(kIpConfigCapture)) {
    if (ended) {
      g.messages.RecordLostPart("ipconfigdump.bat wrote no " + std::string(kIpConfigCapture) + " (" + commandLine +
                                "); the IP configuration is not in the report");
    }
    return;
  }
  std::string output;
  guard([&] {
    auto text = g.platform.files.ReadWholeFile(kIpConfigCapture);
    if (!text) Raise(err::kFileNotFound);
    output = std::move(*text);
  });
  g.buffer.AppendReportLine("OS Platform IP Config Info:");
  g.buffer.AppendReportLine(output);
  guard([&] {
    if (g.platform.files.RemoveFile("C:\\tempipoutput.txt", true) != 0) Raise(err::kPermissionDenied);
  });
}

}  // namespace

void WriteDirectoryStatistics(Gathering& g, probes::VoxtraVersion& version) {
  WriteDirectoryCounts(g);
  if (version.bIsVersionGreaterThanOrEqualTo(4, 0, 1, 51)) WriteLicensing(g);
  WriteIpConfiguration(g);
}

}  // namespace fernwick::report
