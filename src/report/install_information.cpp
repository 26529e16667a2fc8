#include "common/text.h"
#include "probes/registry_api.h"
#include "report/report_guard.h"
#include "report/report_sections.h"

namespace fernwick::report {
namespace {

using probes::RegGetValue;
using probes::RegValueText;
constexpr auto kHklm = platform::kHkeyLocalMachine;
constexpr std::int16_t kString = 1;
constexpr std::int16_t kDword = 4;

std::string ReadString(Gathering& g, const std::string& key, const std::string& value, std::string fallback = {}) {
  return RegValueText(RegGetValue(g.platform.registry, kHklm, key, value, kString, std::move(fallback)));
}

std::string ReadNumberText(Gathering& g, const std::string& key, const std::string& value) {
  return RegValueText(RegGetValue(g.platform.registry, kHklm, key, value, kDword));
}

void WriteSetupWizardVersion(Gathering& g) {
  const std::string key = "SOFTWARE\\Norvane Systems, Inc.\\System Info\\OS Update";
  std::string text = ReadString(g, key, "Version", "- Not Installed -");
  if (text == "0.0.0.0") {
    text = "- Not Installed -";
  } else if (!ContainsNoCase(text, "Not")) {
    text += " : " + ReadString(g, key, "SUWDate");
  }
  g.buffer.AppendReportLine("     SUW Version : " + text);
}

void WriteStorageLocation(Gathering& g, const std::string& key, const std::string& value, const std::string& label,
                          const std::string& whenEmpty) {
  const std::string path = ReadString(g, key, value);
  g.buffer.AppendReportLine(path.empty() ? whenEmpty : label + path);
}

void WriteFailover(Gathering& g) {
  const std::string key = "SOFTWARE\\Tessaline\\TlCsNodeMgr\\1.0";
  const auto primary = std::get<std::int32_t>(RegGetValue(g.platform.registry, kHklm, key, "Primary", kDword,
                                                           std::int32_t{-1}));
  std::string role = "NOT CONFIGURED";
  if (primary >= 0) {
    role = std::string(primary == 0 ? "Secondary" : "Primary") + std::string(kCrLf) +
           "        Partner Server Name : " + ReadString(g, key, "Partner Server Name") + std::string(kCrLf) +
           "        Partner Server IP : " + ReadString(g, key, "Partner Server IP") + std::string(kCrLf) +
           "        Ping Interval : " + ReadNumberText(g, key, "Ping Interval Ms") + " mSec" + std::string(kCrLf) +
           "        Missed Pings Before Disconnect : " + ReadNumberText(g, key, "Missed Pings Before Disconnect");
  }
  g.buffer.AppendReportLine(std::string(kCrLf) + "    Failover (This server is) : " + role);
}

}  // namespace

void WriteInstallInformation(Gathering& g) {
  ReportGuard guard(g.buffer);
  guard([&] { WriteSetupWizardVersion(g); });
  guard([&] {
    WriteStorageLocation(g, "SOFTWARE\\Tessaline\\CommServer\\1.0", "Root Path", "     Core install files to= ",
                         "     Cannot determine location of data and diagnostic logging location");
  });
  guard([&] {
    WriteStorageLocation(g, "SOFTWARE\\Tessaline\\TlLogMgr\\1.0", "Output Path",
                         "     Logging diagnostics and data files to= ",
                         "     Cannot determine location of data and diagnostic logging location");
  });
  guard([&] {
    WriteStorageLocation(g, "SOFTWARE\\Tessaline\\VoxtraQMR\\1.00", "MTAStoragePath", "     QMR repository location= ",
                         "     Cannot determine location of QMR repository");
  });
  guard([&] { WriteFailover(g); });
}

}  // namespace fernwick::report
