#pragma once
// Who a report is about and when it was gathered, read from its own lines
// ("Voxtra server name = ", "Voxtra System ID = ", "Gather Date/Time = ",
// "TORB Version = "), so that CABs of every Fernwick compare alike, and a
// redacted CAB compares by its pseudonym.
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace fernwick::comparison {

struct ReportIdentity {
  std::string name;      // the Voxtra server name
  std::string systemId;  // empty when the report has none
  std::string gathered;  // "mm-dd-yyyy / hh:mm:ss"
  std::string fernwick;  // the Fernwick version that wrote the report
};

ReportIdentity IdentityOf(std::span<const std::string> lines);

// Same name (any letter case), and the same System ID where both state one.
bool SameServer(const ReportIdentity& a, const ReportIdentity& b);

// Seconds from `older` to `newer` ("mm-dd-yyyy / hh:mm:ss", or ISO 8601
// "yyyy-mm-ddThh:mm:ss" with or without its offset, the offset applied);
// nullopt when either cannot be read.
std::optional<long long> SecondsBetween(std::string_view older, std::string_view newer);
// "2 days, 3 hours, 4 minutes"; "less than a minute".
std::string Duration(long long seconds);

}  // namespace fernwick::comparison
