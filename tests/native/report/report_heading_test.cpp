// The facts the findings files head with are read from the report's own
// lines: those it lacks are not read, and 64-bit Windows shows in them.
#include "report/report_heading.h"

#include <gtest/gtest.h>

#include "native/temp_image.h"
#include "report/packed_report.h"
#include "report/summary_page.h"

namespace fernwick::report {
namespace {

const std::vector<std::string> kLines = {"TORB Version = 2.0.4",
                                         "Gather Date/Time = 12-07-2026 / 10:15:42",
                                         "",
                                         "     Voxtra server name = SERVER-A",
                                         "     Voxtra System ID = {5C1E}",
                                         "     Back end is Exchange 5.5",
                                         "     Partner Exchange Server Name = ",
                                         "     Windows version = 5.0 "};

TEST(ReportHeading, FactsComeFromTheTextAndThoseItLacksAreNotRead) {
  const ServerIdentity facts = ReadHeading(kLines, 932);
  EXPECT_EQ(facts.name, "SERVER-A");
  EXPECT_EQ(facts.systemId, "{5C1E}");
  EXPECT_EQ(facts.backEnd, "Exchange 5.5");
  EXPECT_EQ(facts.partner, "");
  EXPECT_EQ(facts.sqlVersion, "");  // no SQL Version line
  EXPECT_EQ(facts.codePage, 932u);
  EXPECT_EQ(WindowsName(facts.windowsFacts), "Windows 2000 (32-bit)");
  ReportBuffer buffer;
  buffer.Clear();
  for (const std::string& line : kLines) buffer.AppendReportLine(line);
  testing::TempImage image;
  image.Registry("");
  const std::string page = SummaryPage(CarryFindings(buffer, buffer.Text()), image.Open().Platform().codePages);
  for (const char* fact : {"SQL Server", "Partner server"}) {
    EXPECT_NE(page.find("<tr><th>" + std::string(fact) + "</th><td><span class=\"notread\">not read</span></td></tr>"),
              std::string::npos)
        << fact;
  }
}

TEST(ReportHeading, SixtyFourBitWindowsShowsInTheReportsOwnLines) {
  const auto bits = [](const std::string& line) {
    return ReadHeading({"     Windows version = 5.2 Build 3790: Service Pack 2", line}, 1252).windowsFacts.bits;
  };
  EXPECT_EQ(bits("     Core install files to= C:\\Program Files (x86)\\Voxtra\\"), 64);
  EXPECT_EQ(bits("     SQL Version = Microsoft SQL Server 2005 - 9.00.3042.00 (X64)"), 64);
  EXPECT_EQ(bits("     Core install files to= C:\\Program Files\\Voxtra\\"), 0);
  EXPECT_EQ(ReadHeading({"     Windows version = 6.1 "}, 1252).windowsFacts.bits, 64);
}

TEST(ReportHeading, TheGatheringTimeIsWrittenInIso8601) {
  EXPECT_EQ(IsoGathered("12-07-2026 / 10:15:42"), "2026-12-07T10:15:42");
  for (const char* other : {"12-07-2026 10:15", "", "12-07-2026 / 10:15:4x", "not read"}) {
    EXPECT_EQ(IsoGathered(other), "") << other;
  }
}

}  // namespace
}  // namespace fernwick::report
