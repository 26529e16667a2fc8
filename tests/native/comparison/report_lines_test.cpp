// A report read back: the label that pairs an old line with a new one, and
// the sections by their titles.
#include <gtest/gtest.h>

#include "comparison/report_lines.h"
#include "comparison/server_identity.h"

namespace fernwick::comparison {
namespace {

TEST(ReportLines, ALineIsLabelledByTheWordsBeforeItsFirstColonOrEqualsSign) {
  const struct {
    const char* line;
    const char* label;
    bool own;
  } cases[] = {
      {"         RSS : Enabled - Warning may cause MAPI delay issues", "RSS", true},
      {"         Megs free= 12683.34", "Megs free", true},
      {"Gather Date/Time = 12-07-2026 / 10:15:42", "Gather Date/Time", true},
      {"     System Uptime:  12 Days, 4 Hours", "System Uptime", true},
      {"            CsVpimConnector : RegKey not found.  Recommend add the key", "CsVpimConnector", true},
      {"     *Warning* - This Version of Voxtra has reached end-of-engineering",
       "*Warning* - This Version of Voxtra has reached end-of-engineering", false},
      {"(error):53 (File not found) in procedure GetSystemInfo",
       "(error):53 (File not found) in procedure GetSystemInfo", false},
      {"     Standard Voxtra conversation in use", "Standard Voxtra conversation in use", false},
      {"   : no label", ": no label", false},
      {"", "", false},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(LineLabel(c.line), c.label) << c.line;
    EXPECT_EQ(HasOwnLabel(c.line), c.own) << c.line;
  }
  EXPECT_EQ(LabelledValue("     Voxtra server name = VOXTRA01"), "VOXTRA01");
  EXPECT_EQ(LabelledValue("     Standard Voxtra conversation in use"), std::nullopt);
}

TEST(ReportLines, SectionsFollowTheTitlesTheReportHolds) {
  const std::vector<std::string> lines = {
      "TORB Version = 2.0.4",   "Voxtra Install Information:", "     Ports configured = 4", "Environment Information:",
      "     QMR Mode : Normal", "OS Platform IP Config Info:", "Windows IP Configuration"};
  const auto sections = Sections(lines);
  ASSERT_EQ(sections.size(), 4u);
  EXPECT_EQ(sections[0].title, kHeaderSection);
  EXPECT_EQ(sections[1].title, "Voxtra Install Information:");
  EXPECT_EQ(sections[1].begin, 2u);
  EXPECT_EQ(sections[1].end, 3u);
  EXPECT_EQ(sections[3].end, 7u);
  EXPECT_EQ(SectionOf(sections, 0), kHeaderSection);
  EXPECT_EQ(SectionOf(sections, 3), "Environment Information:");
  EXPECT_EQ(SectionOf(sections, 6), "OS Platform IP Config Info:");
  EXPECT_EQ(FindSection(sections, "Voxtra Directory Information"), nullptr);
}

TEST(ReportLines, TextLinesCutAtCrLfAndLf) {
  EXPECT_EQ(TextLines("a\r\nb\nc"), (std::vector<std::string>{"a", "b", "c"}));
  EXPECT_EQ(TextLines("a\r\n\r\n"), (std::vector<std::string>{"a", ""}));
  EXPECT_TRUE(TextLines("").empty());
}

TEST(ServerIdentity, TheReportNamesServerSystemIdTimeAndFernwick) {
  const std::vector<std::string> lines = {"TORB Version = 2.0.4", "Gather Date/Time = 12-07-2026 / 10:15:42",
                                          "Voxtra Install Information:", "     Voxtra server name = VOXTRA01",
                                          "     Voxtra System ID = {5C1E}"};
  const ReportIdentity id = IdentityOf(lines);
  EXPECT_EQ(id.name, "VOXTRA01");
  EXPECT_EQ(id.systemId, "{5C1E}");
  EXPECT_EQ(id.gathered, "12-07-2026 / 10:15:42");
  EXPECT_EQ(id.fernwick, "2.0.4");
}

TEST(ServerIdentity, SameServerByNameAndSystemIdWhereBothStateOne) {
  const struct {
    ReportIdentity a, b;
    bool same;
  } cases[] = {
      {{"VOXTRA01", "{1}", "", ""}, {"voxtra01", "{1}", "", ""}, true},
      {{"VOXTRA01", "{1}", "", ""}, {"VOXTRA01", "{2}", "", ""}, false},
      {{"VOXTRA01", "{1}", "", ""}, {"VOXTRA02", "{1}", "", ""}, false},
      {{"VOXTRA01", "", "", ""}, {"VOXTRA01", "{2}", "", ""}, true},
      {{"HOST01", "{1}", "", ""}, {"HOST01", "{1}", "", ""}, true},  // pseudonyms of one map
  };
  for (const auto& c : cases) EXPECT_EQ(SameServer(c.a, c.b), c.same) << c.a.name << " " << c.b.name;
}

TEST(ServerIdentity, TimesApartInEitherNotation) {
  const struct {
    const char* older;
    const char* newer;
    std::optional<long long> seconds;
  } cases[] = {
      {"12-07-2026 / 10:15:42", "12-07-2026 / 10:15:42", 0},
      {"12-07-2026 / 10:15:42", "12-09-2026 / 11:16:42", 2 * 86400 + 3600 + 60},
      {"12-31-2026 / 23:00:00", "01-01-2027 / 01:00:00", 7200},
      {"02-28-2028 / 00:00:00", "03-01-2028 / 00:00:00", 2 * 86400},  // a leap year
      {"12-07-2026 / 10:15:42", "2026-12-07T11:15:42+01:00", 0},
      {"2026-12-07T10:15:42Z", "2026-12-07T10:15:42-02:00", 7200},
      {"12-09-2026 / 10:00:00", "12-07-2026 / 10:00:00", -2 * 86400},
      {"", "12-07-2026 / 10:15:42", std::nullopt},
      {"13-07-2026 / 10:15:42", "12-07-2026 / 10:15:42", std::nullopt},
  };
  for (const auto& c : cases) EXPECT_EQ(SecondsBetween(c.older, c.newer), c.seconds) << c.older << " " << c.newer;
  EXPECT_EQ(Duration(2 * 86400 + 3600 + 120), "2 days, 1 hour, 2 minutes");
  EXPECT_EQ(Duration(-59), "less than a minute");
}

}  // namespace
}  // namespace fernwick::comparison
