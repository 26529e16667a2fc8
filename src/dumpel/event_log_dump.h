#pragma once
// dumpel's reading of one event log: from the newest record back, each
// record judged by its times alone before anything else of it is read, so
// that a record older than -d days costs no conversion and no account
// lookup, and the reading stops as soon as no older record can be kept.
#include <string>
#include <vector>

#include "dumpel/dumpel_options.h"
#include "dumpel/event_record.h"

namespace fernwick::dumpel {

// A log read newest record first.
class EventLogReader {
 public:
  virtual ~EventLogReader() = default;
  // Moves to the next older record: true when there is one; false past the
  // oldest record, or when reading failed (`failure` then says why).
  virtual bool Next(std::string& failure) = 0;
  // The current record's times as LocalSeconds, read without converting
  // the record: when it was generated, and when the log wrote it.
  virtual long long GeneratedSeconds() const = 0;
  virtual long long WrittenSeconds() const = 0;
  // The current record in full; its user account is looked up only when
  // `withUser`.
  virtual EventRecord Convert(bool withUser) = 0;
};

// The log keeps its records in the order it wrote them, so reading newest
// first, a record written this long before the -d cut-off ends the reading:
// no older record can be kept unless the clock was set back by more.
inline constexpr long long kClockSlackSeconds = 86400;

struct LogDump {
  std::string bytes;    // the output file
  std::string failure;  // why the reading stopped before the end; empty when it did not
};

// The output file's bytes: one line per record generated within the last
// `days` days before `nowLocalSeconds` (every record for 0), oldest first,
// each ended by CR LF (no records: an empty file); the user looked up only
// when the format has `u`. After a read failure: the records read before it.
LogDump DumpLog(EventLogReader& reader, const DumpelOptions& options, long long nowLocalSeconds);

// The same over records already converted, oldest first (a server image's log).
std::string DumpRecords(const std::vector<EventRecord>& records, const DumpelOptions& options,
                        long long nowLocalSeconds);

}  // namespace fernwick::dumpel
