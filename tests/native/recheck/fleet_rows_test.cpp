// The fleet's records and rows: fields survive the record file whatever
// they hold, ages count whole days, a row is spreadsheet-safe, and the
// verdict of a re-check never takes an unevaluated finding for gone.
#include <gtest/gtest.h>

#include <sstream>

#include "common/not_in_capture.h"
#include "comparison/recheck_verdict.h"
#include "fleet/fleet_csv.h"
#include "fleet/fleet_record.h"

namespace fernwick::fleet {
namespace {

TEST(FleetRecords, FieldsComeBackWhateverTheyHold) {
  const FleetFinding finding{"RSS-ENABLED", "warning", "present", "a\tb\\t\r\nc\\", "Environment: RSS"};
  std::stringstream file;
  WriteFinding(file, finding);
  WriteFailure(file, "cabs/x.cab", "cut short");
  const auto read = ReadRecord(file);
  ASSERT_TRUE(read);
  EXPECT_EQ(read->kind, "finding");
  EXPECT_EQ(read->fields,
            (std::vector<std::string>{finding.id, finding.severity, finding.status, finding.evidence, finding.fact}));
  EXPECT_EQ(ReadRecord(file)->fields, (std::vector<std::string>{"cabs/x.cab", "cut short"}));
  EXPECT_FALSE(ReadRecord(file));
}

TEST(FleetRecords, AgeCountsWholeDays) {
  const struct {
    const char* gathered;
    const char* asOf;
    std::optional<long long> days;
  } cases[] = {
      {"2026-12-07T10:15:42", "2026-12-31", 24},
      {"2024-02-28T23:59:59", "2024-03-01", 2},  // a leap year
      {"2025-12-31T00:00:00", "2026-01-01", 1},
      {"2026-12-07T10:15:42", "2026-12-07", 0},
      {"", "2026-12-31", std::nullopt},
      {"12-07-2026 / 10:15:42", "2026-12-31", std::nullopt},
      {"2026-13-07T10:15:42", "2026-12-31", std::nullopt},
  };
  for (const auto& c : cases) EXPECT_EQ(AgeInDays(c.gathered, c.asOf), c.days) << c.gathered;
}

TEST(FleetRows, AreSpreadsheetSafeAndNameWhatWasNotRead) {
  FleetServer server;
  server.name = "=HOST01";
  server.cab = "cabs/a,b.cab";
  const FleetFinding finding{"RSS-ENABLED", "warning", "present", "-1 : x", ""};
  EXPECT_EQ(FleetCsvRow(server, 3, &finding),
            "\"'=HOST01\",,not read,3,not read,not read,not read,not read,not read,RSS-ENABLED,warning,\"'-1 : "
            "x\",present,,\"cabs/a,b.cab\"\r\n");
  EXPECT_NE(FleetCsvRow(server, std::nullopt, nullptr).find(",no finding,"), std::string::npos);
}

TEST(RecheckVerdict, AnUnansweredSectionHidesAFindingNeverResolvesIt) {
  using comparison::RecheckStatus;
  using comparison::SideFinding;
  const std::vector<std::string> cabLines = {"Environment Information:", "  RSS : Enabled", "  Chimney : Enabled"};
  const std::vector<SideFinding> cab = {{"RSS-ENABLED", "warning", "  RSS : Enabled", 2},
                                        {"TCP-CHIMNEY-ENABLED", "warning", "  Chimney : Enabled", 3}};
  const std::vector<std::string> today = {
      "Environment Information:", std::string(kNotInCapture) + " registry value HKLM\\X\\EnableRSS",
      "  Chimney : Enabled", "  Offload : On"};
  const std::vector<SideFinding> raised = {{"TCP-CHIMNEY-ENABLED", "warning", "  Chimney : Enabled", 3},
                                           {"OFFLOAD-ON", "notice", "  Offload : On", 4}};
  const auto verdict = comparison::RecheckFindings(cab, true, cabLines, raised, today);
  // A finding only today's report has, beside an unanswered question, may stand on it.
  EXPECT_EQ(verdict.statuses, (std::vector<RecheckStatus>{RecheckStatus::Present, RecheckStatus::NotEvaluable}));
  ASSERT_EQ(verdict.missing.size(), 1u);
  EXPECT_EQ(verdict.missing[0].status, RecheckStatus::NotEvaluable);
  EXPECT_EQ(verdict.missing[0].finding.id, "RSS-ENABLED");
  // Without the unanswered line the same finding is no longer raised.
  const std::vector<std::string> answered = {"Environment Information:", "  RSS : Disabled", "  Chimney : Enabled",
                                             "  Offload : On"};
  const auto plain = comparison::RecheckFindings(cab, true, cabLines, raised, answered);
  EXPECT_EQ(plain.statuses, (std::vector<RecheckStatus>{RecheckStatus::Present, RecheckStatus::NewSinceCab}));
  ASSERT_EQ(plain.missing.size(), 1u);
  EXPECT_EQ(plain.missing[0].status, RecheckStatus::NoLongerRaised);
  // A CAB without Findings.csv: a line of its packed report is present.
  const auto older = comparison::RecheckFindings({}, false, cabLines, raised, answered);
  EXPECT_EQ(older.statuses, (std::vector<RecheckStatus>{RecheckStatus::Present, RecheckStatus::NewSinceCab}));
}

}  // namespace
}  // namespace fernwick::fleet
