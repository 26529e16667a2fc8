#include "probes/exchange_info.h"

#include <gtest/gtest.h>

#include "native/probes/fakes.h"

namespace fernwick::probes {
namespace {

using fakes::ProbeWorld;

struct Lookup {
  ProbeWorld world;
  ExchangeInfo info{world.boxes};

  std::string operator()(const std::string& build) { return info.GetDescription(build); }
};

TEST(ExchangeInfo, TableHoldsEveryBuildInOrderWithItsExactText) {
  ProbeWorld world;
  const ExchangeInfo info(world.boxes);
  const std::vector<std::pair<std::string, std::string>> expected{
      {"6.0.4417", "Microsoft Exchange 2000 Server (a)"},       {"6.0.4712", "Microsoft Exchange 2000 Server SP1"},
      {"6.0.5762", "Microsoft Exchange 2000 Server SP2"},       {"6.0.6249", "Microsoft Exchange 2000 Server SP3"},
      {"6.0.6487", "Microsoft Exchange 2000 Server post-SP3"},  {"6.0.6556", "Microsoft Exchange 2000 Server post-SP3"},
      {"6.0.6603", "Microsoft Exchange 2000 Server post-SP3"},  {"6.5.6944", "Microsoft Exchange Server  2003"},
      {"6.5.7226", "Microsoft Exchange Server  2003 SP1"},      {"6.5.7638", "Microsoft Exchange Server  2003 SP2"},
      {"6.5.7654", "Microsoft Exchange Server  2003 post-SP2"}, {"8.0.685.24", "Microsoft Exchange Server  2007"},
      {"8.0.685.25", "Microsoft Exchange Server  2007"},        {"8.1.0240.006", "Microsoft Exchange Server 2007 SP1"},
      {"8.2.0176.002", "Microsoft Exchange Server 2007 SP2"},   {"14.00.0639.021", "Microsoft Exchange Server 2010"},
  };
  EXPECT_EQ(info.Builds(), expected);
}

TEST(ExchangeInfo, VersionTextBeginningWithABuildKeyGetsItsDescription) {
  Lookup lookup;
  EXPECT_EQ(lookup("6.5.7638.1"), "Microsoft Exchange Server  2003 SP2");
  EXPECT_EQ(lookup("6.5.7638"), "Microsoft Exchange Server  2003 SP2");
  EXPECT_EQ(lookup("6.0.4417.0"), "Microsoft Exchange 2000 Server (a)");
  EXPECT_EQ(lookup("8.1.0240.006"), "Microsoft Exchange Server 2007 SP1");
}

TEST(ExchangeInfo, UnknownBuildGivesEmptyText) {
  Lookup lookup;
  EXPECT_EQ(lookup("6.5.8000.0"), "");
  EXPECT_EQ(lookup("6.5"), "");
  EXPECT_EQ(lookup("x6.5.7638"), "");
}

TEST(ExchangeInfo, EmptyArgumentMatchesNoKey) {
  Lookup lookup;
  EXPECT_EQ(lookup(""), "");
}

TEST(ExchangeInfo, Exchange2007BuildsNeedTheirWholeKey) {
  Lookup lookup;
  EXPECT_EQ(lookup("8.0.685.24"), "Microsoft Exchange Server  2007");
  EXPECT_EQ(lookup("8.0.685.25"), "Microsoft Exchange Server  2007");
  EXPECT_EQ(lookup("8.0.685.2"), "");
}

TEST(ExchangeInfo, KeysMatchAsTextWithoutNumericNormalisation) {
  Lookup lookup;
  EXPECT_EQ(lookup("14.00.0639.021"), "Microsoft Exchange Server 2010");
  EXPECT_EQ(lookup("14.0.639.21"), "");
  EXPECT_EQ(lookup("8.1.240.6"), "");
}

TEST(ExchangeInfo, LetterCaseDoesNotMatter) {
  Lookup lookup;
  EXPECT_EQ(lookup("6.5.7654 BUILD"), "Microsoft Exchange Server  2003 post-SP2");
  EXPECT_EQ(lookup("6.5.7654 build"), "Microsoft Exchange Server  2003 post-SP2");
}

}  // namespace
}  // namespace fernwick::probes
