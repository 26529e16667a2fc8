// Summary.htm: the page leads with the server and a verdict, lists each
// finding once with its lines, and keeps every character of the report in
// whichever code page the server writes it.
#include "report/summary_page.h"

#include <gtest/gtest.h>

#include "native/report/silent_gathering.h"
#include "report/finding_groups.h"
#include "native/temp_image.h"

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
  ServerIdentity& id = buffer.Identity();
  id = {"VOXTRA01",
        "4.2(1.0)",
        "Exchange 2003",
        "EXCH01",
        "12-07-2026 / 10:15:42",
        "2.0.4",
        "{5C1E}",
        "Microsoft SQL Server 2005 - 9.00.3042.00: SP2",
        "6.1 Build 7601: Service Pack 1",
        {6, 1, 0},
        1252};
  for (int n = 0; n < 12; ++n) {
    buffer.AppendFindingLine(RuntimeError, "\r\n(error):17 (SQL Server does not exist) in procedure GetSystemInfo");
  }
  for (const char* process : {"TlCsMgr", "TlNotifierMgr"}) {
    MarkedText line = "            " + std::string(process) + " : RegKey not found.";
    line.marks.push_back({0, SharedMemKeyMissing, process, {}});
    buffer.AppendMarkedLine(line);
  }
  buffer.AppendFindingLine(PortsBootIniNotFound,
                           "     Ports configured =  99 *** Warning requirements missing : "
                           "c:\\Boot.ini Not Found ****");
  return CarryFindings(buffer, buffer.Text());
}

TEST(SummaryPage, IdenticalErrorsAndOneFindingsLinesMakeOneRowEach) {
  const PackedReport report = SqlServerDown();
  const std::vector<FindingGroup> groups = GroupFindings(report);
  ASSERT_EQ(groups.size(), 3u);
  EXPECT_EQ(groups[0].id, RuntimeError);
  EXPECT_EQ(groups[0].members.size(), 12u);
  EXPECT_EQ(groups[1].id, SharedMemKeyMissing);
  EXPECT_NE(groups[1].fix.find("For each <process>: TlCsMgr, TlNotifierMgr."), std::string::npos) << groups[1].fix;
  EXPECT_NE(groups[1].fix.find("HKLM\\SOFTWARE\\Wow6432Node\\Microsoft"), std::string::npos) << "2008 R2 is 64-bit";
  EXPECT_EQ(groups[2].id, PortsBootIniNotFound);
  EXPECT_EQ(groups[2].severity, Severity::Notice) << "no boot.ini to check on 2008 R2 is no warning";
  EXPECT_EQ(Verdict(groups), "0 errors, 2 warnings, 1 notice");
}

TEST(SummaryPage, TheHeadingNamesTheServerAndTheVerdict) {
  testing::TempImage image;
  image.Registry("");
  const std::string page = SummaryPage(SqlServerDown(), image.Open().Platform().codePages);
  for (const char* expected : {
           "<p class=\"verdict warning\">0 errors, 2 warnings, 1 notice</p>",
           "<tr><th>Gathered</th><td>12-07-2026 / 10:15:42</td></tr>",
           "<tr><th>Fernwick version</th><td>2.0.4</td></tr>",
           "<tr><th>System ID</th><td>{5C1E}</td></tr>",
           "<tr><th>Windows version</th><td>6.1 Build 7601: Service Pack 1 (Windows Server 2008 R2 (64-bit))</td></tr>",
           "<tr><th>SQL Server</th><td>Microsoft SQL Server 2005 - 9.00.3042.00: SP2</td></tr>",
           "<tr><th>Back end</th><td>Exchange 2003</td></tr>",
           "<tr><th>Partner server</th><td>EXCH01</td></tr>",
           "<b>12 times</b>: <code>(error):17 (SQL Server does not exist) in procedure GetSystemInfo</code>",
       }) {
    EXPECT_NE(page.find(expected), std::string::npos) << expected;
  }
}

}  // namespace
}  // namespace fernwick::report
