#pragma once
// The findings the report can carry: every warning, error and advisory line
// has an entry here with its severity, section, title and fix. The code
// that writes such a line names the finding at the same place (see
// ReportBuffer), so the list of findings of a report is never read back
// out of its text.
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace fernwick::report {

// Ordered from worst: error (the product will misbehave), warning (known to
// cause trouble), notice (worth a look).
enum class Severity : std::uint8_t { Error, Warning, Notice };

enum class FindingId : std::uint8_t {
  RuntimeError,
  SqlServerUnreachable,
  InstallEndOfSupport,
  InstallEndOfEngineering,
  InstallSystemIdMissing,
  InstallPathsUnknown,
  InstallQmrPathUnknown,
  InstallDatabaseFileMissing,
  InstallDatabasePathUnknown,
  WdaPolicyNotInstalled,
  Ports3GbMissing,
  PortsUservaMissing,
  PortsLowFragHeapOff,
  PortsBootIniNotFound,
  PortsMapiThreadsLow,
  PromptsRootUnknown,
  PromptsFolderMissing,
  PromptsCheckIncomplete,
  PromptsMissing,
  PromptsListCut,
  UptimeUnparsed,
  QmrModeForced,
  QmrKeysSet,
  CasDetectionInvalid,
  CasDetectionDisabled,
  StatusCheckDisabled,
  AdCatalogKeyMissing,
  AdDomainsKeyMissing,
  AdCatalogNoEntry,
  AdCatalogValueMissing,
  AdCatalogIntervalNoEntry,
  AdCatalogIntervalValueMissing,
  AdControllerIntervalNoEntry,
  AdControllerIntervalValueMissing,
  AdNoActiveDomains,
  DominoNoAddressBooks,
  NotesProxyNotDword,
  SqlServicePackUnknown,
  SqlEditionUnsupported,
  MapiCdoVulnerable,
  MapiCdoDllMissing,
  MapiEmsmdb32Missing,
  MapiBothProviders,
  MapiNoProvider,
  MapiMapi32Missing,
  MapiInconsistent,
  MapiNotForExchange2010,
  SharedMemKeyMissing,
  SharedMemValueMissing,
  SharedMemNotRecommended,
  SharedMemAboveRecommended,
  TcpChimneyEnabled,
  TcpChimneyUnknown,
  RssEnabled,
  RssUnknown,
  LicensePageUnread,
  WriteToFileError,
};

struct FindingInfo {
  FindingId id;
  std::string_view name;  // stable, e.g. "PORTS-USERVA-MISSING"; also the help page's anchor
  Severity severity;
  std::string_view section;  // the report section, as the help page groups them
  std::string_view title;    // one line
  std::string_view meaning;  // what the line means, for the help page
  std::string_view fix;      // with the exact key, value or command; no placeholders: where a fix
                             // names what its line names, finding_fixes.cpp words it
  std::string_view wording;  // the report's own words for it, as a reader searches them
};

// One finding of a report: the line it stands on and what the line names.
struct Finding {
  FindingId id;
  std::size_t line;      // of the report text, 0 for its first line
  std::string evidence;  // that whole line
  std::string process;   // the Voxtra process the line names, if any
  std::string value;     // and its value
};

std::span<const FindingInfo> AllFindings();
const FindingInfo& Info(FindingId id);
// The entry named `name` ("RSS-ENABLED"); none for a name of no entry.
const FindingInfo* FindInfo(std::string_view name);
// "error", "warning", "notice".
std::string_view SeverityName(Severity severity);
// The help page's anchor of a finding: its name.
inline std::string_view HelpAnchor(const FindingInfo& info) {
  return info.name;
}

}  // namespace fernwick::report
