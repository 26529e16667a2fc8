#pragma once
// The fleet's page, in the look of Summary.htm (HTML 4.01, UTF-8, no
// script), written piece by piece as the CABs are read back, so that the
// page never has to be held whole: the servers with their age and worst
// severity, the findings by how many servers have them, the servers that
// differ from the rest on the facts findings read, and the CABs that could
// not be read, each with its reason.
#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "fleet/fleet_record.h"

namespace fernwick::fleet {

struct FleetTotals {
  std::size_t cabs = 0;        // found
  std::size_t servers = 0;     // shown
  std::size_t unreadable = 0;  // CABs that could not be read
  std::size_t older = 0;       // left out: an older CAB of a server shown
  std::size_t redacted = 0;    // servers shown whose CAB was redacted
  std::string asOf;            // the day ages are counted to
};

std::string FleetPageStart(const FleetTotals& totals);
std::string ServersStart();
std::string ServerRow(const FleetServer& server, std::optional<long long> ageInDays, const std::string& worst,
                      std::size_t findings);
std::string TableEnd();

struct FindingCount {
  std::string id, severity;
  std::size_t servers = 0;       // having it present or new
  std::size_t notEvaluable = 0;  // servers where it could not be evaluated
};
// Most servers first.
std::string FindingsByCount(std::vector<FindingCount> counts, std::size_t servers);

// The servers that differ from the rest, side by side: per server each
// fact whose value is not the one most servers have, with that value and
// how many servers have it.
std::string DifferencesStart();
std::string DifferencesTableStart();
std::string DifferenceRow(const std::string& server, const std::string& fact, const std::string& value,
                          const std::string& usual, std::size_t usualCount);
// After the rows (if any): the table's end, or that no server differs.
std::string DifferencesEnd(bool any);

std::string Unreadable(const std::vector<std::pair<std::string, std::string>>& cabs);
std::string FleetPageEnd();

}  // namespace fernwick::fleet
