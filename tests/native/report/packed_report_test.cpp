// Findings.csv and Summary.htm come from the text that is packed: the
// findings of the gathering follow their lines into it.
#include "report/packed_report.h"

#include <gtest/gtest.h>

#include "report/findings_csv.h"

namespace fernwick::report {
namespace {

using enum FindingId;

ReportBuffer Gathered() {
  ReportBuffer buffer;
  buffer.Clear();
  buffer.Identity().name = "VOXTRA01";
  buffer.Identity().gathered = "12-07-2026 / 10:15:42";
  buffer.AppendReportLine("TORB Version = 2.0.4");
  buffer.AppendFindingLine(RuntimeError, "\r\n(error):17 (SQL Server does not exist) in procedure GetSystemInfo");
  buffer.AppendReportLine("     SQL Version = ");
  buffer.AppendFindingLine(RuntimeError, "\r\n(error):17 (SQL Server does not exist) in procedure GetSystemInfo");
  buffer.AppendFindingLine(QmrKeysSet,
                           "     QMR Mode : * Warning * Some registry keys are set that may cause QMR Mode");
  return buffer;
}

std::vector<std::pair<FindingId, std::size_t>> Lines(const PackedReport& packed) {
  std::vector<std::pair<FindingId, std::size_t>> lines;
  for (const Finding& finding : packed.findings) {
    lines.emplace_back(finding.id, finding.line);
    EXPECT_EQ(finding.evidence, packed.lines.at(finding.line));
  }
  return lines;
}

TEST(PackedReport, AnUnchangedReportKeepsEveryFindingOnItsLine) {
  const ReportBuffer gathered = Gathered();
  EXPECT_EQ(Lines(CarryFindings(gathered, gathered.Text())),
            (std::vector<std::pair<FindingId, std::size_t>>{{RuntimeError, 2}, {RuntimeError, 5}, {QmrKeysSet, 6}}));
}

TEST(PackedReport, DebugLinesMoveTheFindingsDown) {
  const ReportBuffer gathered = Gathered();
  const std::string packed = "DEBUG: strPathName=C:\\Out\\\r\nDEBUG: opening VoxtraSystemInfo.txt\r\n" +
                             gathered.Text() + "DEBUG: Finished writing VoxtraSystemInfo.txt";
  const PackedReport carried = CarryFindings(gathered, packed);
  EXPECT_EQ(Lines(carried),
            (std::vector<std::pair<FindingId, std::size_t>>{{RuntimeError, 4}, {RuntimeError, 7}, {QmrKeysSet, 8}}));
  EXPECT_EQ(carried.lines.back(), "DEBUG: Finished writing VoxtraSystemInfo.txt");
}

TEST(PackedReport, AnEarlierWriteToFilesErrorLinesAreFindings) {
  const ReportBuffer gathered = Gathered();
  const std::string packed = gathered.Text() + "\r\n(error) in cmdWriteToFile routine:Path not found\r\n";
  EXPECT_EQ(Lines(CarryFindings(gathered, packed)),
            (std::vector<std::pair<FindingId, std::size_t>>{
                {RuntimeError, 2}, {RuntimeError, 5}, {QmrKeysSet, 6}, {WriteToFileError, 8}}));
}

TEST(PackedReport, AFindingWhoseLineTheUserDeletedIsNotClaimed) {
  const ReportBuffer gathered = Gathered();
  std::string packed = gathered.Text();
  const std::string qmr = "     QMR Mode : * Warning * Some registry keys are set that may cause QMR Mode\r\n";
  packed.erase(packed.find(qmr), qmr.size());
  // One of two identical error lines deleted: one is left to claim.
  const std::string error = "(error):17 (SQL Server does not exist) in procedure GetSystemInfo\r\n";
  packed.erase(packed.find(error), error.size());
  EXPECT_EQ(Lines(CarryFindings(gathered, packed)),
            (std::vector<std::pair<FindingId, std::size_t>>{{RuntimeError, 4}}));
}

TEST(PackedReport, TheCsvEndsEachRowWithLineServerAndTime) {
  const ReportBuffer gathered = Gathered();
  const std::string csv = FindingsCsv(CarryFindings(gathered, "DEBUG: x\r\n" + gathered.Text()));
  const std::vector<std::string> rows = SplitLines(csv);
  ASSERT_EQ(rows.size(), 4u);
  EXPECT_EQ(rows[0], "id,severity,section,title,evidence,fix,line,server,gathered");
  EXPECT_TRUE(rows[1].starts_with("RUNTIME-ERROR,warning,Any section,")) << rows[1];
  EXPECT_TRUE(rows[1].ends_with(",4,VOXTRA01,12-07-2026 / 10:15:42")) << rows[1];
  EXPECT_TRUE(rows[3].ends_with(",8,VOXTRA01,12-07-2026 / 10:15:42")) << rows[3];
}

}  // namespace
}  // namespace fernwick::report
