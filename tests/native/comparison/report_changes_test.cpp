// The changed lines of two reports, section by section, and the table of
// lines that change on every run.
#include <gtest/gtest.h>

#include "comparison/report_changes.h"
#include "comparison/volatile_lines.h"

namespace fernwick::comparison {
namespace {

TEST(VolatileLines, TheTableLeavesOutWhatChangesOnEveryRun) {
  const struct {
    const char* old;
    const char* now;
    bool isVolatile;
  } cases[] = {
      {"Gather Date/Time = 12-07-2026 / 10:15:42", "Gather Date/Time = 12-09-2026 / 08:00:00", true},
      {"TORB Version = 2.0.3", "TORB Version = 2.0.4", true},
      {"     System Uptime:  12 Days, 4 Hours", "     System Uptime:  0 Days, 1 Hours", true},
      {"         Megs free= 12683.34", "         Megs free= 12100.00", true},   // 4.6 %
      {"         Megs free= 12683.34", "         Megs free= 11000.00", false},  // 13 %
      {"         Megs free= 0", "         Megs free= 0.5", false},
      {"         Megs free= 12683.34", "         Megs free= (error)", false},
      {"         % free space= 31.7", "         % free space= 27.8", true},
      {"         % free space= 31.7", "         % free space= 26.7", false},
      {"         Total capacity (megs)= 40007.99", "         Total capacity (megs)= 40008.00", false},
      {"         RSS : Enabled", "         RSS : Disabled", false},
      {"         Megs free= 100", "         % free space= 100", false},
  };
  for (const auto& c : cases) EXPECT_EQ(IsVolatileChange(c.old, c.now), c.isVolatile) << c.old << " -> " << c.now;
  EXPECT_GE(VolatileLines().size(), 5u);
}

TEST(ReportChanges, LinesOfTheSameLabelArePairedOthersStandAlone) {
  const std::vector<std::string> old = {"a = 1", "RSS : Enabled", "b = 2", "gone", "c = 3"};
  const std::vector<std::string> now = {"a = 1", "RSS : Disabled", "b = 2", "c = 3", "added"};
  const auto changes = CompareLines(old, now);
  ASSERT_EQ(changes.size(), 3u);
  EXPECT_EQ(changes[0].oldLine, "RSS : Enabled");
  EXPECT_EQ(changes[0].newLine, "RSS : Disabled");
  EXPECT_TRUE(changes[0].inOld && changes[0].inNew);
  EXPECT_EQ(changes[1].oldLine, "gone");
  EXPECT_FALSE(changes[1].inNew);
  EXPECT_EQ(changes[2].newLine, "added");
  EXPECT_FALSE(changes[2].inOld);
}

TEST(ReportChanges, SectionsOnlyOneReportHoldsAreNamedAndVolatileLinesFlagged) {
  const std::vector<std::string> old = {"TORB Version = 2.0.4",        "Gather Date/Time = 12-07-2026 / 10:15:42",
                                        "Voxtra Install Information:", "     Ports configured =  23",
                                        "Environment Information:",    "     System Uptime:  1 Days"};
  const std::vector<std::string> now = {"TORB Version = 2.0.4",         "Gather Date/Time = 12-08-2026 / 10:15:42",
                                        "Voxtra Install Information:",  "     Ports configured =  24",
                                        "Voxtra Directory Information", "     Total = 3"};
  const auto sections = CompareReports(old, now);
  ASSERT_EQ(sections.size(), 4u);
  EXPECT_EQ(sections[0].title, "(report header)");
  ASSERT_EQ(sections[0].lines.size(), 1u);
  EXPECT_TRUE(sections[0].lines[0].isVolatile);
  EXPECT_EQ(sections[1].title, "Voxtra Install Information:");
  EXPECT_FALSE(sections[1].lines[0].isVolatile);
  EXPECT_EQ(sections[2].title, "Environment Information:");
  EXPECT_EQ(sections[2].presence, SectionPresence::OldOnly);
  EXPECT_EQ(sections[3].presence, SectionPresence::NewOnly);
}

TEST(ReportChanges, ReportsTooLongToMatchStayBoundedAndComplete) {
  std::vector<std::string> old, now;
  for (int i = 0; i < 3000; ++i) {
    old.push_back("line " + std::to_string(i));
    now.push_back("line " + std::to_string(i % 2 == 0 ? i : -i));
  }
  now.front() = "first = changed";  // nothing in common at the start or the end
  old.back() = "last = was";
  const auto changes = CompareLines(old, now);
  std::size_t removed = 0, added = 0;
  for (const auto& c : changes) {
    removed += c.inOld;
    added += c.inNew;
  }
  EXPECT_EQ(removed, 3000u);  // past the bound every line between counts as changed
  EXPECT_EQ(added, 3000u);
}

}  // namespace
}  // namespace fernwick::comparison
