// Fuzzes the reader of a server image's event-log records
// (eventlogs/<log>.txt). Beyond "no crash": every record read has a real
// calendar time and at least its seven fields, formatting it gives one line
// without line ends, and an error names a line of the input.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>
#include <variant>

#include "fuzz/fuzz_check.h"
#include "dumpel/image_event_log.h"

// The most this reader may hold beside its input, in times the input. It
// keeps a container entry for each line or key; the worst case measured is
// a record a line: 9 times.
constexpr long long kHeldMultiple = 32;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  fernwick::fuzz::HoldsAtMost(size, kHeldMultiple, fernwick::fuzz::kFileReaderConstant,
                              [&] { (void)fernwick::dumpel::ParseImageEventLog(text); });
  const auto parsed = fernwick::dumpel::ParseImageEventLog(text);
  if (const auto* error = std::get_if<fernwick::dumpel::EventLogError>(&parsed)) {
    if (error->line < 1 || static_cast<std::size_t>(error->line) > size + 1 || error->message.empty()) std::abort();
    return 0;
  }
  for (const auto& record : std::get<std::vector<fernwick::dumpel::EventRecord>>(parsed)) {
    if (record.month < 1 || record.month > 12 || record.day < 1 || record.day > 31 || record.hour > 23) std::abort();
    const std::string line = fernwick::dumpel::FormatRecord(record, "dtTCISucs", ',');
    if (line.find_first_of("\r\n") != std::string::npos) std::abort();
  }
  return 0;
}
