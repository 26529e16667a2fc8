#include "common/conversions.h"
#include "common/runtime_error.h"
#include "common/text.h"
#include "probes/exchange_info.h"
#include "probes/file_version_info.h"
#include "probes/registry_api.h"
#include "probes/version_compare.h"
#include "probes/workstation_info.h"
#include "report/configuration_query.h"
#include "report/report_guard.h"
#include "report/report_registry.h"
#include "report/report_sections.h"
#include "report/service_pack_tables.h"
#include "report/sql_server_version.h"

namespace fernwick::report {
namespace {

using probes::RegKeyExists;
constexpr auto kHklm = platform::kHkeyLocalMachine;

const std::string kCdoProviderKey = "SOFTWARE\\Clients\\Mail\\ExchangeMAPI";
const std::string kExchangeSetupKey = "SOFTWARE\\Microsoft\\Exchange\\Setup";
const std::string kOutlookKey = "SOFTWARE\\Microsoft\\Office\\Outlook";
const std::string kOutlook8Key = "SOFTWARE\\Microsoft\\Office\\8.0\\Outlook";
const std::string kLotusNotesKey = "SOFTWARE\\Lotus\\Notes";
const std::string kMapiApplicationsKey = "SOFTWARE\\Microsoft\\Windows Messaging Subsystem\\Applications\\";
const std::string kTcpIpKey = "SYSTEM\\CurrentControlSet\\Services\\Tcpip\\Parameters";
const std::string kConversationsKey = "SOFTWARE\\Tessaline\\Conversations\\1.0";
const std::string kMessageStoreClientKey = "SOFTWARE\\Tessaline\\MalEx\\1.0";
const std::string kRecommendedSharedMemory = "4194304";
const std::string kWindowsCurrentVersionKey = "Software\\Microsoft\\Windows NT\\CurrentVersion";

// The working values of the section, reset where the provider is determined.
struct MapiProvider {
  bool bCdoFound = false;
  bool bExchangeToolsFound = false;
  bool bCdoCurrent = false;
  MarkedText strMapiProvider;
  std::string strExchangeToolsVersion;
};

struct Section {
  Gathering& g;
  const BackEnd& backEnd;
  std::string strSystem32;
  MapiProvider mapi;
  SqlVersionPieces sql;
};

std::string FileVersionOf(Gathering& g, const std::string& path) {
  CFileVersionInfo info(g.platform.versions, g.platform.files);
  info.FullPathName(path);
  return info.FileVersion();
}

void DetermineCdo(Section& s) {
  auto& g = s.g;
  if (!RegKeyExists(g.platform.registry, kHklm, kCdoProviderKey)) return;
  const std::string dll = ReadRegString(g.platform.registry, kCdoProviderKey, "DLLPathEx");
  if (dll.empty()) return;
  if (g.platform.files.FileExists(dll)) {
    const std::string version = FileVersionOf(g, dll);
    probes::VersionCompare compare(g.messages);
    s.mapi.bCdoCurrent = compare.CompareVersions(version, "6.5.8190.0") != "LESSER";
    s.mapi.strMapiProvider = "CDO Version - " + version;
    if (!s.mapi.bCdoCurrent) {
      s.mapi.strMapiProvider +=
          MarkedText(FindingId::MapiCdoVulnerable, " (*** WARNING : This version is vulnerable to QDFaa10003 ***)");
    }
  } else {
    s.mapi.strMapiProvider = {FindingId::MapiCdoDllMissing,
                              "CDO Version - *Warning* - Registry Key Exists but couldn't find DLL"};
  }
  s.mapi.bCdoFound = true;
}

void DetermineExchangeTools(Section& s) {
  auto& g = s.g;
  const std::string emsmdb32 = s.strSystem32 + "EMSMDB32.dll";
  if (g.platform.files.FileExists(emsmdb32)) {
    s.mapi.bExchangeToolsFound = true;
    s.mapi.strExchangeToolsVersion = FileVersionOf(g, emsmdb32);
    probes::ExchangeInfo builds(g.messages);
    const std::string description = builds.GetDescription(s.mapi.strExchangeToolsVersion);
    s.mapi.strMapiProvider = (description.empty() ? "Microsoft Exchange Server" : description) + " - build " +
                             s.mapi.strExchangeToolsVersion;
  } else if (RegKeyExists(g.platform.registry, kHklm, kExchangeSetupKey)) {
    const std::int32_t build = ReadRegNumber(g.platform.registry, kExchangeSetupKey, "ServicePackBuild");
    if (build < 1) {
      s.mapi.strMapiProvider = {};
      return;
    }
    s.mapi.bExchangeToolsFound = true;
    const auto servicePack = ExchangeServicePackText(build, emsmdb32);
    s.mapi.strMapiProvider =
        servicePack ? s.backEnd.strPartnerExchange + " build " + std::to_string(build) + *servicePack : MarkedText();
  }
}

void WriteSqlServer(Section& s) {
  auto& g = s.g;
  ReportGuard guard(g.buffer);
  std::unique_ptr<platform::ServerConnection> server;
  // Each query runs on the server connection and opens it when it is not
  // open yet, so an unreachable server leaves an error line before each of
  // the two label lines.
  const auto execute = [&](const std::string& sql) {
    if (!server) {
      WorkStationInfo workstation(g.platform.workstation);
      server = g.platform.database.OpenServer("Provider=SQLOLEDB;Server=" + workstation.ComputerName() +
                                              ";Trusted_Connection=Yes;");
    }
    auto result = server->Execute(sql);
    result.MoveFirst();
    std::string text = JoinedText(result.Field(std::size_t{0}));
    result.Close();
    return text;
  };
  std::string version;
  std::string edition;
  bool versionRead = false;
  bool editionRead = false;
  guard([&] {
    version = execute("select @@version");
    versionRead = true;
  });
  std::string servicePack;
  if (versionRead) {
    guard([&] { SplitSqlVersion(version, s.sql); });
    guard([&] { s.sql.strSqlFirstLine = SqlProductText(s.sql.strSqlFirstLine); });
    guard([&] { servicePack = SqlServicePackText(static_cast<long>(Val(SqlBuildNumber(s.sql.strSqlFirstLine)))); });
  }
  MarkedText versionLine = "     SQL Version = " + s.sql.strSqlFirstLine + servicePack;
  if (servicePack == ": unknown SP") versionLine.marks.push_back({0, FindingId::SqlServicePackUnknown, {}, {}});
  g.buffer.AppendMarkedLine(versionLine);
  guard([&] {
    edition = execute("select SERVERPROPERTY('edition')");
    editionRead = true;
  });
  server.reset();
  MarkedText line = "     SQL Edition = " + edition;
  if (editionRead && !ContainsNoCase(edition, "Desktop") && !ContainsNoCase(edition, "Standard")) {
    line.text += " (This version is not supported)";
    line.marks.push_back({0, FindingId::SqlEditionUnsupported, {}, {}});
  }
  g.buffer.AppendMarkedLine(line);
}

void WriteWindowsVersion(Section& s) {
  WorkStationInfo workstation(s.g.platform.workstation);
  const std::string windows = std::to_string(workstation.VerMajor()) + "." + std::to_string(workstation.VerMinor()) +
                              " " + s.sql.strSqlBuildText;
  s.g.buffer.AppendReportLine("     Windows version = " + windows);
}

void WriteOutlook(Section& s) {
  auto& registry = s.g.platform.registry;
  std::string text = "     Outlook is not installed on the local server";
  if (RegKeyExists(registry, kHklm, kOutlookKey)) {
    if (!s.mapi.bCdoFound) text = "     Outlook maybe installed on the local server";
    if (RegKeyExists(registry, platform::kHkeyClassesRoot, "outlook")) {
      text = "     Outlook is installed on the local server";
    }
  } else if (RegKeyExists(registry, kHklm, kOutlook8Key)) {
    text = "     Outlook maybe installed on the local server";
  }
  s.g.buffer.AppendReportLine(text);
}

MarkedText MapiProviderText(Section& s) {
  const MapiProvider& m = s.mapi;
  if (m.bCdoFound && m.bExchangeToolsFound) {
    return {FindingId::MapiBothProviders, "*ERROR* - Unsupported - Both CDO & Exchange Tools Detected"};
  }
  if (!m.bCdoFound && !m.bExchangeToolsFound) {
    return {FindingId::MapiNoProvider, "*Error* - CDO or Exchange Tool MAPI provider not found"};
  }
  if (m.bCdoFound) return m.strMapiProvider;
  const std::string mapi32 = s.strSystem32 + "MAPI32.dll";
  if (!s.g.platform.files.FileExists(mapi32)) return {FindingId::MapiMapi32Missing, "*ERROR* - MAPI32.DLL Not Found"};
  const std::string mapiVersion = FileVersionOf(s.g, mapi32);
  if (ContainsNoCase(mapiVersion.substr(0, 4), m.strExchangeToolsVersion.substr(0, 4))) return m.strMapiProvider;
  return {FindingId::MapiInconsistent, "*WARNING* - Not consistant with Exchange Management Tools"};
}

void WriteMapiProvider(Section& s) {
  MarkedText text = MapiProviderText(s);
  if (!s.mapi.bCdoFound && s.backEnd.bPartnerIsExchange2007) {
    text += MarkedText(FindingId::MapiNotForExchange2010, " (NOT Valid if Partner Exchange is 2010)");
  } else if (s.mapi.bCdoFound && !s.backEnd.bPartnerIsExchange2007 && !s.mapi.bExchangeToolsFound) {
    text += " CDO Detected & No Exchange System Management : Mailstore is not Exchage 2007/2010";
  }
  s.g.buffer.AppendMarkedLine("     MAPI Provider : " + text);
}

// More than recommended is someone's choice, not a fault.
std::optional<FindingId> SharedMemoryFinding(const probes::RecommendedDword& checked) {
  switch (checked.outcome) {
    case probes::DwordCheck::KeyMissing: return FindingId::SharedMemKeyMissing;
    case probes::DwordCheck::ValueMissing: return FindingId::SharedMemValueMissing;
    case probes::DwordCheck::OtherValue:
      return Val(checked.value) > Val(kRecommendedSharedMemory) ? FindingId::SharedMemAboveRecommended
                                                                : FindingId::SharedMemNotRecommended;
    case probes::DwordCheck::Recommended: break;
  }
  return std::nullopt;
}

void WriteSharedMemory(Section& s, const probes::VoxtraVersion& version) {
  ReportGuard guard(s.g.buffer);
  s.g.buffer.AppendReportLine("     MAPI Shared Memory: (HKLM:" + kMapiApplicationsKey +
                              "<process>\\SharedMemMaxSize)");
  std::vector<std::string> processes = {"TlCsMgr",         "TlMsgStoreMonitorSvr", "TlNotifierMgr",  "TlQMRSyncSvr",
                                        "CsBMsgConnector", "CsBridgeConnector",    "CsVpimConnector"};
  if (version.CurrentVersion.iMajor >= 8) processes.push_back("NvDohMgr");
  // HKEY_LOCAL_MACHINE as a signed number, as the check takes its hive.
  const std::string hive = std::to_string(static_cast<std::int32_t>(platform::kHkeyLocalMachine));
  for (const std::string& process : processes) {
    guard([&] {
      const auto checked = probes::CheckRecommendedDword(s.g.platform.registry, hive, kMapiApplicationsKey, process,
                                                         "SharedMemMaxSize", kRecommendedSharedMemory);
      MarkedText line = "            " + checked.text;
      if (const auto id = SharedMemoryFinding(checked)) line.marks.push_back({0, *id, process, checked.value});
      s.g.buffer.AppendMarkedLine(line);
    });
  }
}

// `enabled` and `unknown`: the findings of the values 1 and neither 0 nor 1.
void WriteOffloadSetting(Section& s, const std::string& value, const std::string& label, FindingId enabled,
                         FindingId unknown) {
  if (!RegKeyExists(s.g.platform.registry, kHklm, kTcpIpKey)) return;
  const std::int32_t setting = ReadRegNumber(s.g.platform.registry, kTcpIpKey, value);
  const MarkedText text = setting == 0   ? MarkedText("Disabled")
                          : setting == 1 ? MarkedText(enabled, "Enabled - Warning may cause MAPI delay issues")
                                         : MarkedText(unknown, "Possibly Enabled");
  s.g.buffer.AppendMarkedLine(label + text);
}

// One "name : 0" or "name : 1" line of the registry block, nothing for
// other values.
std::string RegistrySwitchLine(Section& s, const std::string& key, const std::string& value, const std::string& label,
                               bool lineEnd) {
  const std::int32_t setting = ReadRegNumber(s.g.platform.registry, key, value);
  if (setting != 0 && setting != 1) return {};
  return "         " + label + " : " + std::to_string(setting) + (lineEnd ? std::string(kCrLf) : std::string());
}

std::string ReceiptsFromRegistry(Section& s) {
  return "         *Pulled from Registry*" + std::string(kCrLf) +
         RegistrySwitchLine(s, kConversationsKey, "ExcludeAllReceipts", "Exclude All Reciepts", true) +
         RegistrySwitchLine(s, kConversationsKey, "ExcludeReturnReceipts", "Exclude Return Receipts", true) +
         RegistrySwitchLine(s, kMessageStoreClientKey, "DisableSearchFolderUse", "DisableSearchFolderUse", true) +
         RegistrySwitchLine(s, kMessageStoreClientKey, "MinSearchFolderLifeHours", "MinSearchFolderLifeHours", false);
}

void WriteReceipts(Section& s) {
  ReportGuard guard(s.g.buffer);
  std::string block;
  bool fromDatabase = false;
  // A query that fails falls back to the registry block, which still tells
  // the support engineer how receipts are set.
  if (auto query = OpenReportQuery(s.g,
                                   "SELECT nodename, nodevalue FROM Configuration WHERE (FullNodeName LIKE "
                                   "'%exclude%') OR (FullNodeName LIKE '%searchfolder%')")) {
    if (query->RecordCount() >= 1) {
      fromDatabase = true;
      block = "         *Pulled from VoxtraDB Configuration Table*";
      guard([&] { query->MoveFirst(); });
      while (!query->Eof()) {
        guard([&] {
          block += std::string(kCrLf) + "         " + JoinedText(query->Field("nodename")) + " : " +
                   JoinedText(query->Field("nodevalue"));
        });
        query->MoveNext();
      }
    }
    guard([&] { query->Close(); });
  }
  if (!fromDatabase) guard([&] { block = ReceiptsFromRegistry(s); });
  s.g.buffer.AppendReportLine(block);
}

void WriteLotusNotes(Section& s) {
  auto& registry = s.g.platform.registry;
  if (!RegKeyExists(registry, kHklm, kLotusNotesKey)) {
    s.g.buffer.AppendReportLine("     Notes is not installed on the local server");
    return;
  }
  const auto subkeys = probes::RegEnumSubkeys(registry, kHklm, kLotusNotesKey);
  const std::string last = subkeys.at(static_cast<std::size_t>(probes::UpperBound(subkeys)));
  s.g.buffer.AppendReportLine("     Notes Install Directory = " +
                              ReadRegString(registry, kLotusNotesKey + "\\" + Trim(last), "Path"));
}

}  // namespace

void WriteMessagingChecks(Gathering& g, probes::VoxtraVersion& version, const BackEnd& backEnd) {
  ReportGuard guard(g.buffer);
  Section s{g, backEnd, {}, {}, {}};
  guard([&] {
    s.strSystem32 = ReadRegString(g.platform.registry, kWindowsCurrentVersionKey, "SystemRoot") + "\\system32\\";
  });
  if (backEnd.BackEndType != kBackEndDomino) {
    g.buffer.AppendReportLine(" ");
    s.mapi = MapiProvider{};
    guard([&] { DetermineCdo(s); });
    guard([&] { DetermineExchangeTools(s); });
  }
  WriteSqlServer(s);
  guard([&] { WriteWindowsVersion(s); });
  if (backEnd.BackEndType != kBackEndDomino) {
    guard([&] { WriteOutlook(s); });
    guard([&] { WriteMapiProvider(s); });
    WriteSharedMemory(s, version);
    g.buffer.AppendReportLine(" ");
    guard([&] {
      WriteOffloadSetting(s, "EnableTCPChimney", "         TCPChimney : ", FindingId::TcpChimneyEnabled,
                          FindingId::TcpChimneyUnknown);
    });
    guard(
        [&] { WriteOffloadSetting(s, "EnableRSS", "         RSS : ", FindingId::RssEnabled, FindingId::RssUnknown); });
    WriteReceipts(s);
  } else {
    guard([&] { WriteLotusNotes(s); });
  }
}

}  // namespace fernwick::report
