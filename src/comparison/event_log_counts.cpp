#include "comparison/event_log_counts.h"

#include <algorithm>
#include <map>
#include <utility>

#include "comparison/csv_records.h"

namespace fernwick::comparison {
namespace {

using Key = std::pair<std::string, std::string>;

std::map<Key, SourceCounts> ByKey(const std::vector<SourceCounts>& counts) {
  std::map<Key, SourceCounts> out;
  for (const auto& c : counts) out[{c.log, c.source}] = c;
  return out;
}

}  // namespace

std::vector<SourceCounts> CountEventLog(std::string_view log, std::string_view csv) {
  std::map<std::string, SourceCounts> sources;
  CsvRecords records(csv);
  std::vector<std::string> fields;
  while (records.Next(fields)) {
    if (fields.size() < 4) continue;
    const bool error = fields[2] == "Error";
    if (!error && fields[2] != "Warning") continue;
    SourceCounts& counts = sources[fields[3]];
    counts.log = log;
    counts.source = fields[3];
    ++(error ? counts.errors : counts.warnings);
  }
  std::vector<SourceCounts> out;
  for (auto& [source, counts] : sources) out.push_back(std::move(counts));
  return out;
}

std::vector<EventLogChange> CompareEventLogs(const std::vector<SourceCounts>& oldCounts,
                                             const std::vector<SourceCounts>& newCounts) {
  const auto before = ByKey(oldCounts);
  const auto after = ByKey(newCounts);
  std::map<Key, EventLogChange> changes;
  for (const auto& [key, c] : before) changes[key].old = c;
  for (const auto& [key, c] : after) changes[key].now = c;
  std::vector<EventLogChange> out;
  for (auto& [key, change] : changes) {
    change.old.log = change.now.log = key.first;
    change.old.source = change.now.source = key.second;
    if (change.old.errors == change.now.errors && change.old.warnings == change.now.warnings) continue;
    change.newSource = !before.contains(key);
    out.push_back(std::move(change));
  }
  return out;
}

}  // namespace fernwick::comparison
