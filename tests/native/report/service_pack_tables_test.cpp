#include "report/service_pack_tables.h"

#include <gtest/gtest.h>

#include "common/runtime_error.h"
#include "report/sql_server_version.h"

namespace fernwick::report {
namespace {

TEST(ServicePackTables, ExchangeBuildsNameTheirServicePackOrNone) {
  const std::string dll = "C:\\WINDOWS\\system32\\EMSMDB32.dll";
  const std::vector<std::pair<std::int32_t, std::optional<std::string>>> cases{
      {1960, std::nullopt},
      {4417, std::nullopt},
      {2448, ": SP 2"},
      {2650, ": SP 3"},
      {2653, ": SP 4"},
      {2655, ": post SP4 "},
      {4712, ": SP 1"},
      {5762, ": SP 2"},
      {6212, ": SP3 Beta"},
      {6249, ": SP 3"},
      {6944, std::nullopt},
      {1, std::nullopt},
      {6945, " : *** WARNING *** C:\\WINDOWS\\system32\\EMSMDB32.dll not found"},
      {7000, " : *** WARNING *** C:\\WINDOWS\\system32\\EMSMDB32.dll not found"},
  };
  for (const auto& [build, text] : cases) {
    const auto found = ExchangeServicePackText(build, dll);
    EXPECT_EQ(found ? std::optional(found->text) : std::nullopt, text) << build;
  }
}

TEST(ServicePackTables, SqlBuildsNameTheirServicePackAndOthersAreUnknown) {
  const std::vector<std::pair<long, std::string>> cases{
      {194, ": No SP"},    {384, ": SP 1"},        {474, ": SP 1 + HF 1"},
      {534, ": SP 2"},     {558, ": SP 2 + HF 1"}, {665, ": SP 2 + Security Rollup 1"},
      {760, ": SP 3"},     {2039, ": SP4"},        {2047, ": SP1"},
      {3042, ": SP2"},     {4035, ": SP3"},        {1399, ": unknown SP"},
      {0, ": unknown SP"},
  };
  for (const auto& [build, text] : cases) EXPECT_EQ(SqlServicePackText(build), text) << build;
}

TEST(SqlServerVersion, BuildIsAfterTheLastDotButFourBeforeItOnSqlServer2005) {
  EXPECT_EQ(SqlBuildNumber("Microsoft SQL Server  2000 - 8.00.2039"), "2039");
  EXPECT_EQ(SqlBuildNumber("Microsoft SQL Server  2000 - 8.00.760"), "760");
  EXPECT_EQ(SqlBuildNumber("Microsoft SQL Server 2005 - 9.00.3042.00"), "3042");
}

TEST(SqlServerVersion, VersionTextGivesProductLineAndOperatingSystemBuild) {
  SqlVersionPieces pieces;
  SplitSqlVersion(
      "Microsoft SQL Server 2005 - 9.00.3042.00 (Intel X86) \n\tFeb  9 2007 22:47:07 \n\tCopyright (c) 1988-2005 "
      "Microsoft Corporation\n\tStandard Edition on Windows NT 5.2 (Build 3790: Service Pack 2)\n",
      pieces);
  EXPECT_EQ(pieces.strSqlFirstLine, "Microsoft SQL Server 2005 - 9.00.3042.00 (Intel X86) ");
  EXPECT_EQ(pieces.strSqlBuildText, "Build 3790: Service Pack 2");
  EXPECT_EQ(SqlProductText(pieces.strSqlFirstLine), "Microsoft SQL Server 2005 - 9.00.3042.00");
}

TEST(SqlServerVersion, SixtyFourBitServerWithoutIntelIsAnError) {
  EXPECT_THROW(SqlProductText("Microsoft SQL Server 2005 - 9.00.3042.00 (X64) "), RuntimeError);
}

}  // namespace
}  // namespace fernwick::report
