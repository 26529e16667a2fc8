#pragma once
// The fleet's table: one row per server and finding, UTF-8 with a
// byte-order mark, RFC 4180 and spreadsheet-safe as Findings.csv is
// (report/findings_csv.h), for any SQL engine or spreadsheet:
//
//   server,system id,gathered,age in days,fernwick,voxtra,windows,message store,sql server,
//   finding id,severity,evidence,status,findings from,cab
//
// A server without findings has one row with an empty finding id and the
// status "no finding", so that every server read is in the table.
#include <optional>
#include <string>

#include "fleet/fleet_record.h"

namespace fernwick::fleet {

inline constexpr const char* kNoFinding = "no finding";

// The mark and the header row.
std::string FleetCsvHeader();
// One row; `finding` none for a server without findings.
std::string FleetCsvRow(const FleetServer& server, std::optional<long long> ageInDays, const FleetFinding* finding);

}  // namespace fernwick::fleet
