// The configuration database through Wine's odbc32, with the connection
// string the program uses. tests/wine/odbc_test.sh prepares the working
// folder: a SQLite file "VoxtraDb" built from the sample server's script
// plus the rows below that only these tests read, and the SQLite ODBC
// driver registered as "SQL Server".
#include "platform/odbc/odbc_database.h"

#include <gtest/gtest.h>

#include <string>

#include "common/message_boxes.h"
#include "common/runtime_error.h"
#include "probes/configuration_database.h"
#include "platform/no_window.h"

namespace fernwick::odbc {
namespace {

using probes::kStandardConnectionString;

std::string Rows(platform::RecordSet result) {
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

class OdbcWineQueries : public ::testing::Test {
 protected:
  platform::RecordSet Query(const std::string& sql) { return database.OpenQuery(sql, kStandardConnectionString); }
  OdbcDatabase database;
};

TEST_F(OdbcWineQueries, TheStandardConnectionStringOpensVoxtraDbInTheWorkingFolder) {
  auto result = Query("SELECT * FROM vw_VoxtraSetupParameters WHERE Name='@SystemId'");
  ASSERT_EQ(result.RecordCount(), 1);
  EXPECT_EQ(result.Field("value"), std::optional<std::string>("{5C1E7A2B-93D4-4F61-A0B8-2E6D94C3F710}"));
}

TEST_F(OdbcWineQueries, RowCountsOfTheDirectoryQueries) {
  EXPECT_EQ(
      Query("select Alias from Subscriber where IsSubscriber='1' and SubscriberType IN (1,2,3,5,7,8,9)").RecordCount(),
      7);
  EXPECT_EQ(Query("Select alias from Location").RecordCount(), 2);
  EXPECT_EQ(Query("Select HomeServer from globallocation group by HomeServer").RecordCount(), 3);
}

TEST_F(OdbcWineQueries, RowsInOrderWithNamedColumns) {
  EXPECT_EQ(Rows(Query("SELECT * FROM vw_ADDomain")),
            "corp.example.com|DC01.corp.example.com;sales.corp.example.com|DC05.sales.corp.example.com;");
  auto file = Query("Select filename as value from sysfiles where name = 'VoxtraDb_log'");
  EXPECT_EQ(file.Columns(), std::vector<std::string>{"value"});
}

TEST_F(OdbcWineQueries, NullEmptyLongAndAnsiText) {
  auto result = Query("SELECT Label, Body FROM OdbcProbe ORDER BY Label");
  ASSERT_EQ(result.RecordCount(), 4);
  EXPECT_EQ(result.Field("Label"), std::optional<std::string>("ansi"));
  EXPECT_EQ(result.Field("Body"), std::optional<std::string>("caf\xE9 \x80"));
  result.MoveNext();
  EXPECT_EQ(result.Field("Body"), std::optional<std::string>(""));
  result.MoveNext();
  EXPECT_EQ(result.Field("Label"), std::optional<std::string>("long"));
  std::string expected;
  for (int i = 0; i < 50000; ++i) expected += "ab";
  EXPECT_EQ(result.Field("BODY"), std::optional<std::string>(expected));
  result.MoveNext();
  EXPECT_FALSE(result.Field("Body").has_value());
}

TEST_F(OdbcWineQueries, BadSqlRaisesTheDriversMessage) {
  try {
    Query("SELEC Alias FROM Subscriber");
    FAIL() << "no error";
  } catch (const RuntimeError& e) {
    EXPECT_EQ(e.Number(), 1);
    EXPECT_NE(e.Description().find("syntax error"), std::string::npos) << e.Description();
  }
}

TEST(OdbcWineConnection, AMissingDriverRaisesAClearError) {
  OdbcDatabase database;
  try {
    database.OpenQuery("SELECT 1", "Driver={No Such Driver};server=;database=VoxtraDb");
    FAIL() << "no error";
  } catch (const RuntimeError& e) {
    EXPECT_EQ(e.Number(), err::kDatabaseError);
    EXPECT_NE(e.Description().find("No Such Driver"), std::string::npos) << e.Description();
  }
}

// SQLite stands in for the configuration database only: the questions for
// SQL Server itself fail as they do when the server cannot be reached.
TEST(OdbcWineConnection, TheServerQueriesFailAsForAnUnreachableServer) {
  OdbcDatabase database;
  const auto ask = [&](const std::string& sql) {
    auto server = database.OpenServer("Provider=SQLOLEDB;Server=VOXTRA01;Trusted_Connection=Yes;");
    return server->Execute(sql);
  };
  EXPECT_THROW(ask("select @@version"), RuntimeError);
  EXPECT_THROW(ask("select SERVERPROPERTY('edition')"), RuntimeError);
}

using platform::NoWindow;

class OdbcWinePullConfigurationString : public ::testing::Test {
 protected:
  std::string Pull(const std::string& node) { return probes::strPullConfigurationString(database, messages, node); }
  OdbcDatabase database;
  NoWindow ui;
  Session session{.bSilentMode = true};
  MessageBoxes messages{ui, session};
};

TEST_F(OdbcWinePullConfigurationString, OneValue) {
  EXPECT_EQ(Pull("System.Security.RpcPortNumber"), "0");
  EXPECT_TRUE(messages.Recorded().empty());
}

TEST_F(OdbcWinePullConfigurationString, NullGivesEmptyWithoutMessage) {
  EXPECT_EQ(Pull("Test.NullValue"), "");
  EXPECT_TRUE(messages.Recorded().empty());
}

TEST_F(OdbcWinePullConfigurationString, TwoRowsShowTheMessage) {
  EXPECT_EQ(Pull("Test.Twice"), "");
  EXPECT_EQ(messages.Recorded(),
            std::vector<std::string>{
                "(error) more than one value found in vw_Configuration view for fullNodeName='Test.Twice'"});
}

TEST_F(OdbcWinePullConfigurationString, ANameWithAnApostrophe) {
  EXPECT_EQ(Pull("Test.Owner's.Name"), "apostrophe works");
  EXPECT_TRUE(messages.Recorded().empty());
}

}  // namespace
}  // namespace fernwick::odbc
