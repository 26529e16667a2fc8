#include "common/runtime_error.h"
#include "common/text.h"
#include "probes/configuration_database.h"
#include "probes/registry_api.h"
#include "probes/workstation_info.h"
#include "report/drive_space_block.h"
#include "report/report_guard.h"
#include "report/report_sections.h"

namespace fernwick::report {
namespace {

using probes::RegGetValue;
using probes::RegValueText;
constexpr auto kHklm = platform::kHkeyLocalMachine;
constexpr std::int16_t kDword = 4;

std::string ReadString(Gathering& g, const std::string& key, const std::string& value,
                       const std::string& fallback = {}) {
  return probes::RegGetString(g.platform.registry, key, value, fallback);
}

std::string ReadNumberText(Gathering& g, const std::string& key, const std::string& value) {
  return RegValueText(RegGetValue(g.platform.registry, kHklm, key, value, kDword));
}

void WriteSystemId(Gathering& g) {
  std::string id;
  auto query = g.platform.database.OpenQuery("SELECT * FROM vw_VoxtraSetupParameters WHERE Name='@SystemId'",
                                             probes::kStandardConnectionString);
  if (query.RecordCount() == 0) {
    g.buffer.AppendFindingLine(FindingId::InstallSystemIdMissing,
                               "(error) no entry for the current SystemID in the VoxtraSetupParameters table");
  } else {
    query.MoveFirst();
    const auto& value = query.Field("Value");
    if (!value) Raise(err::kInvalidUseOfNull);
    id = *value;
  }
  query.Close();
  g.buffer.AppendReportLine("     Voxtra System ID = " + id);
}

bool IsFiveOhOne(const probes::ProductVersion& current) {
  return current.iMajor == 5 && current.iMinor == 0 && current.iRelease == 1;
}

// The two builds of 5.0(1) differ by the date of one upgrade script: the
// later build ships it dated 2008 or after.
void WriteVersionLine(Gathering& g, const probes::ProductVersion& current) {
  if (!IsFiveOhOne(current)) {
    g.buffer.AppendReportLine("     Voxtra version = " + current.strVersion);
    return;
  }
  ReportGuard guard(g.buffer);
  std::string language;
  std::string root;
  guard([&] { language = ReadString(g, "SOFTWARE\\Tessaline\\SystemParameters\\1.0", "GUI Language Default"); });
  guard([&] { root = ReadString(g, "SOFTWARE\\Tessaline\\CommServer\\1.0", "Root Path"); });
  int year = 1899;  // the earliest date, when the script cannot be found
  guard([&] {
    const auto modified = g.platform.files.FileLastModified(root + "\\Localize\\DefaultConfiguration\\" + language +
                                                            "\\UpgradeDatabase_003_021.sql");
    if (!modified) Raise(err::kFileNotFound);
    year = modified->year;
  });
  g.buffer.AppendReportLine("     Voxtra version = " + current.strVersion +
                            (year >= 2008 ? " (A Version)" : " (Original Version)"));
}

void WriteVersionWarning(Gathering& g, const probes::ProductVersion& current) {
  if (current.iMajor < 4) {
    g.buffer.AppendFindingLine(
        FindingId::InstallEndOfSupport,
        "     *Warning* - This Version of Voxtra has reached end-of-engineering and end-of-support");
  } else if (current.iMajor == 4) {
    g.buffer.AppendFindingLine(
        FindingId::InstallEndOfEngineering,
        "     *Warning* - This Version of Voxtra has reached end-of-engineering no new fixes will be released");
  }
}

void WritePatches(Gathering& g, probes::VoxtraVersion& version) {
  const std::string block = version.strListESesInstalled();
  g.buffer.AppendReportLine(block.empty() ? "     No patches installed" + std::string(kCrLf)
                                          : "     Patches installed:=" + block);
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
                          const MarkedText& whenEmpty) {
  const std::string path = ReadString(g, key, value);
  if (path.empty()) {
    g.buffer.AppendMarkedLine(whenEmpty);
    return;
  }
  g.buffer.AppendReportLine(label + path);
  DriveSpaceBlock(g, path);
}

// One file of the configuration database, by its logical name in sysfiles.
void WriteDatabaseFile(Gathering& g, const std::string& sql, const std::string& label, const MarkedText& whenEmpty) {
  ReportGuard guard(g.buffer);
  std::string path;
  guard([&] {
    auto query = g.platform.database.OpenQuery(sql, probes::kStandardConnectionString);
    if (query.RecordCount() > 0) {
      query.MoveFirst();
      const auto& value = query.Field("Value");
      if (!value) Raise(err::kInvalidUseOfNull);
      path = Trim(*value);
    } else {
      g.buffer.AppendFindingLine(FindingId::InstallDatabaseFileMissing,
                                 "(error) no entry for the VoxtraDB location in the VoxtraDB sysfiles table");
    }
    query.Close();
  });
  if (path.empty()) {
    g.buffer.AppendMarkedLine(whenEmpty);
    return;
  }
  g.buffer.AppendReportLine(label + path);
  DriveSpaceBlock(g, path);
}

void WriteFailover(Gathering& g) {
  const std::string key = "SOFTWARE\\Tessaline\\TlCsNodeMgr\\1.0";
  const auto primary =
      std::get<std::int32_t>(RegGetValue(g.platform.registry, kHklm, key, "Primary", kDword, std::int32_t{-1}));
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

void WriteInstallInformation(Gathering& g, probes::VoxtraVersion& version) {
  ReportGuard guard(g.buffer);
  guard([&] {
    WorkStationInfo workstation(g.platform.workstation);
    g.buffer.AppendReportLine("     Voxtra server name = " + workstation.ComputerName());
  });
  if (version.bIsVersionGreaterThanOrEqualTo(4, 2, 1, 0)) {
    ReportGuard systemIdGuard(g.buffer);
    bool written = false;
    systemIdGuard([&] {
      WriteSystemId(g);
      written = true;
    });
    // A failed query still leaves the line, with an empty id.
    if (!written) g.buffer.AppendReportLine("     Voxtra System ID = ");
  }
  guard([&] { WriteVersionLine(g, version.CurrentVersion); });
  guard([&] { WriteVersionWarning(g, version.CurrentVersion); });
  guard([&] { WritePatches(g, version); });
  guard([&] { WriteSetupWizardVersion(g); });
  guard([&] {
    WriteStorageLocation(
        g, "SOFTWARE\\Tessaline\\CommServer\\1.0", "Root Path", "     Core install files to= ",
        {FindingId::InstallPathsUnknown, "     Cannot determine location of data and diagnostic logging location"});
  });
  guard([&] {
    WriteStorageLocation(
        g, "SOFTWARE\\Tessaline\\TlLogMgr\\1.0", "Output Path", "     Logging diagnostics and data files to= ",
        {FindingId::InstallPathsUnknown, "     Cannot determine location of data and diagnostic logging location"});
  });
  guard([&] {
    WriteStorageLocation(g, "SOFTWARE\\Tessaline\\VoxtraQMR\\1.00", "MTAStoragePath", "     QMR repository location= ",
                         {FindingId::InstallQmrPathUnknown, "     Cannot determine location of QMR repository"});
  });
  WriteDatabaseFile(g, "Select filename as value from sysfiles where name = 'VoxtraDb'", "     VoxtraDB location= ",
                    {FindingId::InstallDatabasePathUnknown, "     Cannot determine location of VoxtraDb"});
  WriteDatabaseFile(
      g, "Select filename as value from sysfiles where name = 'VoxtraDb_log'", "     VoxtraDB log location= ",
      {FindingId::InstallDatabasePathUnknown, "     Cannot determine location of VoxtraDb Transaction Logs"});
  guard([&] { WriteFailover(g); });
}

}  // namespace fernwick::report
