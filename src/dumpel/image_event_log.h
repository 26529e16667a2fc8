#pragma once
// Event-log records as a server image carries them: the file
// eventlogs/<log>.txt of the image (docs/server-image-eventlogs.md), one
// record per line, fields separated by tabs:
//
//   2026-12-06 14:03:11<TAB>Error<TAB>0<TAB>7000<TAB>Service Control Manager<TAB>N/A<TAB>VOXTRA01<TAB>string<TAB>...
//
// date and local time, type, category, event id, source, user, computer,
// then any number of insertion strings. "\t", "\n", "\r" and "\\" inside a
// field stand for a tab, line ends and a backslash. Lines starting with ";"
// or "#" and empty lines are skipped; the file lists records oldest first.
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "dumpel/event_record.h"

namespace fernwick::dumpel {

struct EventLogError {
  int line = 0;
  std::string message;
};

std::variant<std::vector<EventRecord>, EventLogError> ParseImageEventLog(std::string_view text);

}  // namespace fernwick::dumpel
