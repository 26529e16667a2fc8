// The verdict: new, resolved and still-present findings, and those the new
// CAB could not evaluate, which are never called resolved.
#include <gtest/gtest.h>

#include "comparison/findings_csv_reader.h"
#include "comparison/findings_verdict.h"

namespace fernwick::comparison {
namespace {

const std::vector<std::string> kOldReport = {
    "TORB Version = 2.0.4",
    "Voxtra Install Information:",
    "     *Warning* - This Version of Voxtra has reached end-of-engineering no new fixes will be released",
    "Environment Information:",
    "     QMR Mode : * Warning * forced",
    "         RSS : Enabled - Warning may cause MAPI delay issues",
    "            CsVpimConnector : RegKey not found.",
};
const std::vector<SideFinding> kOld = {
    {"INSTALL-END-OF-ENGINEERING", "notice", kOldReport[2], 3},
    {"QMR-MODE-FORCED", "warning", kOldReport[4], 5},
    {"RSS-ENABLED", "warning", kOldReport[5], 6},
    {"MAPI-SHAREDMEM-KEY-MISSING", "warning", kOldReport[6], 7},
};

FindingChange ChangeOf(const std::vector<FindingRow>& rows, std::string_view id) {
  for (const auto& row : rows) {
    if (row.finding.id == id) return row.change;
  }
  ADD_FAILURE() << id << " not in the verdict";
  return FindingChange::New;
}

TEST(FindingsVerdict, ResolvedOnlyWhereTheNewReportStillTellsTheLine) {
  const std::vector<std::string> newReport = {
      "TORB Version = 2.0.4",     "Voxtra Install Information:",
      "Environment Information:", "     QMR Mode : Normal Operations",
      "         RSS : Disabled",  "(error):17 (SQL Server does not exist) in procedure GetSystemInfo",
  };
  const std::vector<SideFinding> now = {{"RUNTIME-ERROR", "warning", newReport[5], 6}};
  const auto rows = CompareFindings(kOld, now, kOldReport, newReport);
  ASSERT_EQ(rows.size(), 5u);
  EXPECT_EQ(ChangeOf(rows, "RUNTIME-ERROR"), FindingChange::New);
  EXPECT_EQ(ChangeOf(rows, "INSTALL-END-OF-ENGINEERING"), FindingChange::Resolved);
  // A run-time error in the section: nothing there is known to be resolved.
  EXPECT_EQ(ChangeOf(rows, "RSS-ENABLED"), FindingChange::LostVisibility);
  EXPECT_EQ(rows[0].change, FindingChange::New);
  EXPECT_EQ(rows.back().change, FindingChange::Resolved);
}

TEST(FindingsVerdict, LostVisibilityNamesWhatTheNewReportLacks) {
  const struct {
    std::vector<std::string> newReport;
    const char* id;
    FindingChange change;
    const char* why;
  } cases[] = {
      {{"TORB Version = 2.0.4", "Voxtra Install Information:"},
       "RSS-ENABLED",
       FindingChange::LostVisibility,
       "the new report has no section \"Environment Information:\""},
      {{"Voxtra Install Information:", "Environment Information:", "     QMR Mode : Normal"},
       "RSS-ENABLED",
       FindingChange::LostVisibility,
       "no line \"RSS\" in the new report"},
      {{"Voxtra Install Information:", "Environment Information:", "     RSS : Disabled"},
       "RSS-ENABLED",
       FindingChange::Resolved,
       ""},
      {{}, "QMR-MODE-FORCED", FindingChange::LostVisibility, "the new CAB holds no report"},
  };
  for (const auto& c : cases) {
    const auto rows = CompareFindings(kOld, {}, kOldReport, c.newReport);
    for (const auto& row : rows) {
      if (row.finding.id != c.id) continue;
      EXPECT_EQ(row.change, c.change) << c.id;
      EXPECT_EQ(row.why, c.why) << c.id;
    }
  }
}

TEST(FindingsVerdict, AFindingWhoseValueMovedIsStillPresentWithItsOldLine) {
  const std::vector<SideFinding> now = {
      {"MAPI-SHAREDMEM-KEY-MISSING", "warning", "            CsVpimConnector : RegKey not found.", 9},
      {"RSS-ENABLED", "warning", "         RSS : Enabled - Warning may cause MAPI delay issues (2)", 8},
      {"INSTALL-SYSTEMID-MISSING", "error", "(error) no entry for the current SystemID", 4},
  };
  const auto rows = CompareFindings(kOld, now, kOldReport, {});
  EXPECT_EQ(ChangeOf(rows, "RSS-ENABLED"), FindingChange::StillPresent);
  EXPECT_EQ(ChangeOf(rows, "MAPI-SHAREDMEM-KEY-MISSING"), FindingChange::StillPresent);
  for (const auto& row : rows) {
    if (row.finding.id == "RSS-ENABLED") {
      EXPECT_EQ(row.oldEvidence, kOld[2].evidence);
    }
    if (row.finding.id == "MAPI-SHAREDMEM-KEY-MISSING") {
      EXPECT_EQ(row.oldEvidence, "");
    }
  }
  EXPECT_EQ(rows[0].finding.id, "INSTALL-SYSTEMID-MISSING");  // the new error first
}

std::optional<std::string> Latin1(std::string_view text, std::uint32_t codePage) {
  if (codePage != 1252) return std::nullopt;
  std::string out;
  for (const char c : text) {
    const auto u = static_cast<unsigned char>(c);
    if (u < 0x80) {
      out += c;
    } else {
      out += static_cast<char>(0xC0 | (u >> 6));
      out += static_cast<char>(0x80 | (u & 0x3F));
    }
  }
  return out;
}

TEST(FindingsCsvReader, TodaysFilesAndUtf8FilesWithMarkCodePageAndGuardsReadAlike) {
  const std::string today =
      "id,severity,section,title,evidence,fix,line,server,gathered\r\n"
      "RSS-ENABLED,warning,\"Messaging, SQL\",T,   RSS : Enabled \xE9t\xE9,\"Set \"\"EnableRSS\"\"\",88,VOXTRA01,"
      "12-07-2026 / 10:15:42\r\n";
  const std::string issued =
      "\xEF\xBB\xBFgathered,code page,line,evidence,severity,id\r\n"
      "2026-12-07T10:15:42+01:00,1252,88,   RSS : Enabled \xC3\xA9t\xC3\xA9,warning,RSS-ENABLED\r\n"
      "2026-12-07T10:15:42+01:00,1252,90,'=cmd,notice,X-GUARDED\n";
  const auto a = ReadFindingsCsv(today, 1252, Latin1);
  const auto b = ReadFindingsCsv(issued, 932, Latin1);
  ASSERT_EQ(a.error, "");
  ASSERT_EQ(b.error, "");
  ASSERT_EQ(a.findings.size(), 1u);
  ASSERT_EQ(b.findings.size(), 2u);
  EXPECT_EQ(a.findings[0].evidence, "   RSS : Enabled \xC3\xA9t\xC3\xA9");
  EXPECT_EQ(a.findings[0].evidence, b.findings[0].evidence);
  EXPECT_EQ(a.findings[0].line, 88u);
  EXPECT_EQ(b.findings[0].id, "RSS-ENABLED");
  EXPECT_EQ(b.findings[1].evidence, "=cmd");
  EXPECT_EQ(a.codePage, 0u);  // today's files do not say
  EXPECT_EQ(b.codePage, 1252u);
}

TEST(FindingsCsvReader, BadFilesAreRefusedWithOneReason) {
  const struct {
    std::string bytes;
    const char* error;
  } cases[] = {
      {"", "it is empty"},
      {"id,title\r\nX,Y\r\n", "its header row lacks the column id, severity or evidence"},
      {"id,severity,evidence\r\nX,warning,\"" + std::string(2u << 20, 'a'), "a row is longer than 1048576 bytes"},
      {"\"" + std::string(2u << 20, 'a'), "its header row is too long"},
      {"id,severity,evidence\r\nX,warning,\xE9\r\n", "row 2: its code page is unknown"},
  };
  for (const auto& c : cases) EXPECT_EQ(ReadFindingsCsv(c.bytes, 437, Latin1).error, c.error);
  EXPECT_EQ(WithoutFormulaGuard("'+1"), "+1");
  EXPECT_EQ(WithoutFormulaGuard("'quoted'"), "'quoted'");
}

}  // namespace
}  // namespace fernwick::comparison
