#include <gtest/gtest.h>

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
// it was generated and written; it fails after `failAfter` records, and
// counts what it reads, converts and looks up.
struct FakeLog : EventLogReader {
  struct Hours {
    long long generated, written;
  };
  FakeLog(std::vector<Hours> log, std::size_t failing) : hours(std::move(log)), failAfter(failing) {}
  bool Next(std::string& failure) override {
    if (read == failAfter) failure = "the log was cleared";
    if (read == failAfter || read == hours.size()) return false;
    ++read;
    return true;
  }
  long long GeneratedSeconds() const override { return kNow - hours[read - 1].generated * 3600; }
  long long WrittenSeconds() const override { return kNow - hours[read - 1].written * 3600; }
  EventRecord Convert(bool withUser) override {
    ++converted;
    lookedUp += withUser ? 1 : 0;
    EventRecord r;
    r.eventId = static_cast<std::uint32_t>(read);  // its place in the reading
    r.user = withUser ? "CORP\\svc" : "";
    return r;
  }
  static constexpr long long kNow = 1'800'000'000;
  std::vector<Hours> hours;
  std::size_t failAfter, read = 0, converted = 0, lookedUp = 0;
};

TEST(DumpelLog, ConvertsOnlyTheRecordsKeptAndStopsWhereTheWrittenOrderAllows) {
  // -d 5 keeps what was generated in the last 120 hours; the reading stops
  // at a record written more than 120 + 24 hours ago.
  const std::vector<FakeLog::Hours> log = {{1, 1},     {50, 50},   {130, 100}, {100, 110},
                                           {125, 125}, {140, 140}, {150, 150}, {2, 2}};
  const struct {
    int days;
    const char* format;
    std::size_t failAfter;
    const char* bytes;
    std::size_t read, converted, lookedUp;
    const char* failure;
  } cases[] = {
      {5, "I", 99, "4\r\n2\r\n1\r\n", 7, 3, 0, ""},
      {5, "Iu", 99, "4,CORP\\svc\r\n2,CORP\\svc\r\n1,CORP\\svc\r\n", 7, 3, 3, ""},
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
