#pragma once
// One event-log record as dumpel writes it, and the line it becomes.
#include <cstdint>
#include <string>
#include <vector>

namespace fernwick::dumpel {

struct EventRecord {
  // When the event was generated, in the machine's local time.
  int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
  std::string type;  // "Error", "Warning", "Information", "Audit Success", "Audit Failure", "Success"
  std::uint16_t category = 0;
  std::uint32_t eventId = 0;  // as the event viewer shows it: the low 16 bits
  std::string source;
  std::string user;  // "DOMAIN\name", or "N/A" when the record names no user
  std::string computer;
  std::vector<std::string> strings;  // the insertion strings
};

// The text of an event type code (EVENTLOG_ERROR_TYPE, ...).
std::string EventTypeName(std::uint16_t type);

// One output line without its line end: a field per format letter, in the
// order given (d date MM/DD/YYYY, t time HH:MM:SS, T type, C category,
// I event id, S source, u user, c computer, s the strings joined by one
// blank), separated by `separator`. CR, LF and TAB inside a field become
// blanks; a field holding the separator or a double quote is enclosed in
// double quotes with its quotes doubled. Letters that are none of these are
// skipped.
std::string FormatRecord(const EventRecord& record, const std::string& letters, char separator);

// Days since 1970-01-01 of a calendar date (proleptic Gregorian).
long long DaysFromCivil(int year, int month, int day);

// Seconds since 1970-01-01 00:00 of the record's local time, for the -d filter.
long long LocalSeconds(const EventRecord& record);
long long LocalSeconds(int year, int month, int day, int hour, int minute, int second);

}  // namespace fernwick::dumpel
