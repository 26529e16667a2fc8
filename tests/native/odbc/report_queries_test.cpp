// The report's own SQL texts, written for SQL Server, run unchanged against
// the sample server's configuration database script through SQLite.
#include <gtest/gtest.h>

#include "common/runtime_error.h"
#include "common/text.h"
#include "platform/image/image_database.h"
#include "probes/configuration_database.h"
#include "scratch_folder.h"

namespace fernwick::image {
namespace {

using probes::kStandardConnectionString;
using testing::ScratchFolder;

class SampleDatabaseQueries : public ::testing::Test {
 protected:
  SampleDatabaseQueries() {
    std::filesystem::create_directories(image.Path() / "database");
    std::filesystem::copy_file(
        std::filesystem::path(FERNWICK_SOURCE_DIR) / "samples/exchange2003-42/database/VoxtraDb.sql",
        image.Path() / "database/VoxtraDb.sql");
  }

  platform::RecordSet Query(const std::string& sql) { return database.OpenQuery(sql, kStandardConnectionString); }
  long Count(const std::string& sql) { return Query(sql).RecordCount(); }

  // Every row's fields joined by "|", rows by ";".
  std::string Rows(const std::string& sql) {
    auto result = Query(sql);
    std::string text;
    for (result.MoveFirst(); !result.Eof(); result.MoveNext()) {
      for (std::size_t i = 0; i < result.Columns().size(); ++i) {
        if (i > 0) text += "|";
        text += result.Field(i).value_or("<null>");
      }
      text += ";";
    }
    return text;
  }

  ScratchFolder image;
  ScratchFolder scratch;
  ImageDatabase database{image.Path(), scratch.Path(), "", ""};
};

TEST_F(SampleDatabaseQueries, SystemIdentifierFromTheSetupParameters) {
  auto result = Query("SELECT * FROM vw_VoxtraSetupParameters WHERE Name='@SystemId'");
  ASSERT_EQ(result.RecordCount(), 1);
  EXPECT_EQ(result.Field("Value"), std::optional<std::string>("{5C1E7A2B-93D4-4F61-A0B8-2E6D94C3F710}"));
}

TEST_F(SampleDatabaseQueries, DatabaseFileLocationsKeepTheirPadding) {
  auto data = Query("Select filename as value from sysfiles where name = 'VoxtraDb'");
  ASSERT_EQ(data.RecordCount(), 1);
  EXPECT_EQ(data.Field("Value")->substr(0, 62), "C:\\Program Files\\Microsoft SQL Server\\MSSQL\\Data\\VoxtraDb.mdf ");
  auto log = Query("Select filename as value from sysfiles where name = 'VoxtraDb_log'");
  ASSERT_EQ(log.RecordCount(), 1);
  EXPECT_EQ(Trim(*log.Field("value")), "C:\\Program Files\\Microsoft SQL Server\\MSSQL\\Data\\VoxtraDb_log.LDF");
}

TEST_F(SampleDatabaseQueries, SecuritySettingsOneValueEach) {
  for (const char* node : {"System.Security.RpcPortNumber", "System.Security.UnidentifiedCallerMessageSecurity",
                           "System.Security.MessageAging", "System.Security.MixedMode"}) {
    EXPECT_EQ(
        Count(std::string("SELECT FullNodeName, NodeValue FROM vw_Configuration WHERE FullNodeName='") + node + "'"), 1)
        << node;
  }
}

TEST_F(SampleDatabaseQueries, ActiveDirectorySettings) {
  auto catalog = Query(
      "SELECT * FROM vw_Configuration WHERE FullNodeName='System.DirectoryConnectors.ActiveDirectory.DSGC.CurrentGC'");
  ASSERT_EQ(catalog.RecordCount(), 1);
  EXPECT_EQ(catalog.Field("NodeValue"), std::optional<std::string>("DC01.corp.example.com"));
  EXPECT_EQ(Count("SELECT * FROM vw_Configuration WHERE "
                  "FullNodeName='System.DirectoryConnectors.ActiveDirectory.DSGC.SynchInterval'"),
            1);
  EXPECT_EQ(Count("SELECT * FROM vw_Configuration WHERE "
                  "FullNodeName='System.DirectoryConnectors.ActiveDirectory.DSAD.SynchInterval'"),
            1);
  EXPECT_EQ(Rows("SELECT * FROM vw_ADDomain"),
            "corp.example.com|DC01.corp.example.com;sales.corp.example.com|DC05.sales.corp.example.com;");
  EXPECT_EQ(Count("SELECT * FROM dominoaddressbook"), 0);
}

TEST_F(SampleDatabaseQueries, DirectoryCounts) {
  EXPECT_EQ(Count("select Alias from Subscriber where IsSubscriber='1' and SubscriberType IN (1,2,3,5,7,8,9)"), 7);
  EXPECT_EQ(Count("select alias from Subscriber where SubscriberType IN (1,3) and IsSubscriber='1' and "
                  "HomeServer='VOXTRA01'"),
            4);
  EXPECT_EQ(Count("select alias from Subscriber where SubscriberType IN (1,3) and IsSubscriber='1'"), 5);
  EXPECT_EQ(Count("select alias from Subscriber where SubscriberType IN (2,5,7,8,9)"), 2);
  EXPECT_EQ(Count("select Alias from CallHandler where IsPrimary='0'"), 4);
  EXPECT_EQ(Count("Select alias from Location"), 2);
  EXPECT_EQ(Count(std::string("SELECT globallocation.homeserver FROM globallocation INNER JOIN location ") +
                  "ON location.dialingdomainName=globallocation.DialingDomainName " +
                  "WHERE location.alias='default' GROUP BY GlobalLocation.HomeServer"),
            2);
  EXPECT_EQ(Count("Select HomeServer from globallocation group by HomeServer"), 3);
}

TEST_F(SampleDatabaseQueries, ReceiptAndSearchFolderSettings) {
  EXPECT_EQ(Rows("SELECT nodename, nodevalue FROM Configuration WHERE (FullNodeName LIKE '%exclude%') OR "
                 "(FullNodeName LIKE '%searchfolder%')"),
            "ExcludeAllReceipts|0;ExcludeReturnReceipts|1;DisableSearchFolderUse|0;");
}

TEST_F(SampleDatabaseQueries, TextComparesWithoutRegardToCaseAsUnderSqlServer) {
  EXPECT_EQ(
      Count("SELECT FullNodeName, NodeValue FROM vw_Configuration WHERE FullNodeName='system.security.mixedmode'"), 1);
}

// The server's own questions are T-SQL that SQLite does not know: over the
// configuration database connection they fail like an unreachable server.
TEST_F(SampleDatabaseQueries, ServerQuestionsFailOverTheDatabaseConnection) {
  EXPECT_THROW(Query("select @@version"), RuntimeError);
  EXPECT_THROW(Query("select SERVERPROPERTY('edition')"), RuntimeError);
}

}  // namespace
}  // namespace fernwick::image
