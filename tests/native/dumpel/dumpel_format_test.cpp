#include <gtest/gtest.h>

#include <cstdio>

#include "dumpel/dumpel_options.h"
#include "dumpel/event_log_dump.h"
#include "dumpel/image_event_log.h"

namespace fernwick::dumpel {
namespace {

EventRecord Sample() {
  EventRecord r;
  r.year = 2026;
  r.month = 12;
  r.day = 6;
  r.hour = 9;
  r.minute = 5;
  r.second = 3;
  r.type = "Error";
  r.category = 2;
  r.eventId = 0xC0001B58;  // shown as 7000
  r.source = "Service Control Manager";
  r.user = "N/A";
  r.computer = "VOXTRA01";
  r.strings = {"Voxtra Messaging", "The service did not start"};
  return r;
}

struct FormatCase {
  std::string letters;
  char separator;
  std::string line;
};

TEST(DumpelFormat, WritesTheFieldsInTheOrderOfTheLettersWithCsvQuoting) {
  EventRecord quoted = Sample();
  quoted.strings = {"a, b", "say \"hi\"\r\nnext"};
  const FormatCase cases[] = {
      {"dtTSIs", ',',
       "12/06/2026,09:05:03,Error,Service Control Manager,7000,Voxtra Messaging The service did not start"},
      {"ICcuTd", ',', "7000,2,VOXTRA01,N/A,Error,12/06/2026"},
      {"dxq", ',', "12/06/2026"},
      {"Ss", '\t', "Service Control Manager\tVoxtra Messaging The service did not start"},
  };
  for (const auto& c : cases) EXPECT_EQ(FormatRecord(Sample(), c.letters, c.separator), c.line) << c.letters;
  EXPECT_EQ(FormatRecord(quoted, "Is", ','), "7000,\"a, b say \"\"hi\"\"  next\"");
}

TEST(DumpelFormat, KeepsTheLastDaysOldestFirstAndAnEmptyLogGivesAnEmptyFile) {
  std::string error;
  auto options = ParseDumpelArguments({"-d", "5", "-format", "dtI", "-c", "-l", "system", "-f", "C:\\o.csv"}, error);
  ASSERT_TRUE(options) << error;
  EXPECT_EQ(options->log, "system");
  EXPECT_EQ(options->file, "C:\\o.csv");
  EventRecord old = Sample();
  old.day = 1;  // more than 5 days before the 7th, 09:05:03
  EventRecord recent = Sample();
  recent.eventId = 1;
  EventRecord now;
  now.year = 2026;
  now.month = 12;
  now.day = 7;
  now.hour = 9;
  now.minute = 5;
  now.second = 3;
  EXPECT_EQ(DumpRecords({old, recent}, *options, LocalSeconds(now)), "12/06/2026,09:05:03,1\r\n");
  EXPECT_EQ(DumpRecords({}, *options, LocalSeconds(now)), "");
  options->days = 0;
  EXPECT_EQ(DumpRecords({old, recent}, *options, LocalSeconds(now)),
            "12/01/2026,09:05:03,7000\r\n12/06/2026,09:05:03,1\r\n");
}

// A log read newest first, each record given as the hours before now when
// it was generated; it fails after `failAfter` records, and counts what it
// reads, converts and looks up.
struct FakeLog : EventLogReader {
  FakeLog(std::vector<long long> log, std::size_t failing) : hours(std::move(log)), failAfter(failing) {}
  bool Next(std::string& failure) override {
    if (read == failAfter) failure = "the log was cleared";
    if (read == failAfter || read == hours.size()) return false;
    ++read;
    return true;
  }
  long long GeneratedSeconds() const override { return kNow - hours[read - 1] * 3600; }
  EventRecord Convert(bool withUser) override {
    ++converted;
    lookedUp += withUser ? 1 : 0;
    EventRecord r;
    r.eventId = static_cast<std::uint32_t>(read);  // its place in the reading
    r.user = withUser ? "CORP\\svc" : "";
    return r;
  }
  static constexpr long long kNow = 1'800'000'000;
  std::vector<long long> hours;
  std::size_t failAfter, read = 0, converted = 0, lookedUp = 0;
};

TEST(DumpelLog, ConvertsOnlyTheRecordsKeptAndReadsTheWholeLog) {
  // -d 5 keeps what was generated in the last 120 hours. The oldest record
  // (read last) was generated 2 hours ago: it was written after the clock
  // had been set back, and is kept however old its neighbours are.
  const std::vector<long long> log = {1, 50, 130, 100, 125, 140, 150, 2};
  const struct {
    int days;
    const char* format;
    std::size_t failAfter;
    const char* bytes;
    std::size_t read, converted, lookedUp;
    const char* failure;
  } cases[] = {
      {5, "I", 99, "8\r\n4\r\n2\r\n1\r\n", 8, 4, 0, ""},
      {5, "Iu", 99, "8,CORP\\svc\r\n4,CORP\\svc\r\n2,CORP\\svc\r\n1,CORP\\svc\r\n", 8, 4, 4, ""},
      {0, "I", 99, "8\r\n7\r\n6\r\n5\r\n4\r\n3\r\n2\r\n1\r\n", 8, 8, 0, ""},
      {5, "I", 3, "2\r\n1\r\n", 3, 2, 0, "the log was cleared"},
      {5, "I", 0, "", 0, 0, 0, "the log was cleared"},
  };
  for (const auto& c : cases) {
    FakeLog reader(log, c.failAfter);
    DumpelOptions options;
    options.days = c.days;
    options.format = c.format;
    options.separator = ',';
    const LogDump dump = DumpLog(reader, options, FakeLog::kNow);
    EXPECT_EQ(dump.bytes, c.bytes) << c.days << c.format << c.failAfter;
    EXPECT_EQ(dump.failure, c.failure);
    EXPECT_EQ(std::vector<std::size_t>({reader.read, reader.converted, reader.lookedUp}),
              std::vector<std::size_t>({c.read, c.converted, c.lookedUp}))
        << c.days << c.format << c.failAfter;
  }
}

// A record generated at "YYYY-MM-DD HH:MM", with its place in the log as
// its event id.
EventRecord At(const char* when, std::uint32_t place) {
  EventRecord r;
  std::sscanf(when, "%d-%d-%d %d:%d", &r.year, &r.month, &r.day, &r.hour, &r.minute);
  r.eventId = place;
  return r;
}

TEST(DumpelLog, KeepsEveryRecentRecordOfALogWhoseClockWasSetBackByAYear) {
  // Now is 2026-12-07 12:00; -d 5 keeps what was generated from 2026-12-02
  // 12:00 on, whatever comes after it in the log.
  const long long now = LocalSeconds(2026, 12, 7, 12, 0, 0);
  const std::vector<EventRecord> beforeReset = {At("2026-11-20 08:00", 1), At("2026-12-03 09:00", 2),
                                                At("2026-12-05 10:00", 3), At("2026-12-06 23:00", 4)};
  const struct {
    const char* name;
    std::vector<EventRecord> after;  // written after the records above
    const char* kept;
  } cases[] = {
      {"set back at a boot and never corrected",
       {At("2025-12-07 00:05", 5), At("2025-12-07 08:00", 6)},
       "2\r\n3\r\n4\r\n"},
      {"set back, then corrected by the time service",
       {At("2025-12-07 00:05", 5), At("2025-12-07 08:00", 6), At("2026-12-07 11:00", 7)},
       "2\r\n3\r\n4\r\n7\r\n"},
      {"set a year ahead, then back",
       {At("2027-12-07 00:05", 5), At("2026-12-07 11:00", 6)},
       "2\r\n3\r\n4\r\n5\r\n6\r\n"},
  };
  DumpelOptions options;
  options.days = 5;
  options.format = "I";
  for (const auto& c : cases) {
    std::vector<EventRecord> log = beforeReset;
    log.insert(log.end(), c.after.begin(), c.after.end());
    EXPECT_EQ(DumpRecords(log, options, now), c.kept) << c.name;
  }
}

TEST(DumpelFormat, RefusesCommandLinesItCannotFollow) {
  const std::vector<std::vector<std::string>> bad = {
      {}, {"-l", "system"}, {"-f", "x"}, {"-l", "system", "-f"}, {"-d", "x", "-l", "a", "-f", "b"}, {"-z"}};
  std::string unquotedPathError;
  EXPECT_TRUE(ParseDumpelArguments({"Files\\Fernwick\\dumpel", "-l", "system", "-f", "x"}, unquotedPathError))
      << "the pieces of an unquoted program path are not options";
  for (const auto& arguments : bad) {
    std::string error;
    EXPECT_FALSE(ParseDumpelArguments(arguments, error));
    EXPECT_FALSE(error.empty());
  }
  EXPECT_EQ(SplitCommandLine("C:\\P F\\dumpel -f \"C:\\a b\\x.csv\" -c"),
            (std::vector<std::string>{"C:\\P", "F\\dumpel", "-f", "C:\\a b\\x.csv", "-c"}));
}

TEST(ImageEventLog, ReadsTabSeparatedRecordsAndNamesTheBadLine) {
  const auto parsed = ParseImageEventLog(
      "; system log\r\n2026-12-06 09:05:03\tError\t2\t3221232472\tService Control Manager\tN/A\tVOXTRA01\t"
      "Voxtra Messaging\tline\\none\r\n\r\n");
  ASSERT_TRUE(std::holds_alternative<std::vector<EventRecord>>(parsed));
  const auto& records = std::get<std::vector<EventRecord>>(parsed);
  ASSERT_EQ(records.size(), 1u);
  EXPECT_EQ(FormatRecord(records[0], "dtTCISucs", ','),
            FormatRecord(Sample(), "dtTCISuc", ',') + ",Voxtra Messaging line one");
  const std::pair<const char*, const char*> bad[] = {
      {"x\n2026-12-06 09:05:03\tError", "1: a record needs at least 7 tab-separated fields"},
      {"2026-13-06 09:05:03\tE\t0\t1\tS\tU\tC", "1: no such time: \"2026-13-06 09:05:03\""},
      {"\n2026-12-06 09:05:03\tE\t70000\t1\tS\tU\tC", "2: the category 70000 is too large"},
      {"2026-12-06 09:05:03\tE\t0\t-1\tS\tU\tC", "1: the event id must be a number, not \"-1\""},
  };
  for (const auto& [text, message] : bad) {
    const auto result = ParseImageEventLog(text);
    ASSERT_TRUE(std::holds_alternative<EventLogError>(result)) << text;
    const auto& e = std::get<EventLogError>(result);
    EXPECT_EQ(std::to_string(e.line) + ": " + e.message, message);
  }
}

}  // namespace
}  // namespace fernwick::dumpel
