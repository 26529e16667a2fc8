// Findings.csv: UTF-8 behind a byte-order mark, one header row, each row
// ending with the server, the time in ISO 8601 and the code page, and no
// cell a spreadsheet could run.
#include "report/findings_csv.h"

#include <gtest/gtest.h>

#include "native/temp_image.h"

namespace fernwick::report {
namespace {

using enum FindingId;

TEST(FindingsCsv, TheCsvIsUtf8WithItsHeaderAndEndsEachRowWithServerTimeAndCodePage) {
  ReportBuffer gathered;
  gathered.Clear();
  gathered.AppendReportLine("TORB Version = 2.0.4");
  gathered.AppendReportLine("Gather Date/Time = 12-07-2026 / 10:15:42\r\n");
  gathered.AppendReportLine("     Voxtra server name = VOXTRA01");
  gathered.AppendFindingLine(RuntimeError, "\r\n(error):17 (SQL Server does not exist) in procedure GetSystemInfo");
  gathered.AppendReportLine("     SQL Version = ");
  gathered.AppendFindingLine(RuntimeError, "\r\n(error):17 (SQL Server does not exist) in procedure GetSystemInfo");
  gathered.AppendFindingLine(QmrKeysSet,
                             "     QMR Mode : * Warning * Some registry keys are set that may cause QMR Mode");
  testing::TempImage image;
  image.Registry("");
  const std::string csv =
      FindingsCsv(CarryFindings(gathered, "DEBUG: x\r\n" + gathered.Text()), image.Open().Platform().codePages);
  ASSERT_TRUE(csv.starts_with(kUtf8ByteOrderMark));
  const std::vector<std::string> rows = SplitLines(csv.substr(kUtf8ByteOrderMark.size()));
  ASSERT_EQ(rows.size(), 4u);
  EXPECT_EQ(rows[0], "id,severity,section,title,evidence,fix,line,server,gathered,code page,explained by");
  EXPECT_TRUE(rows[1].starts_with("RUNTIME-ERROR,warning,Any section,")) << rows[1];
  EXPECT_TRUE(rows[1].ends_with(",7,VOXTRA01,2026-12-07T10:15:42,1252,")) << rows[1];
  EXPECT_TRUE(rows[3].ends_with(",11,VOXTRA01,2026-12-07T10:15:42,1252,")) << rows[3];
}

// The OWASP rule: a spreadsheet takes none of these as a formula.
TEST(FindingsCsv, CsvCellsThatASpreadsheetCouldRunAreText) {
  const std::pair<std::string_view, std::string_view> cells[] = {
      {"=1+2", "\"'=1+2\""},
      {"-2+3", "\"'-2+3\""},
      {"@SUM(1)", "\"'@SUM(1)\""},
      {"+VOX01", "\"'+VOX01\""},
      {"\t=1+2", "\"'\t=1+2\""},
      {"\r=1+2", "\"'\r=1+2\""},
      {"'quoted", "\"''quoted\""},  // a ' of the report's own stays when the added one is taken off
      {"=HYPERLINK(\"x\",\"y\")", "\"'=HYPERLINK(\"\"x\"\",\"\"y\"\")\""},
      {"     =1+2", "     =1+2"},  // begins with a blank: text already
      {"a, b", "\"a, b\""},
      {"plain", "plain"},
      {"", ""},
  };
  for (const auto& [field, written] : cells) EXPECT_EQ(CsvField(field), written) << field;
}

}  // namespace
}  // namespace fernwick::report
