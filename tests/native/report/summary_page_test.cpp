// Summary.htm: the page leads with the server and a verdict, lists each
// finding once with its lines, and keeps every character of the report in
// whichever code page the server writes it.
#include "report/summary_page.h"

#include <gtest/gtest.h>

#include "native/report/silent_gathering.h"
#include "report/finding_groups.h"
#include "report/html_text.h"
#include "native/temp_image.h"

#include <filesystem>

namespace fernwick::report {
namespace {

using enum FindingId;

struct CodePageCase {
  const char* codePage;
  std::string computerName;  // in that code page
  std::string ipConfigLine;  // in that code page
  std::string nameUtf8;
  std::string lineUtf8;
};

// Lead bytes of code page 932 and letters of 1251 are the bytes (0x81,
// 0x8D, 0x8F, 0x90, 0x9D) that code page 1252 leaves without a character.
const CodePageCase kCodePageCases[] = {
    {"932", "VOX\x83T\x81[\x83o",
     "   \x90\xDA\x91\xB1\x8C\xC5\x97L\x82\xCC DNS \x83T\x83t\x83"
     "B\x83"
     "b\x83N\x83X . . . .: corp.example.com",
     "VOXサーバ", "   接続固有の DNS サフィックス . . . .: corp.example.com"},
    {"1251",
     "\xC3\xCB\xC0\xD1-\x80"
     "1",
     "   \xD1\xF3\xF4\xE8\xEA\xF1 DNS \xE7\xE0 \xE2\xF0\xF1\xEA\xE0\xF2\xE0 . . . : \x8D, \x8F, \x90, \x9D", "ГЛАС-Ђ1",
     "   Суфикс DNS за врската . . . : Ќ, Џ, ђ, ќ"},
};

TEST(SummaryPage, NameAndIpConfigLinesKeepTheirCharactersInEveryCodePage) {
  for (const CodePageCase& c : kCodePageCases) {
    testing::TempImage image;
    image.Write("image.ini", std::string("[clock]\nNow=2026-12-07 09:05:03\n[system]\nAnsiCodePage=") + c.codePage +
                                 "\n[workstation]\nComputerName=" + c.computerName + "\nVerMajor=5\nVerMinor=2\n");
    image.Registry(
        "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Norvane Systems\\Norvane Voxtra]\r\n\"MajorVersion\"=dword:00000004\r\n");
    image.Write("programs/ipconfig.txt", "\r\nWindows IP Configuration\r\n\r\n" + c.ipConfigLine + "\r\n");
    const ReportBuffer gathered = GatherSilently(image, true);
    ASSERT_NE(gathered.Text().find(c.ipConfigLine), std::string::npos) << c.codePage << ": the report keeps its bytes";
    const std::string page = SummaryPage(CarryFindings(gathered, gathered.Text()), image.Open().Platform().codePages);
    EXPECT_NE(page.find("charset=utf-8"), std::string::npos);
    EXPECT_NE(page.find("<title>Fernwick summary: " + c.nameUtf8 + "</title>"), std::string::npos) << c.codePage;
    EXPECT_NE(page.find("<tr><th>Server</th><td>" + c.nameUtf8 + "</td></tr>"), std::string::npos) << c.codePage;
    EXPECT_NE(page.find("\n" + c.lineUtf8 + "\r\n"), std::string::npos) << c.codePage;
    EXPECT_EQ(page.find("\xEF\xBF\xBD"), std::string::npos) << c.codePage << ": no character was replaced";
  }
}

PackedReport SqlServerDown() {
  ReportBuffer buffer;
  buffer.Clear();
  for (const char* line :
       {"TORB Version = 2.0.4", "Gather Date/Time = 12-07-2026 / 10:15:42", "", "     Voxtra server name = VOXTRA01",
        "     Voxtra System ID = {5C1E}", "     Voxtra version = 4.2(1.0)", "     Partner is Exchange 2003",
        "     Partner Exchange Server Name= EXCH01"}) {
    buffer.AppendReportLine(line);
  }
  const std::string unreachable =
      "\r\n(error):17 ([Microsoft][ODBC SQL Server Driver][DBNETLIB]SQL Server does not exist or access denied.) in "
      "procedure GetSystemInfo of Form frmMain";
  for (int n = 0; n < 12; ++n) buffer.AppendFindingLine(RuntimeError, unreachable);
  buffer.AppendFindingLine(InstallDatabasePathUnknown, "     Cannot determine location of VoxtraDb");
  buffer.AppendReportLine("     SQL Version = ");
  buffer.AppendReportLine("     Windows version = 6.1 Build 7601: Service Pack 1");
  for (const char* process : {"TlCsMgr", "TlNotifierMgr"}) {
    MarkedText line = "            " + std::string(process) + " : RegKey not found.";
    line.marks.push_back({0, SharedMemKeyMissing, process, {}});
    buffer.AppendMarkedLine(line);
  }
  buffer.AppendFindingLine(PortsBootIniNotFound,
                           "     Ports configured =  99 *** Warning requirements missing : "
                           "c:\\Boot.ini Not Found ****");
  buffer.AppendFindingLine(RuntimeError, "\r\n(error):71 (Disk not ready) in procedure GetSystemInfo of Form frmMain");
  return CarryFindings(buffer, buffer.Text());
}

TEST(SummaryPage, TheHeadingNamesTheServerAndTheVerdict) {
  testing::TempImage image;
  image.Registry("");
  const std::string page = SummaryPage(SqlServerDown(), image.Open().Platform().codePages);
  for (const char* expected : {
           "<p class=\"verdict error\">1 error, 2 warnings, 1 notice (and 2 findings explained by them)</p>",
           "<tr><th>Gathered</th><td>12-07-2026 / 10:15:42</td></tr>",
           "<tr><th>Fernwick version</th><td>2.0.4</td></tr>",
           "<tr><th>System ID</th><td>{5C1E}</td></tr>",
           "<tr><th>Windows version</th><td>6.1 Build 7601: Service Pack 1 (Windows Server 2008 R2 (64-bit))</td></tr>",
           "<tr><th>SQL Server</th><td><span class=\"notread\">not read</span></td></tr>",
           "<tr><th>Back end</th><td>Exchange 2003</td></tr>",
           "<tr><th>Partner server</th><td>EXCH01</td></tr>",
           "<b>12 times</b>: <code>(error):17 ([Microsoft][ODBC SQL Server Driver][DBNETLIB]SQL Server does not exist",
           "Explained by <a href=\"#F1\">SQL-SERVER-UNREACHABLE</a>",
       }) {
    EXPECT_NE(page.find(expected), std::string::npos) << expected;
  }
}

// A fix text stands once on the page; a later row with the same fix names
// the row that has it.
TEST(SummaryPage, EachFixTextStandsOnceOnThePage) {
  testing::TempImage image;
  image.Registry("");
  const PackedReport report = SqlServerDown();
  const std::string page = SummaryPage(report, image.Open().Platform().codePages);
  std::size_t rows = 0;
  for (const FindingGroup& group : GroupFindings(report)) {
    const std::string fix = HtmlText(group.here.fix);
    std::size_t count = 0;
    for (auto at = page.find(fix); at != std::string::npos; at = page.find(fix, at + 1)) ++count;
    EXPECT_EQ(count, 1u) << group.here.fix;
    ++rows;
  }
  EXPECT_EQ(rows, 6u);
  EXPECT_NE(page.find("Same fix as <a href=\"#F1\">SQL-SERVER-UNREACHABLE</a> above."), std::string::npos);
}

}  // namespace
}  // namespace fernwick::report

namespace fernwick::report {
namespace {

// legacy-31: SQL Server cannot be reached. The cause leads the page, with
// the thirteen run-time errors of the queries that needed it and the two
// database paths folded under it; the prompt check's error follows the
// check; and the fix for error 17 stands once.
TEST(SummaryPage, Legacy31LeadsWithTheUnreachableSqlServer) {
  testing::TempImage image;
  std::filesystem::copy(std::filesystem::path(FERNWICK_SOURCE_DIR) / "samples" / "legacy-31", image.ImageFolder(),
                        std::filesystem::copy_options::recursive | std::filesystem::copy_options::overwrite_existing);
  const ReportBuffer gathered = GatherSilently(image);
  const PackedReport report = CarryFindings(gathered, gathered.Text());
  const std::vector<FindingGroup> groups = GroupFindings(report);
  std::vector<std::string> order;
  for (const FindingGroup& group : groups) {
    order.push_back((group.cause == kNoCause ? "" : "  ") + std::string(Info(group.id).name) + " x" +
                    std::to_string(group.members.size()));
  }
  EXPECT_EQ(order, (std::vector<std::string>{
                       "SQL-SERVER-UNREACHABLE x1", "  RUNTIME-ERROR x13", "  INSTALL-DB-PATH-UNKNOWN x2",
                       "PROMPTS-CHECK-INCOMPLETE x1", "  RUNTIME-ERROR x1", "MAPI-MAPI32-MISSING x1",
                       "INSTALL-END-OF-SUPPORT x1", "RUNTIME-ERROR x2", "PORTS-BOOTINI-NOT-FOUND x1",
                       "MAPI-SHAREDMEM-KEY-MISSING x7", "INSTALL-QMR-PATH-UNKNOWN x1"}));
  const std::string page = SummaryPage(report, image.Open().Platform().codePages);
  const std::string fix17 = HtmlText(groups[0].here.fix);
  const auto firstRow = page.find("<a id=\"F");
  EXPECT_EQ(firstRow, page.find("<a id=\"F1\" name=\"F1\">"));
  EXPECT_EQ(page.find("<b>", firstRow), page.find("<b>SQL-SERVER-UNREACHABLE</b>"));
  EXPECT_EQ(page.find(fix17), page.rfind(fix17)) << "one fix text once on the page";
  EXPECT_NE(page.find("Windows 2000 (32-bit)"), std::string::npos);
}

}  // namespace
}  // namespace fernwick::report
