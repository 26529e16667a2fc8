#pragma once
// The stretches of the report, in the order GetSystemInfo writes them.
#include "probes/voxtra_version.h"
#include "report/gathering.h"

namespace fernwick::report {

// "TORB Version = ", "Gather Date/Time = " and the section title.
void WriteReportHeader(Gathering& g);
// "Voxtra Install Information:" up to the failover role.
void WriteInstallInformation(Gathering& g, probes::VoxtraVersion& version);

}  // namespace fernwick::report
