#pragma once
// The run-time error lines of a report, "(error):N (text) in procedure
// GetSystemInfo of Form frmMain", told apart by their number: each number
// has its own meaning and fix. A text that begins with "[" is the database
// driver's ("[Microsoft][ODBC SQL Server Driver]..."), and N is then the
// database's own error number (17, 18456, 4060, ...), which the runtime's
// numbers (5, 53, 71, ...) may share: the two are separate tables.
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace fernwick::report {

struct RuntimeErrorInfo {
  long number;
  bool database;                 // the database driver's number, not the runtime's
  std::string_view description;  // the database's, as the line gives it ("..." where it names a thing);
                                 // the runtime's are ErrorDescription(number)
  std::string_view meaning;
  std::string_view fix;
};

struct RuntimeErrorLine {
  long number = 0;
  std::string description;  // between the parentheses
  bool Database() const { return description.starts_with('['); }
};

// The number and text of a run-time error line; nothing for another line.
std::optional<RuntimeErrorLine> ReadRuntimeErrorLine(std::string_view line);

// The entry for the line's number, or the general entry of its table when
// the number has none of its own.
const RuntimeErrorInfo& RuntimeErrorFor(const RuntimeErrorLine& line);

// Every entry with a number, runtime's first, for the help page.
std::span<const RuntimeErrorInfo> AllRuntimeErrors();

// The database's answers that mean no query can run at all: SQL Server not
// reached, the logon refused, VoxtraDb not opened.
bool IsConnectionError(const RuntimeErrorLine& line);

// "RUNTIME-ERROR-53", "DATABASE-ERROR-17": the help page's anchor of an entry.
std::string RuntimeErrorAnchor(const RuntimeErrorInfo& info);

// The text of an entry's line: the database's, or the runtime's own.
std::string RuntimeErrorDescription(const RuntimeErrorInfo& info);

// The report's line of an entry: "(error):53 (File not found) in procedure
// GetSystemInfo of Form frmMain".
std::string RuntimeErrorWording(const RuntimeErrorInfo& info);

}  // namespace fernwick::report
