#include "probes/voxtra_version.h"
#include "report/gathering.h"
#include "report/report_guard.h"
#include "report/report_sections.h"

namespace fernwick::report {

GatheringOutcome GetSystemInfo(Gathering& g) {
  ReportGuard guard(g.buffer);
  probes::VoxtraVersion version(g.platform.registry, g.platform.files, g.messages);
  guard([&] { version.CurrentVersion = version.getVersion(); });
  if (g.storedVersion != nullptr) *g.storedVersion = version.CurrentVersion;
  if (version.CurrentVersion.iMajor < 3) {
    if (!g.session.bSilentMode) g.messages.Show("The Fernwick Tool only works with Voxtra 3.0(1) and later");
    return GatheringOutcome::EndProgram;
  }
  CFileVersionInfo fileVersion(g.platform.versions, g.platform.files);
  WriteReportHeader(g);
  WriteInstallInformation(g, version);
  WriteSecuritySettings(g, version);
  WriteTelephonySettings(g, version, fileVersion);
  WriteLanguageSettings(g);
  BackEnd backEnd;  // settled by the environment section, read by the next two
  WriteEnvironmentInformation(g, backEnd);
  WriteDirectoryConnectorSettings(g, version, backEnd);
  WriteMessagingChecks(g, version, backEnd);
  WriteDirectoryStatistics(g, version);
  return GatheringOutcome::Finished;
}

}  // namespace fernwick::report
