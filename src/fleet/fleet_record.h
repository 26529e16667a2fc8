#pragma once
// What one CAB of a fleet gives, as the reader of that CAB writes it to a
// file of its own and the fleet's outputs read it back, one CAB at a time:
// memory stays that of one CAB however many there are. One record a line,
// fields separated by a tab, inside a field "\t", "\n", "\r" and "\\" stand
// for a tab, line ends and a backslash:
//
//   server  CAB  NAME  SYSTEM-ID  GATHERED  FERNWICK  VOXTRA  WINDOWS  STORE  SQL  FROM
//   finding ID  SEVERITY  STATUS  EVIDENCE  FACT (the label of its line, below)
//   fact    LABEL  VALUE
//   failed  CAB  REASON
#include <cstdint>
#include <iosfwd>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace fernwick::fleet {

// Ends the `from` of a server whose CAB was packed with "redact": its names
// are pseudonyms.
inline constexpr const char* kRedactedFrom = "; redacted";

struct FleetServer {
  std::string cab;       // the file, as found
  std::string name;      // the Voxtra server name; empty: not read
  std::string systemId;  // empty: not read
  std::string gathered;  // ISO 8601 local time, empty: not read
  std::string fernwick, voxtra, windows, store, sql;
  std::string from;  // where its findings come from
};

struct FleetFinding {
  std::string id, severity, status, evidence;
  std::string fact;  // the fact its line tells (FactLabel), empty when none
};

// A fact of the server that findings read: a heading fact ("Voxtra
// version") or a report line's value by its label.
struct FleetFact {
  std::string label, value;
};

// "Section: label" of a report line with a label of its own.
std::string FactLabel(std::string_view section, std::string_view label);

std::string EscapeField(std::string_view field);
std::string UnescapeField(std::string_view field);

void WriteServer(std::ostream& out, const FleetServer& server);
void WriteFinding(std::ostream& out, const FleetFinding& finding);
void WriteFact(std::ostream& out, const FleetFact& fact);
void WriteFailure(std::ostream& out, std::string_view cab, std::string_view reason);

// One record read back; its first field says which.
struct FleetRecord {
  std::string kind;                 // "server", "finding", "fact", "failed"; empty at the end or for a bad line
  std::vector<std::string> fields;  // the others, unescaped
};
// Reads the next record of `in` (nullopt at its end).
std::optional<FleetRecord> ReadRecord(std::istream& in);

// Whole days from the date of `gathered` (ISO 8601) to `asOf`
// ("yyyy-mm-dd"); nullopt when either is no date.
std::optional<long long> AgeInDays(std::string_view gathered, std::string_view asOf);

// The worse of two severities ("error", "warning", "notice"; anything else
// counts least).
std::string_view WorseSeverity(std::string_view a, std::string_view b);

}  // namespace fernwick::fleet
