#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "servicelist/output_file_name.h"

namespace tabulex {
namespace {

std::optional<std::string> NameFrom(std::vector<std::string_view> arguments) {
  return OutputFileNameFromArguments(arguments);
}

TEST(OutputFileName, ArgumentAfterDashOIsTheName) {
  EXPECT_EQ(NameFrom({"-o", "C:\\out\\ServiceInfo.csv"}), "C:\\out\\ServiceInfo.csv");
}

TEST(OutputFileName, NoArgumentsNameNothing) {
  EXPECT_EQ(NameFrom({}), std::nullopt);
}

TEST(OutputFileName, DashOAsTheLastArgumentNamesNothing) {
  EXPECT_EQ(NameFrom({"-o"}), std::nullopt);
  EXPECT_EQ(NameFrom({"x.csv", "-o"}), std::nullopt);
}

TEST(OutputFileName, CapitalOAndLookalikesAreNotTheOption) {
  EXPECT_EQ(NameFrom({"-O", "a.csv"}), std::nullopt);
  EXPECT_EQ(NameFrom({"/o", "a.csv"}), std::nullopt);
  EXPECT_EQ(NameFrom({"-o ", "a.csv"}), std::nullopt);
  EXPECT_EQ(NameFrom({"-oa.csv"}), std::nullopt);
}

TEST(OutputFileName, LastPairWins) {
  EXPECT_EQ(NameFrom({"-o", "a.csv", "-o", "b.csv"}), "b.csv");
  EXPECT_EQ(NameFrom({"-o", "a.csv", "junk", "-o", "b.csv", "more"}), "b.csv");
}

TEST(OutputFileName, TrailingDashOKeepsTheEarlierName) {
  EXPECT_EQ(NameFrom({"-o", "a.csv", "-o"}), "a.csv");
}

TEST(OutputFileName, ArgumentAfterDashOIsItselfExamined) {
  // "-o -o b": the second "-o" is first the name, then an option naming "b".
  EXPECT_EQ(NameFrom({"-o", "-o", "b.csv"}), "b.csv");
  // "-o -o": the second "-o" is the name and has nothing after it.
  EXPECT_EQ(NameFrom({"-o", "-o"}), "-o");
}

TEST(OutputFileName, EmptyArgumentAfterDashOIsAnEmptyName) {
  EXPECT_EQ(NameFrom({"-o", ""}), "");
}

TEST(OutputFileName, DefaultIsServicesCsvRightAfterTheTempFolder) {
  EXPECT_EQ(DefaultOutputFileName("C:\\users\\me\\Temp\\"), "C:\\users\\me\\Temp\\Services.csv");
}

TEST(OutputFileName, UnknownTempFolderGivesAnEmptyDefault) {
  EXPECT_EQ(DefaultOutputFileName(""), "");
}

}  // namespace
}  // namespace tabulex
