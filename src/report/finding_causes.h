#pragma once
// Root causes: a finding may explain others, which Summary.htm folds under
// it and `fernwick --findings` lists after it. SQL Server that cannot be
// reached explains the run-time errors of the queries that needed it; the
// install root missing from the registry explains the install folder that
// cannot be shown; a prompt check that did not complete explains the
// run-time error just above it; and so on (the table in the source). The
// cause SQL-SERVER-UNREACHABLE is no line of its own: it stands on the
// first line whose error says that no query of VoxtraDb could run.
#include <string>
#include <vector>

#include "report/packed_report.h"

namespace fernwick::report {

// Adds the findings only the report as a whole shows, then sets
// `report.causes`: each finding's root cause, never itself explained.
void FindCauses(PackedReport& report);

// What a finding of `id` can explain, for the help page: "RUNTIME-ERROR
// (database errors 17, 18456, 18452 and 4060, anywhere in the report)".
std::vector<std::string> WhatItExplains(FindingId id);

}  // namespace fernwick::report
