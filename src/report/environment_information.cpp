#include "common/runtime_error.h"
#include "common/text.h"
#include "launch/command_lines.h"
#include "launch/wait_limits.h"
#include "report/report_guard.h"
#include "report/report_registry.h"
#include "report/report_sections.h"
#include "report/system_uptime.h"

namespace fernwick::report {
namespace {

const std::string kSystemParametersKey = "SOFTWARE\\Tessaline\\SystemParameters\\1.0";
const std::string kWatchdogKey = "SOFTWARE\\Tessaline\\TlWm\\1.00";
const std::string kDirectoryHandlerKey = "SOFTWARE\\Tessaline\\Doh\\1.00";
const std::string kMessageRepositoryKey = "SOFTWARE\\Tessaline\\VoxtraQMR\\1.00";
const std::string kPermissionsWizardKey = "SOFTWARE\\Tessaline\\PermissionsWizard\\1.0";
const std::string kExchange55ConnectorKey = "SOFTWARE\\Tessaline\\Directory Connectors\\DirSynchEx55\\1.00\\Server";
const std::string kExchangeSetupKey = "SOFTWARE\\Microsoft\\Exchange\\Setup";

// si.bat writes the `systeminfo` output here.
constexpr const char* kSystemInfoCapture = "c:\\si.txt";

void WriteSystemUptime(Gathering& g) {
  ReportGuard guard(g.buffer);
  const std::string commandLine = launch::BatchCommandLine(g.platform.program.InstallFolder(), "si.bat");
  bool ended = false;
  guard([&] {
    launch::RunCaptureBatch(g.platform.process, commandLine, launch::limits::kSystemInfoBatch, g.messages);
    ended = true;
  });
  if (!g.platform.files.FileExists(kSystemInfoCapture)) {
    // cmd.exe denied C:\ (no elevation), blocked by policy, a path too long:
    // the uptime is missing, and the record says why it may be.
    if (ended) {
      g.messages.RecordLostPart("si.bat wrote no " + std::string(kSystemInfoCapture) + " (" + commandLine +
                                "); the system uptime is not in the report");
    }
    return;
  }
  std::string output;
  guard([&] {
    auto text = g.platform.files.ReadWholeFile(kSystemInfoCapture);
    if (!text) Raise(err::kFileNotFound);
    output = std::move(*text);
  });
  std::string uptime;
  guard([&] { uptime = UptimeText(output); });
  if (uptime == "Unable to parse windows systeminfo output") {
    g.buffer.AppendFindingLine(FindingId::UptimeUnparsed, "     System Uptime: " + uptime);
  } else {
    g.buffer.AppendReportLine("     System Uptime: " + uptime);
  }
  guard([&] {
    if (g.platform.files.RemoveFile("C:\\si.txt", true) != 0) Raise(err::kPermissionDenied);
  });
}

void WriteBackEnd(Gathering& g, BackEnd& backEnd) {
  const std::string progId = ReadRegString(g.platform.registry, kSystemParametersKey, "IDCProgID");
  if (EqualsNoCase(progId, "TLDsDomino.TlIDCDomino.1")) {
    backEnd.BackEndType = kBackEndDomino;
    g.buffer.AppendReportLine("     Back end is Domino");
  } else if (EqualsNoCase(progId, "TlIDCADSvr.TlIDCAD.1")) {
    backEnd.BackEndType = kBackEndActiveDirectory;
  } else {
    backEnd.BackEndType = kBackEndExchange55;
    g.buffer.AppendReportLine("     Back end is Exchange 5.5");
  }
}

void WriteQmrMode(Gathering& g) {
  auto& registry = g.platform.registry;
  const bool allServersDown = ReadRegNumber(registry, kWatchdogKey, "All Servers Down") == 1;
  const bool logonNotDefault = ReadRegNumber(registry, kDirectoryHandlerKey, "LogonDefault") != 7;
  const bool emulateExchangeDown = ReadRegNumber(registry, kMessageRepositoryKey, "EmulateExDown") == 1;
  MarkedText mode = "Normal Operations";
  if (allServersDown && logonNotDefault && emulateExchangeDown) {
    mode = {FindingId::QmrModeForced, "*** ALERT *** FORCED QMR Mode ENABLED"};
  } else if (allServersDown || logonNotDefault || emulateExchangeDown) {
    mode = {FindingId::QmrKeysSet, "* Warning * Some registry keys are set that may cause QMR Mode"};
  }
  g.buffer.AppendMarkedLine("     QMR Mode : " + mode);
}

void WriteCasDetection(Gathering& g) {
  const std::int32_t disabled = ReadRegNumber(g.platform.registry, kWatchdogKey, "Disable CAS Server Detection");
  if (disabled >= 2) {
    g.buffer.AppendFindingLine(FindingId::CasDetectionInvalid,
                               "     *** Warning : CAS Server Detection is neither 1 or 0 - QDFaa10002 ***");
  } else if (disabled == 1) {
    g.buffer.AppendFindingLine(FindingId::CasDetectionDisabled,
                               "     *** Warning : CAS Server Detection :  Disabled ***");
  } else {
    g.buffer.AppendReportLine("     CAS Server Detection : Enabled");
  }
}

void WritePartnerRelease(Gathering& g, BackEnd& backEnd) {
  const std::string store = ReadRegNumberText(g.platform.registry, kPermissionsWizardKey, "MessageStore");
  if (store == "1") {
    g.buffer.AppendReportLine("     Partner is Exchange 2000");
  } else if (store == "8") {
    g.buffer.AppendReportLine("     Partner is Exchange 2003");
  } else if (store == "16") {
    g.buffer.AppendReportLine("     Partner is Exchange 2007 / 2010");
    backEnd.bPartnerIsExchange2007 = true;
    WriteCasDetection(g);
  }
}

void WritePartnerServer(Gathering& g, BackEnd& backEnd) {
  auto& registry = g.platform.registry;
  switch (backEnd.BackEndType) {
    case kBackEndExchange55:
      g.buffer.AppendReportLine("     Partner Exchange Server Name = " +
                                ReadRegString(registry, kExchange55ConnectorKey, "Exchange Server"));
      backEnd.strPartnerExchange = "Exchange 5.5";
      break;
    case kBackEndActiveDirectory:
      g.buffer.AppendReportLine("     Partner Exchange Server Name= " +
                                ReadRegString(registry, kDirectoryHandlerKey, "Mail Server Name"));
      backEnd.strPartnerExchange = "Exchange 2000";
      if (ReadRegNumber(registry, kExchangeSetupKey, "NewestBuild") >= 6940)
        backEnd.strPartnerExchange = "Exchange 2003";
      break;
    case kBackEndDomino:
      g.buffer.AppendReportLine("     Partner Domino Server = " +
                                ReadRegString(registry, kDirectoryHandlerKey, "Mail Server Name"));
      break;
    default: break;
  }
}

void WriteServerStatusCheck(Gathering& g) {
  const std::string disabled = ReadRegNumberText(g.platform.registry, kWatchdogKey, "Disable Server Status Check");
  if (disabled == "0") {
    g.buffer.AppendReportLine("          Server Status Check = Enabled");
    g.buffer.AppendReportLine("          Server Ping Interval = " +
                              ReadRegNumberText(g.platform.registry, kWatchdogKey, "Server Ping Period in msecs") +
                              " mSec");
  } else if (disabled == "1") {
    g.buffer.AppendFindingLine(FindingId::StatusCheckDisabled, "          Server Status Check = *** DISABLED ****");
  }
}

}  // namespace

void WriteEnvironmentInformation(Gathering& g, BackEnd& backEnd) {
  ReportGuard guard(g.buffer);
  backEnd.bPartnerIsExchange2007 = false;
  g.buffer.AppendReportLine("Environment Information:");
  WriteSystemUptime(g);
  guard([&] { WriteBackEnd(g, backEnd); });
  if (backEnd.BackEndType == kBackEndActiveDirectory) {
    guard([&] { WriteQmrMode(g); });
    guard([&] { WritePartnerRelease(g, backEnd); });
  }
  guard([&] { WritePartnerServer(g, backEnd); });
  guard([&] { WriteServerStatusCheck(g); });
}

}  // namespace fernwick::report
