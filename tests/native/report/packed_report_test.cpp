// Findings.csv and Summary.htm come from the text that is packed: the
// findings of the gathering follow their lines into it, and the facts the
// files head with are that text's.
#include "report/packed_report.h"

#include <gtest/gtest.h>

#include "native/temp_image.h"
#include "report/finding_groups.h"
#include "report/findings_csv.h"
#include "report/summary_page.h"

namespace fernwick::report {
namespace {

using enum FindingId;

ReportBuffer Gathered() {
  ReportBuffer buffer;
  buffer.Clear();
  buffer.AppendReportLine("TORB Version = 2.0.4");
  buffer.AppendReportLine("Gather Date/Time = 12-07-2026 / 10:15:42\r\n");
  buffer.AppendReportLine("     Voxtra server name = VOXTRA01");
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
            (std::vector<std::pair<FindingId, std::size_t>>{{RuntimeError, 5}, {RuntimeError, 8}, {QmrKeysSet, 9}}));
}

TEST(PackedReport, DebugLinesMoveTheFindingsDown) {
  const ReportBuffer gathered = Gathered();
  const std::string packed = "DEBUG: strPathName=C:\\Out\\\r\nDEBUG: opening VoxtraSystemInfo.txt\r\n" +
                             gathered.Text() + "DEBUG: Finished writing VoxtraSystemInfo.txt";
  const PackedReport carried = CarryFindings(gathered, packed);
  EXPECT_EQ(Lines(carried),
            (std::vector<std::pair<FindingId, std::size_t>>{{RuntimeError, 7}, {RuntimeError, 10}, {QmrKeysSet, 11}}));
  EXPECT_EQ(carried.lines.back(), "DEBUG: Finished writing VoxtraSystemInfo.txt");
}

TEST(PackedReport, AnEarlierWriteToFilesErrorLinesAreFindings) {
  const ReportBuffer gathered = Gathered();
  const std::string packed = gathered.Text() + "\r\n(error) in cmdWriteToFile routine:Path not found\r\n";
  EXPECT_EQ(Lines(CarryFindings(gathered, packed)),
            (std::vector<std::pair<FindingId, std::size_t>>{
                {RuntimeError, 5}, {RuntimeError, 8}, {QmrKeysSet, 9}, {WriteToFileError, 11}}));
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
            (std::vector<std::pair<FindingId, std::size_t>>{{RuntimeError, 7}}));
}

// A gathered report of a server and its partner, and the same report as the
// customer packed it after replacing both names in the window.
struct EditedWindow {
  ReportBuffer gathered;
  std::string packed;
};

EditedWindow NamesReplaced() {
  EditedWindow edited;
  ReportBuffer& buffer = edited.gathered;
  buffer.Clear();
  for (const char* line :
       {"TORB Version = 2.0.4", "Gather Date/Time = 12-07-2026 / 10:15:42", "", "Voxtra Install Information:",
        "     Voxtra server name = VOXPROD-7", "     Voxtra System ID = {5C1E}", "     Voxtra version = 4.2(1.0)",
        "     Partner is Exchange 2003", "     Partner Exchange Server Name= EXCHPROD-7.corp.example.com"}) {
    buffer.AppendReportLine(line);
  }
  buffer.AppendFindingLine(StatusCheckDisabled, "          Server Status Check = *** DISABLED ****");
  buffer.AppendFindingLine(UptimeUnparsed,
                           "     System Uptime: Unable to parse windows systeminfo output on VOXPROD-7");
  edited.packed = buffer.Text();
  for (const auto& [from, to] :
       {std::pair<std::string, std::string>{"VOXPROD-7", "SERVER-A"}, {"EXCHPROD-7.corp.example.com", "PARTNER-A"}}) {
    for (auto at = edited.packed.find(from); at != std::string::npos; at = edited.packed.find(from, at)) {
      edited.packed.replace(at, from.size(), to);
    }
  }
  return edited;
}

TEST(PackedReport, NamesTheCustomerRemovedFromTheWindowAreInNoFile) {
  const EditedWindow edited = NamesReplaced();
  const PackedReport packed = CarryFindings(edited.gathered, edited.packed);
  testing::TempImage image;
  image.Registry("");
  const std::string csv = FindingsCsv(packed, image.Open().Platform().codePages);
  const std::string page = SummaryPage(packed, image.Open().Platform().codePages);
  for (const std::string* file : {&csv, &page}) {
    EXPECT_EQ(file->find("VOXPROD"), std::string::npos);
    EXPECT_EQ(file->find("EXCHPROD"), std::string::npos);
  }
  EXPECT_NE(page.find("<title>Fernwick summary: SERVER-A</title>"), std::string::npos);
  EXPECT_NE(page.find("<tr><th>Partner server</th><td>PARTNER-A</td></tr>"), std::string::npos);
  EXPECT_NE(page.find("<tr><th>Back end</th><td>Exchange 2003</td></tr>"), std::string::npos);
  EXPECT_NE(csv.find(",SERVER-A,2026-12-07T10:15:42,1252,"), std::string::npos) << csv;
  // The uptime line changed with the name: its finding is not claimed.
  EXPECT_EQ(Lines(packed), (std::vector<std::pair<FindingId, std::size_t>>{{StatusCheckDisabled, 9}}));
}

}  // namespace
}  // namespace fernwick::report
