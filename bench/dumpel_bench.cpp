// dumpel_bench: dumpel's reading of big event logs, converting every record
// and then keeping the last DAYS days ("before") against judging each
// record by its time first and converting only those kept ("after",
// DumpLog).
//
// Generates LOGS logs of RECORDS records each, spread evenly over SPAN days
// up to now, packed as Windows keeps them (a fixed header with both times,
// then source, computer, the user's SID and the insertion strings, the
// length repeated at the end so that the log can be read backwards); one
// record in two names a user. In every second log the machine's clock was
// set back by a year RESET days before now (as by a clock reset at a boot):
// the records written after that carry times a year old, so the log's times
// go backwards there, and the records of the last days before the reset
// are kept although everything written after them is too old. Converting a
// record decodes its local time and copies its texts, as dumpel.exe does;
// an account lookup finds the SID's name in a table (on a server each is a
// call to the local security authority, and to a domain controller for a
// domain account: the counts matter more there than the times here). Both
// ways must write the same bytes, for every log. Each runs three times; the
// best time counts.
//
// Usage: dumpel_bench [--records N] [--logs N] [--span DAYS] [--days DAYS] [--reset DAYS]
// Defaults: 500000 records, 2 logs, 60 days, -d 5, the clock set back 2 days
// before now (0: never), the format Fernwick uses (dtTSIs -c). Build it
// optimised: scripts/build.sh release.
#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "dumpel/event_log_dump.h"

namespace {

using fernwick::dumpel::DumpelOptions;
using fernwick::dumpel::EventRecord;

constexpr long long kNow = 1'796'000'000;  // seconds since 1970, UTC
constexpr long long kBias = 3600;          // local time less UTC
constexpr long long kYear = 365 * 86400;

struct Header {
  std::uint32_t length, timeGenerated, timeWritten, eventId;
  std::uint16_t type, numStrings, category;
  std::uint32_t sidLength, sidOffset, stringOffset;
};

// One log, oldest record first, as packed bytes; with `resetDays`, the
// records written from that many days before now on carry times a year
// earlier.
std::vector<char> MakeLog(long long records, long long spanDays, long long resetDays, int seed) {
  static const char* const kSources[] = {"Service Control Manager", "Voxtra Messaging", "Userenv", "W32Time", "Tcpip"};
  std::vector<char> log;
  const long long first = kNow - spanDays * 86400;
  for (long long i = 0; i < records; ++i) {
    Header h{};
    long long generated = first + i * spanDays * 86400 / records;
    if (resetDays > 0 && generated >= kNow - resetDays * 86400) generated -= kYear;
    h.timeGenerated = static_cast<std::uint32_t>(generated);
    h.timeWritten = h.timeGenerated + static_cast<std::uint32_t>(i % 3);
    h.eventId = static_cast<std::uint32_t>(1000 + (i * 7 + seed) % 60);
    h.type = static_cast<std::uint16_t>(1u << (i % 3));
    h.category = static_cast<std::uint16_t>(i % 4);
    std::string body = std::string(kSources[(i + seed) % 5]) + '\0' + "VOXTRA01" + '\0';
    if (i % 2 == 0) {
      h.sidOffset = static_cast<std::uint32_t>(sizeof h + body.size());
      h.sidLength = 12;
      char sid[12] = {1, 1, 0, 0, 0, 0, 0, 5, 21, 0, 0, static_cast<char>(i % 7)};
      body.append(sid, sizeof sid);
    }
    h.stringOffset = static_cast<std::uint32_t>(sizeof h + body.size());
    h.numStrings = 2;
    body += "The Voxtra Messaging service entered the running state after " + std::to_string(i % 97) + " s";
    body += '\0';
    body += "Port " + std::to_string(i % 24) + ", \"line group\" " + std::to_string(seed);
    body += '\0';
    h.length = static_cast<std::uint32_t>(sizeof h + body.size() + 4);
    const std::size_t at = log.size();
    log.resize(at + h.length);
    std::memcpy(log.data() + at, &h, sizeof h);
    std::memcpy(log.data() + at + sizeof h, body.data(), body.size());
    std::memcpy(log.data() + at + h.length - 4, &h.length, 4);
  }
  return log;
}

struct Counts {
  long long read = 0, converted = 0, lookups = 0;
};

std::string LookUpAccount(const char* sid, std::size_t length, Counts& counts) {
  static const std::map<std::string, std::string> accounts = [] {
    std::map<std::string, std::string> names;
    for (char n = 0; n < 7; ++n) {
      names[std::string({1, 1, 0, 0, 0, 0, 0, 5, 21, 0, 0, n})] = "CORP\\voxtra" + std::to_string(n);
    }
    return names;
  }();
  ++counts.lookups;
  const auto found = accounts.find(std::string(sid, length));
  return found == accounts.end() ? "N/A" : found->second;
}

// Days since 1970 to the calendar date (the inverse of DaysFromCivil).
void CivilFromDays(long long days, int& year, int& month, int& day) {
  days += 719468;
  const long long era = (days >= 0 ? days : days - 146096) / 146097;
  const long long dayOfEra = days - era * 146097;
  const long long yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
  const long long dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
  const long long mp = (5 * dayOfYear + 2) / 153;
  day = static_cast<int>(dayOfYear - (153 * mp + 2) / 5 + 1);
  month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
  year = static_cast<int>(yearOfEra + era * 400 + (month <= 2 ? 1 : 0));
}

EventRecord Convert(const char* record, bool withUser, Counts& counts) {
  ++counts.converted;
  Header h{};
  std::memcpy(&h, record, sizeof h);
  EventRecord r;
  const long long local = h.timeGenerated + kBias;
  CivilFromDays(local / 86400, r.year, r.month, r.day);
  r.hour = static_cast<int>(local % 86400 / 3600);
  r.minute = static_cast<int>(local % 3600 / 60);
  r.second = static_cast<int>(local % 60);
  r.type = fernwick::dumpel::EventTypeName(h.type);
  r.category = h.category;
  r.eventId = h.eventId;
  const char* end = record + h.length;
  const char* source = record + sizeof h;
  r.source = std::string(source, strnlen(source, static_cast<std::size_t>(end - source)));
  const char* computer = source + r.source.size() + 1;
  r.computer = std::string(computer, strnlen(computer, static_cast<std::size_t>(end - computer)));
  if (withUser) r.user = h.sidLength == 0 ? "N/A" : LookUpAccount(record + h.sidOffset, h.sidLength, counts);
  const char* text = record + h.stringOffset;
  for (int i = 0; i < h.numStrings && text < end; ++i) {
    const std::size_t length = strnlen(text, static_cast<std::size_t>(end - text));
    r.strings.emplace_back(text, length);
    text += length + 1;
  }
  return r;
}

// The way dumpel read a log before: every record converted, user included,
// oldest first, then the last days kept.
std::string Before(const std::vector<char>& log, const DumpelOptions& options, long long now, Counts& counts) {
  std::vector<EventRecord> records;
  for (std::size_t at = 0; at < log.size();) {
    ++counts.read;
    records.push_back(Convert(log.data() + at, true, counts));
    std::uint32_t length = 0;
    std::memcpy(&length, log.data() + at, 4);
    at += length;
  }
  const long long oldest = now - static_cast<long long>(options.days) * 86400;
  std::string out;
  for (const auto& record : records) {
    if (options.days > 0 && fernwick::dumpel::LocalSeconds(record) < oldest) continue;
    out += fernwick::dumpel::FormatRecord(record, options.format, options.separator) + "\r\n";
  }
  return out;
}

// The packed log read from its end, as ReadEventLog reads backwards.
class PackedLogReader : public fernwick::dumpel::EventLogReader {
 public:
  PackedLogReader(const std::vector<char>& log, Counts& counts) : log_(log), end_(log.size()), counts_(counts) {}
  bool Next(std::string&) override {
    if (end_ == 0) return false;
    std::uint32_t length = 0;
    std::memcpy(&length, log_.data() + end_ - 4, 4);
    end_ -= length;
    std::memcpy(&header_, log_.data() + end_, sizeof header_);
    ++counts_.read;
    return true;
  }
  long long GeneratedSeconds() const override { return header_.timeGenerated + kBias; }
  EventRecord Convert(bool withUser) override { return ::Convert(log_.data() + end_, withUser, counts_); }

 private:
  const std::vector<char>& log_;
  std::size_t end_;
  Header header_{};
  Counts& counts_;
};

std::string After(const std::vector<char>& log, const DumpelOptions& options, long long now, Counts& counts) {
  PackedLogReader reader(log, counts);
  return fernwick::dumpel::DumpLog(reader, options, now).bytes;
}

template <typename Way>
double BestOfThree(const std::vector<std::vector<char>>& logs, const DumpelOptions& options, Way way, Counts& counts,
                   std::vector<std::string>& outputs) {
  double best = 1e300;
  for (int run = 0; run < 3; ++run) {
    counts = {};
    outputs.clear();
    const auto start = std::chrono::steady_clock::now();
    for (const auto& log : logs) outputs.push_back(way(log, options, kNow + kBias, counts));
    best = std::min(best, std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
  }
  return best;
}

}  // namespace

int main(int argc, char** argv) {
  long long records = 500000;
  long long logCount = 2;
  long long span = 60;
  long long reset = 2;
  DumpelOptions options;
  options.days = 5;
  options.format = "dtTSIs";
  options.separator = ',';
  for (int i = 1; i + 1 < argc; i += 2) {
    const std::string name = argv[i];
    const long long value = std::atoll(argv[i + 1]);
    if (value < 0 || (name != "--days" && name != "--reset" && value < 1)) {
      std::fprintf(stderr, "%s needs a number\n", argv[i]);
      return 2;
    }
    if (name == "--records")
      records = value;
    else if (name == "--logs")
      logCount = value;
    else if (name == "--span")
      span = value;
    else if (name == "--days")
      options.days = static_cast<int>(value);
    else if (name == "--reset")
      reset = value;
    else {
      std::fprintf(stderr, "usage: %s [--records N] [--logs N] [--span DAYS] [--days DAYS] [--reset DAYS]\n", argv[0]);
      return 2;
    }
  }
  std::vector<std::vector<char>> logs;
  for (int seed = 0; seed < logCount; ++seed) logs.push_back(MakeLog(records, span, seed % 2 == 1 ? reset : 0, seed));

  Counts before;
  Counts after;
  std::vector<std::string> beforeOutput;
  std::vector<std::string> afterOutput;
  const double beforeMs = BestOfThree(logs, options, Before, before, beforeOutput);
  const double afterMs = BestOfThree(logs, options, After, after, afterOutput);
  std::size_t lines = 0;
  std::size_t bytes = 0;
  std::string perLog;
  for (const auto& output : afterOutput) {
    const auto count = static_cast<std::size_t>(std::count(output.begin(), output.end(), '\n'));
    lines += count;
    bytes += output.size();
    perLog += (perLog.empty() ? "" : " + ") + std::to_string(count);
  }
  std::printf("dumpel_bench: %lld logs x %lld records over %lld days, -d %d -format %s%s\n", logCount, records, span,
              options.days, options.format.c_str(), options.separator == ',' ? " -c" : "");
  if (reset > 0 && logCount > 1) {
    std::printf("every second log: the clock set back by a year %lld days before now\n", reset);
  }
  const auto print = [](const char* way, double ms, const Counts& c) {
    std::printf("%-36s %9.1f ms, %8lld records read, %8lld converted, %8lld account lookups\n", way, ms, c.read,
                c.converted, c.lookups);
  };
  print("before (convert all, then filter):", beforeMs, before);
  print("after (filter, then convert):", afterMs, after);
  const bool same = beforeOutput == afterOutput;
  std::printf("output: %zu lines (%s), %zu bytes, %s\n", lines, perLog.c_str(), bytes,
              same ? "the same both ways" : "DIFFERENT");
  return same ? 0 : 1;
}
