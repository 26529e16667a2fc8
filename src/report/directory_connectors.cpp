#include "common/runtime_error.h"
#include "common/text.h"
#include "probes/registry_api.h"
#include "probes/workstation_info.h"
#include "report/configuration_query.h"
#include "report/report_guard.h"
#include "report/report_registry.h"
#include "report/report_sections.h"

namespace fernwick::report {
namespace {

using probes::RegEnumSubkeys;
using probes::RegKeyExists;
constexpr auto kHklm = platform::kHkeyLocalMachine;

const std::string kGlobalCatalogKey =
    "SOFTWARE\\Tessaline\\Directory Connectors\\DirSynchGlobalCatalog\\1.00\\Directory";
const std::string kAdDomainsKey = "SOFTWARE\\Tessaline\\Directory Connectors\\DirSynchAD\\1.00\\Domains";
const std::string kDominoMailServersKey =
    "SOFTWARE\\Tessaline\\Directory Connectors\\DirSynchDomino\\1.00\\Mail Servers";
const std::string kDominoMonitoredServersKey =
    "SOFTWARE\\Tessaline\\Directory Connectors\\DirSynchDomino\\1.00\\Monitored Servers";
const std::string kNotesProxyKey = "SOFTWARE\\Tessaline\\NotesProxy";

std::string DropLastTwo(const std::string& text) {
  return text.size() >= 2 ? text.substr(0, text.size() - 2) : std::string();
}

void WriteRegistryDirectory(Gathering& g) {
  ReportGuard guard(g.buffer);
  auto& registry = g.platform.registry;
  guard([&] {
    MarkedText server = ReadRegString(registry, kGlobalCatalogKey, "DefaultGlobalCatalogServer");
    if (server.text.empty()) {
      server = {FindingId::AdCatalogKeyMissing,
                " *** Warning - RegKey SW_TL_DIRECTORYCONNECTORS_DIRSYNCHGLOBALCATALOG_100_DIRECTORY Not Found"};
    }
    g.buffer.AppendMarkedLine("     Global Catalog Server=" + server);
  });
  guard([&] {
    MarkedText list;
    if (RegKeyExists(registry, kHklm, kAdDomainsKey)) {
      std::string names;
      for (const std::string& name : RegEnumSubkeys(registry, kHklm, kAdDomainsKey)) {
        names +=
            name + ": " + ReadRegString(registry, kAdDomainsKey + "\\" + Trim(name), "DefaultDomainController") + ", ";
      }
      list = DropLastTwo(names);
    } else {
      list = {FindingId::AdDomainsKeyMissing,
              " *** Warning - RegKey SW_TL_DIRECTORYCONNECTORS_DIRSYNCHAD_100_DOMAINS Not Found"};
    }
    g.buffer.AppendMarkedLine("     Domain Controllers=" + list);
  });
}

// One configuration node: its NodeValue (with `suffix`), the entry-exists
// text for an empty or NULL value, or "" after writing the no-entry line.
MarkedText ReadDirectoryNode(Gathering& g, const std::string& fullNodeName, const std::string& suffix,
                             const MarkedText& valueMissing, const MarkedText& noEntry) {
  auto query = OpenReportQuery(g, "SELECT * FROM vw_Configuration WHERE FullNodeName='" + fullNodeName + "'");
  if (!query) return {};
  ReportGuard guard(g.buffer);
  MarkedText text;
  if (query->RecordCount() >= 1) {
    std::string value;
    guard([&] {
      query->MoveFirst();
      const auto& field = query->Field("NodeValue");
      if (!field) Raise(err::kInvalidUseOfNull);
      value = *field;
    });
    text = value.empty() ? valueMissing : MarkedText(value + suffix);
  } else {
    g.buffer.AppendMarkedLine(noEntry);
  }
  guard([&] { query->Close(); });
  return text;
}

MarkedText DomainControllers(Gathering& g) {
  auto query = OpenReportQuery(g, "SELECT * FROM vw_ADDomain");
  if (!query) return {};
  ReportGuard guard(g.buffer);
  MarkedText text;
  if (query->RecordCount() >= 1) {
    guard([&] { query->MoveFirst(); });
    while (!query->Eof()) {
      guard([&] {
        text += std::string(kCrLf) + "          " + JoinedText(query->Field("DomainName")) + " : " +
                JoinedText(query->Field("CurrentDC"));
      });
      query->MoveNext();
    }
  } else {
    text = {FindingId::AdNoActiveDomains, "(error) No active domains found in the ADDomain table"};
  }
  guard([&] { query->Close(); });
  return text;
}

void WriteDatabaseDirectory(Gathering& g) {
  const MarkedText gc =
      ReadDirectoryNode(g, "System.DirectoryConnectors.ActiveDirectory.DSGC.CurrentGC", "",
                        {FindingId::AdCatalogValueMissing,
                         "(error) entry exists for the current global catalog server, however the NodeValue is missing "
                         "from the configuration table"},
                        {FindingId::AdCatalogNoEntry,
                         "(error) no entry for the current global catalog server found in the configuration table"});
  g.buffer.AppendMarkedLine(std::string(kCrLf) + "     Global Catalog Server = " + gc);
  const MarkedText gcInterval = ReadDirectoryNode(
      g, "System.DirectoryConnectors.ActiveDirectory.DSGC.SynchInterval", " min(s)",
      {FindingId::AdCatalogIntervalValueMissing,
       "(error) entry exists for the global catalog sync interval, however the NodeValue is missing from the "
       "configuration table"},
      {FindingId::AdCatalogIntervalNoEntry,
       "(error) no entry for the global catalog sync interval found in the configuration table"});
  g.buffer.AppendMarkedLine("          Sync Interval = " + gcInterval);
  g.buffer.AppendMarkedLine("     Domain Controllers (Domain : DC)" + DomainControllers(g));
  const MarkedText dcInterval = ReadDirectoryNode(
      g, "System.DirectoryConnectors.ActiveDirectory.DSAD.SynchInterval", " min(s)",
      {FindingId::AdControllerIntervalValueMissing,
       "(error) entry exists for the Domain Controller sync interval, however the NodeValue is missing from the "
       "configuration table"},
      {FindingId::AdControllerIntervalNoEntry,
       "(error) no entry for the Domain Controller sync interval found in the configuration table"});
  g.buffer.AppendMarkedLine("          Sync Interval = " + dcInterval);
}

void WriteMailServers(Gathering& g) {
  auto& registry = g.platform.registry;
  std::string list;
  for (const std::string& name : RegEnumSubkeys(registry, kHklm, kDominoMailServersKey)) {
    const std::string key = kDominoMailServersKey + "\\" + Trim(name);
    list += name + "=" + " Database:" + ReadRegString(registry, key, "Database") +
            " Domain Name:" + ReadRegString(registry, key, "DomainName") +
            " Server Name:" + ReadRegString(registry, key, "ServerName") + ", ";
  }
  g.buffer.AppendReportLine("     Mail Servers=" + DropLastTwo(list));
}

void WriteAddressBooks(Gathering& g) {
  MarkedText text;
  if (auto query = OpenReportQuery(g, "SELECT * FROM dominoaddressbook")) {
    ReportGuard guard(g.buffer);
    if (query->RecordCount() >= 1) {
      guard([&] { query->MoveFirst(); });
      while (!query->Eof()) {
        guard([&] {
          text += std::string(kCrLf) + "          Display Name : " + JoinedText(query->Field("DisplayName")) +
                  std::string(kCrLf) + "          Address Book Name : " + JoinedText(query->Field("AddressBook")) +
                  std::string(kCrLf) + "          Server : " + JoinedText(query->Field("Server")) + std::string(kCrLf) +
                  "          Domino Domain : " + JoinedText(query->Field("Domain")) + std::string(kCrLf);
        });
        query->MoveNext();
      }
    } else {
      text = {FindingId::DominoNoAddressBooks,
              "         (error) No active Address Books found in the DominoAddressBook table"};
    }
    guard([&] { query->Close(); });
  }
  g.buffer.AppendMarkedLine(std::string(kCrLf) + "     Address Book Information : " + text);
}

void WriteDominoDirectory(Gathering& g) {
  ReportGuard guard(g.buffer);
  auto& registry = g.platform.registry;
  bool mailServers = false;
  guard([&] {
    mailServers = RegKeyExists(registry, kHklm, kDominoMailServersKey) &&
                  probes::UpperBound(RegEnumSubkeys(registry, kHklm, kDominoMailServersKey)) != 0;
  });
  if (mailServers) {
    guard([&] { WriteMailServers(g); });
  } else {
    WriteAddressBooks(g);
  }
}

// The proxy setting as text: the number, "Default" when it is not set, a
// warning when it is set with another type than a 32-bit number.
MarkedText NotesProxySetting(Gathering& g, const std::string& value, const std::string& unit) {
  const std::uint32_t type = probes::RegGetValueType(g.platform.registry, kHklm, kNotesProxyKey, value);
  if (type == platform::kRegDword) return ReadRegNumberText(g.platform.registry, kNotesProxyKey, value) + unit;
  if (type == 0) return "Default";
  return {FindingId::NotesProxyNotDword, "Default - *** Warning key present but should be a DWORD *** "};
}

void WriteNotesProxy(Gathering& g) {
  ReportGuard guard(g.buffer);
  g.buffer.AppendReportLine("     Notes Proxy :");
  guard([&] {
    g.buffer.AppendMarkedLine("         Timeout Count = " + NotesProxySetting(g, "TimeoutThresholdCount", ""));
  });
  guard([&] {
    g.buffer.AppendMarkedLine("         Execution Timeout = " + NotesProxySetting(g, "ExecutionTimeoutMs", " mSec") +
                              std::string(kCrLf));
  });
  guard([&] {
    g.buffer.AppendReportLine("     Directory Sync Interval = " +
                              ReadRegNumberText(g.platform.registry, kDominoMonitoredServersKey, "ResynchInterval") +
                              " min(s)" + std::string(kCrLf));
  });
}

}  // namespace

void WriteDirectoryConnectorSettings(Gathering& g, probes::VoxtraVersion& version, const BackEnd& backEnd) {
  ReportGuard guard(g.buffer);
  guard([&] {
    WorkStationInfo workstation(g.platform.workstation);
    g.buffer.AppendReportLine("     Active Directory domain = " + workstation.Domain());
  });
  if (backEnd.BackEndType == kBackEndActiveDirectory) {
    if (!version.bIsVersionGreaterThanOrEqualTo(4, 0, 3, 122)) {
      WriteRegistryDirectory(g);
    } else {
      WriteDatabaseDirectory(g);
    }
  }
  if (backEnd.BackEndType == kBackEndDomino) {
    WriteDominoDirectory(g);
    WriteNotesProxy(g);
  }
}

}  // namespace fernwick::report
