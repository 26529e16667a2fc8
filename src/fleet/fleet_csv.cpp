#include "fleet/fleet_csv.h"

#include "report/findings_csv.h"
#include "report/report_heading.h"

namespace fernwick::fleet {
namespace {

std::string Fact(const std::string& value) {
  return value.empty() ? std::string(report::kNotRead) : value;
}

}  // namespace

std::string FleetCsvHeader() {
  return std::string(report::kUtf8ByteOrderMark) +
         "server,system id,gathered,age in days,fernwick,voxtra,windows,message store,sql server,finding id,severity,"
         "evidence,status,findings from,cab\r\n";
}

std::string FleetCsvRow(const FleetServer& s, std::optional<long long> ageInDays, const FleetFinding* finding) {
  std::string row;
  bool first = true;
  for (const std::string& field :
       {Fact(s.name), s.systemId, Fact(s.gathered), ageInDays ? std::to_string(*ageInDays) : std::string(),
        Fact(s.fernwick), Fact(s.voxtra), Fact(s.windows), Fact(s.store), Fact(s.sql),
        finding != nullptr ? finding->id : std::string(), finding != nullptr ? finding->severity : std::string(),
        finding != nullptr ? finding->evidence : std::string(),
        finding != nullptr ? finding->status : std::string(kNoFinding), s.from, s.cab}) {
    if (!first) row += ',';
    first = false;
    row += report::CsvField(field);
  }
  return row + "\r\n";
}

}  // namespace fernwick::fleet
