#include <gtest/gtest.h>

#include "common/message_boxes.h"
#include "platform/image/image_database.h"
#include "probes/configuration_database.h"
#include "scratch_folder.h"
#include "platform/no_window.h"

namespace fernwick::probes {
namespace {

using testing::ScratchFolder;

constexpr const char* kScript = R"sql(
CREATE TABLE Configuration (FullNodeName TEXT, NodeValue TEXT);
CREATE VIEW vw_Configuration AS SELECT FullNodeName, NodeValue FROM Configuration;
INSERT INTO Configuration VALUES
  ('System.Security.RpcPortNumber', '2250'),
  ('System.Security.MixedMode', NULL),
  ('System.Security.MessageAging', ''),
  ('System.Twice', 'a'),
  ('System.Twice', 'b'),
  ('System.Owner''s.Name', 'apostrophe works');
)sql";

using platform::NoWindow;

// Counts the queries, so that a lookup that should not touch the database
// can be caught doing so.
class CountingDatabase : public platform::ConfigDatabase {
 public:
  explicit CountingDatabase(platform::ConfigDatabase& inner) : inner_(inner) {}
  platform::RecordSet OpenQuery(const std::string& sql, const std::string& connectionString) override {
    ++queries;
    lastConnectionString = connectionString;
    return inner_.OpenQuery(sql, connectionString);
  }
  std::unique_ptr<platform::ServerConnection> OpenServer(const std::string& connectionString) override {
    return inner_.OpenServer(connectionString);
  }
  int queries = 0;
  std::string lastConnectionString;

 private:
  platform::ConfigDatabase& inner_;
};

class PullConfigurationString : public ::testing::Test {
 protected:
  PullConfigurationString() { image.Write("database/VoxtraDb.sql", kScript); }

  std::string Pull(const std::string& node) { return strPullConfigurationString(counting, messages, node); }

  ScratchFolder image;
  ScratchFolder scratch;
  image::ImageDatabase database{image.Path(), scratch.Path(), "", ""};
  CountingDatabase counting{database};
  NoWindow ui;
  Session session{.bSilentMode = true};
  MessageBoxes messages{ui, session};
};

TEST_F(PullConfigurationString, OneRowGivesItsNodeValueOverTheStandardConnection) {
  EXPECT_EQ(Pull("System.Security.RpcPortNumber"), "2250");
  EXPECT_EQ(counting.lastConnectionString, "Driver={SQL Server};server=;database=VoxtraDb");
  EXPECT_TRUE(messages.Recorded().empty());
}

TEST_F(PullConfigurationString, AnEmptyNameMakesNoQuery) {
  EXPECT_EQ(Pull(""), "");
  EXPECT_EQ(counting.queries, 0);
  EXPECT_TRUE(messages.Recorded().empty());
}

TEST_F(PullConfigurationString, NoRowGivesEmptyWithoutMessage) {
  EXPECT_EQ(Pull("System.Nothing.Here"), "");
  EXPECT_TRUE(messages.Recorded().empty());
}

TEST_F(PullConfigurationString, NullAndEmptyValuesGiveEmptyWithoutMessage) {
  EXPECT_EQ(Pull("System.Security.MixedMode"), "");
  EXPECT_EQ(Pull("System.Security.MessageAging"), "");
  EXPECT_TRUE(messages.Recorded().empty());
}

TEST_F(PullConfigurationString, TwoRowsShowTheMoreThanOneValueMessage) {
  EXPECT_EQ(Pull("System.Twice"), "");
  EXPECT_EQ(messages.Recorded(),
            std::vector<std::string>{
                "(error) more than one value found in vw_Configuration view for fullNodeName='System.Twice'"});
}

TEST_F(PullConfigurationString, ANameWithAnApostropheIsLookedUpAsWritten) {
  EXPECT_EQ(Pull("System.Owner's.Name"), "apostrophe works");
  EXPECT_TRUE(messages.Recorded().empty());
}

TEST_F(PullConfigurationString, ANameCannotWidenTheQuery) {
  EXPECT_EQ(Pull("x' OR '1'='1"), "");
  EXPECT_TRUE(messages.Recorded().empty());
}

TEST(PullConfigurationStringUnreachable, AnUnreachableDatabaseShowsTheErrorAndGivesEmpty) {
  ScratchFolder image;
  ScratchFolder scratch;
  image::ImageDatabase database{image.Path(), scratch.Path(), "", ""};
  NoWindow ui;
  Session session{.bSilentMode = true};
  MessageBoxes messages{ui, session};
  EXPECT_EQ(strPullConfigurationString(database, messages, "System.Security.RpcPortNumber"), "");
  EXPECT_EQ(
      messages.Recorded(),
      std::vector<std::string>{"(error) 17 ([Microsoft][ODBC SQL Server Driver][DBNETLIB]SQL Server does not exist "
                               "or access denied.) in procedure strPullConfigurationString of Form frmMain"});
}

TEST(PullConfigurationStringUnreachable, AViewWithoutNodeValueShowsTheError) {
  ScratchFolder image;
  ScratchFolder scratch;
  image.Write("database/VoxtraDb.sql",
              "CREATE TABLE Configuration (FullNodeName TEXT);\n"
              "CREATE VIEW vw_Configuration AS SELECT FullNodeName FROM Configuration;\n");
  image::ImageDatabase database{image.Path(), scratch.Path(), "", ""};
  NoWindow ui;
  Session session{.bSilentMode = true};
  MessageBoxes messages{ui, session};
  EXPECT_EQ(strPullConfigurationString(database, messages, "System.Security.RpcPortNumber"), "");
  ASSERT_EQ(messages.Recorded().size(), 1u);
  EXPECT_EQ(
      messages.Recorded()[0],
      "(error) 1 ([SQLite]no such column: NodeValue (1)) in procedure strPullConfigurationString of Form frmMain");
}

TEST(SqlStringLiteral, DoublesEachApostrophe) {
  EXPECT_EQ(SqlStringLiteral("it's 'quoted'"), "'it''s ''quoted'''");
  EXPECT_EQ(SqlStringLiteral(""), "''");
}

}  // namespace
}  // namespace fernwick::probes
