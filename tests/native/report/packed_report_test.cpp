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

TEST(PackedReport, HeadingFactsComeFromTheTextAndThoseItLacksAreNotRead) {
  const EditedWindow edited = NamesReplaced();
  const ServerIdentity facts = CarryFindings(edited.gathered, edited.packed).identity;
  EXPECT_EQ(facts.name, "SERVER-A");
  EXPECT_EQ(facts.systemId, "{5C1E}");
  EXPECT_EQ(facts.sqlVersion, "");  // no SQL Version line
  EXPECT_EQ(facts.windowsFacts.bits, 0);
  testing::TempImage image;
  image.Registry("");
  const std::string page =
      SummaryPage(CarryFindings(edited.gathered, edited.packed), image.Open().Platform().codePages);
  EXPECT_NE(page.find("<tr><th>SQL Server</th><td><span class=\"notread\">not read</span></td></tr>"),
            std::string::npos);
  // 64-bit Windows shows in the report's own lines.
  const auto bits = [](const std::string& line) {
    return ReadHeading({"     Windows version = 5.2 Build 3790: Service Pack 2", line}, 1252).windowsFacts.bits;
  };
  EXPECT_EQ(bits("     Core install files to= C:\\Program Files (x86)\\Voxtra\\"), 64);
  EXPECT_EQ(bits("     SQL Version = Microsoft SQL Server 2005 - 9.00.3042.00 (X64)"), 64);
  EXPECT_EQ(bits("     Core install files to= C:\\Program Files\\Voxtra\\"), 0);
  EXPECT_EQ(IsoGathered("12-07-2026 / 10:15:42"), "2026-12-07T10:15:42");
  EXPECT_EQ(IsoGathered("12-07-2026 10:15"), "");
}

TEST(PackedReport, TheCsvIsUtf8WithItsHeaderAndEndsEachRowWithServerTimeAndCodePage) {
  const ReportBuffer gathered = Gathered();
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
TEST(PackedReport, CsvCellsThatASpreadsheetCouldRunAreText) {
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
