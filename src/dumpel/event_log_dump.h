#pragma once
// dumpel's reading of one event log: from the newest record back to the
// oldest, each record judged by the time it was generated before anything
// else of it is read, so that a record older than -d days costs no
// conversion and no account lookup. The whole log is read: the order in
// which the log wrote its records says nothing about their times once the
// machine's clock was set back (a clock reset at a boot can put a year
// between neighbours), so no record can end the reading early.
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
  // When the current record was generated, as LocalSeconds, read without
  // converting the record.
  virtual long long GeneratedSeconds() const = 0;
  // The current record in full; its user account is looked up only when
  // `withUser`.
  virtual EventRecord Convert(bool withUser) = 0;
};

struct LogDump {
  std::string bytes;    // the output file
  std::string failure;  // why the reading stopped before the end; empty when it did not
};

// The output file's bytes: one line per record generated within the last
// `days` days before `nowLocalSeconds` (every record for 0), oldest first,
// each ended by CR LF (no records: an empty file); the user looked up only
// when the format has `u`. "Oldest first" is the order of the log, whatever
// the records' times say: the same lines as converting every record and
// then keeping the last days. After a read failure: the records read
// before it.
LogDump DumpLog(EventLogReader& reader, const DumpelOptions& options, long long nowLocalSeconds);

// The same over records already converted, oldest first (a server image's log).
std::string DumpRecords(const std::vector<EventRecord>& records, const DumpelOptions& options,
                        long long nowLocalSeconds);

}  // namespace fernwick::dumpel
