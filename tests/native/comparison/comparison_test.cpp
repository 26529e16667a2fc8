// Two sides put together: what counts as a difference (exit code 1), what
// the output says a side cannot be compared by, what the volatile table
// leaves out beyond the report, and the page.
#include <gtest/gtest.h>

#include "comparison/comparison.h"
#include "comparison/comparison_page.h"

namespace fernwick::comparison {
namespace {

ComparedSide Side(const std::string& rss, const std::string& gathered = "12-07-2026 / 10:15:42") {
  ComparedSide side;
  side.name = "a.cab";
  side.report = std::vector<std::string>{"TORB Version = 2.0.4",        "Gather Date/Time = " + gathered,
                                         "Voxtra Install Information:", "     Voxtra server name = VOXTRA01",
                                         "Environment Information:",    "         RSS : " + rss};
  side.findings = std::vector<SideFinding>{};
  if (rss.starts_with("Enabled")) side.findings->push_back({"RSS-ENABLED", "warning", (*side.report)[5], 6});
  side.findingsFrom = "Findings.csv";
  side.image.emplace();
  side.image->Add(ImageFactKind::ProgramOutput, "systeminfo.txt", "System Up Time:            12 Days, 4 Hours\r\n");
  return side;
}

TEST(Comparison, NothingButVolatileLinesIsNoDifferenceAndTheVerdictLineAlone) {
  ComparedSide a = Side("Enabled - Warning");
  ComparedSide b = Side("Enabled - Warning", "12-09-2026 / 08:00:00");
  b.image = ImageFacts();
  b.image->Add(ImageFactKind::ProgramOutput, "systeminfo.txt", "System Up Time:            0 Days, 1 Hours\r\n");
  const Comparison c = Compare(a, b, {});
  EXPECT_FALSE(Differs(c));
  EXPECT_EQ(c.volatileLeftOut, 2u);
  EXPECT_EQ(ComparisonText(c, a, b), "Verdict: no finding changed, 1 still present\n");
  const Comparison all = Compare(a, b, {.all = true});
  EXPECT_TRUE(Differs(all));
  EXPECT_EQ(all.image.size(), 1u);
}

TEST(Comparison, ASideWithoutFindingsOrReportSaysWhatIsNotCompared) {
  ComparedSide a = Side("Enabled - Warning");
  ComparedSide b;
  b.name = "old.cab";
  b.lacks.push_back("no server image (ServerImage.cab): registry values not compared");
  const Comparison c = Compare(a, b, {});
  const std::string text = ComparisonText(c, a, b);
  EXPECT_EQ(text.substr(0, text.find('\n')), "Verdict: findings not compared");
  EXPECT_NE(text.find("NEW: neither Findings.csv nor a server image that gathers: findings not compared"),
            std::string::npos);
  EXPECT_NE(text.find("NEW: no report (VoxtraSystemInfo.txt): report not compared"), std::string::npos);
  EXPECT_NE(text.find("NEW: no server image (ServerImage.cab): registry values not compared"), std::string::npos);
}

TEST(Comparison, DifferentServersAreSaidFirst) {
  ComparedSide a = Side("Disabled");
  ComparedSide b = Side("Disabled");
  (*b.report)[3] = "     Voxtra server name = VOXTRA02";
  const Comparison c = Compare(a, b, {});
  EXPECT_FALSE(c.sameServer);
  EXPECT_TRUE(Differs(c));
  const std::string text = ComparisonText(c, a, b);
  EXPECT_EQ(text.substr(0, text.find('\n')), "Different servers: compared as asked (--different-servers)");
}

TEST(Comparison, ThePageEscapesEveryTextAndHoldsNoScript) {
  ComparedSide a = Side("Enabled - Warning <b>");
  ComparedSide b = Side("Disabled & <script>alert(1)</script>");
  const Comparison c = Compare(a, b, {});
  const std::string page = ComparisonPage(c, a, b);
  EXPECT_EQ(page.find("<script"), std::string::npos);
  EXPECT_NE(page.find("&lt;script&gt;"), std::string::npos);
  EXPECT_NE(page.find("charset=utf-8"), std::string::npos);
  EXPECT_NE(page.find("<th>OLD</th><th>NEW</th>"), std::string::npos);
  EXPECT_NE(page.find("resolved"), std::string::npos);
}

}  // namespace
}  // namespace fernwick::comparison
