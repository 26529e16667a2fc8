#include "dumpel/event_log_dump.h"

namespace fernwick::dumpel {
namespace {

// Records in memory, oldest first, read from the end.
class RecordListReader : public EventLogReader {
 public:
  explicit RecordListReader(const std::vector<EventRecord>& records) : records_(records), next_(records.size()) {}
  bool Next(std::string&) override {
    if (next_ == 0) return false;
    current_ = &records_[--next_];
    return true;
  }
  long long GeneratedSeconds() const override { return LocalSeconds(*current_); }
  EventRecord Convert(bool) override { return *current_; }

 private:
  const std::vector<EventRecord>& records_;
  std::size_t next_;
  const EventRecord* current_ = nullptr;
};

}  // namespace

LogDump DumpLog(EventLogReader& reader, const DumpelOptions& options, long long nowLocalSeconds) {
  const long long cutOff = nowLocalSeconds - static_cast<long long>(options.days) * 86400;
  const bool withUser = options.format.find('u') != std::string::npos;
  LogDump dump;
  std::vector<std::string> newestFirst;
  while (reader.Next(dump.failure)) {
    if (options.days > 0 && reader.GeneratedSeconds() < cutOff) continue;
    newestFirst.push_back(FormatRecord(reader.Convert(withUser), options.format, options.separator));
  }
  std::size_t size = 0;
  for (const auto& line : newestFirst) size += line.size() + 2;
  dump.bytes.reserve(size);
  for (auto line = newestFirst.rbegin(); line != newestFirst.rend(); ++line) {
    dump.bytes += *line;
    dump.bytes += "\r\n";
  }
  return dump;
}

std::string DumpRecords(const std::vector<EventRecord>& records, const DumpelOptions& options,
                        long long nowLocalSeconds) {
  RecordListReader reader(records);
  return DumpLog(reader, options, nowLocalSeconds).bytes;
}

}  // namespace fernwick::dumpel
