#pragma once
// The stretches of the report, in the order GetSystemInfo writes them.
#include "probes/file_version_info.h"
#include "probes/voxtra_version.h"
#include "report/back_end.h"
#include "report/gathering.h"

namespace fernwick::report {

// "TORB Version = ", "Gather Date/Time = " and the section title.
void WriteReportHeader(Gathering& g);
// "Voxtra Install Information:" up to the failover role.
void WriteInstallInformation(Gathering& g, probes::VoxtraVersion& version);
// Quality of service and security settings (5.0 and later), then an empty line.
void WriteSecuritySettings(Gathering& g, probes::VoxtraVersion& version);
// Telephony provider, host security agent, platform code, switches, ports
// and the recording codec.
void WriteTelephonySettings(Gathering& g, probes::VoxtraVersion& version, CFileVersionInfo& fileVersion);
// Languages, the prompt check, text to speech, the conversation, and the
// empty line that closes the install section.
void WriteLanguageSettings(Gathering& g);
// "Environment Information:": uptime, back end, partner server, status check.
void WriteEnvironmentInformation(Gathering& g, BackEnd& backEnd);
// Active Directory, or the Domino mail servers or address books and the
// Notes proxy.
void WriteDirectoryConnectorSettings(Gathering& g, probes::VoxtraVersion& version, const BackEnd& backEnd);
// MAPI provider, SQL Server, Windows, Outlook or Notes, shared memory,
// offload settings, receipts.
void WriteMessagingChecks(Gathering& g, probes::VoxtraVersion& version, const BackEnd& backEnd);
// "Voxtra Directory Information", "Voxtra Licensing Information:" and
// "OS Platform IP Config Info:", the end of the report.
void WriteDirectoryStatistics(Gathering& g, probes::VoxtraVersion& version);

}  // namespace fernwick::report
