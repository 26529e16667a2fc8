#pragma once
// The errors and warnings of a CAB's event logs (system_event_log.csv and
// application_event_log.csv, as dumpel writes them for Fernwick: date,
// time, type, source, event id, text), counted per log and source, and the
// counts of two CABs side by side.
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace fernwick::comparison {

struct SourceCounts {
  std::string log;     // "system", "application"
  std::string source;  // as the log names it
  std::size_t errors = 0;
  std::size_t warnings = 0;
};

// Sorted by log and source; sources without errors or warnings are left
// out. Read one record at a time; a record too long to be one ends the
// count there.
std::vector<SourceCounts> CountEventLog(std::string_view log, std::string_view csv);

struct EventLogChange {
  SourceCounts old, now;   // zero counts where a CAB has none
  bool newSource = false;  // the source has errors or warnings only in NEW
};

// The sources whose counts differ.
std::vector<EventLogChange> CompareEventLogs(const std::vector<SourceCounts>& oldCounts,
                                             const std::vector<SourceCounts>& newCounts);

}  // namespace fernwick::comparison
