#include "platform/image/image_database.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <fstream>
#include <iostream>
#include <iterator>
#include <optional>
#include <thread>

#include "common/runtime_error.h"
#include "probes/configuration_database.h"
#include "scratch_folder.h"

namespace fernwick::image {
namespace {

using probes::kStandardConnectionString;
using testing::ScopedEnvironment;
using testing::ScratchFolder;

constexpr const char* kScript = R"sql(
-- a comment before the first statement
CREATE TABLE Configuration (FullNodeName TEXT, NodeValue TEXT);
CREATE VIEW vw_Configuration AS SELECT FullNodeName, NodeValue FROM Configuration;
INSERT INTO Configuration VALUES ('System.Security.RpcPortNumber', '2250');
)sql";

constexpr const char* kVersion =
    "Microsoft SQL Server  2000 - 8.00.2039 (Intel X86) \n\tMay  3 2005 23:18:38 \n\tCopyright (c) 1988-2003 "
    "Microsoft Corporation\n\tStandard Edition on Windows NT 5.2 (Build 3790: Service Pack 2)\n";

std::vector<std::string> FolderListing(const std::filesystem::path& folder) {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(folder)) {
    names.push_back(std::filesystem::relative(entry.path(), folder).string());
  }
  std::sort(names.begin(), names.end());
  return names;
}

class ImageDatabaseTest : public ::testing::Test {
 protected:
  ScratchFolder image;
  ScratchFolder scratch;

  ImageDatabase Database(std::string version = kVersion, std::string edition = "Standard Edition") {
    return ImageDatabase(image.Path(), scratch.Path() / "database", std::move(version), std::move(edition));
  }

  RuntimeError QueryError(ImageDatabase& database, const std::string& sql = "SELECT * FROM vw_Configuration") {
    try {
      database.OpenQuery(sql, kStandardConnectionString);
    } catch (const RuntimeError& e) {
      return e;
    }
    ADD_FAILURE() << "no error";
    return RuntimeError(0, "");
  }
};

TEST_F(ImageDatabaseTest, TheImagesScriptAnswersTheStandardConnectionString) {
  image.Write("database/VoxtraDb.sql", kScript);
  auto database = Database();
  auto result =
      database.OpenQuery("SELECT NodeValue FROM vw_Configuration WHERE FullNodeName='System.Security.RpcPortNumber'",
                         kStandardConnectionString);
  ASSERT_EQ(result.RecordCount(), 1);
  EXPECT_EQ(result.Field("NodeValue"), std::optional<std::string>("2250"));
}

TEST_F(ImageDatabaseTest, TheScriptIsFoundWithoutRegardToCase) {
  image.Write("Database/VOXTRADB.SQL", kScript);
  auto database = Database();
  EXPECT_EQ(database.OpenQuery("SELECT * FROM vw_Configuration", kStandardConnectionString).RecordCount(), 1);
}

TEST_F(ImageDatabaseTest, GatheringWritesOnlyIntoTheScratchFolder) {
  image.Write("database/VoxtraDb.sql", kScript);
  const auto before = FolderListing(image.Path());
  auto database = Database();
  database.OpenQuery("SELECT * FROM vw_Configuration", kStandardConnectionString);
  EXPECT_EQ(FolderListing(image.Path()), before);
  EXPECT_EQ(FolderListing(scratch.Path()),
            (std::vector<std::string>{"database", "database/VoxtraDb", "database/odbcinst.ini"}));
}

TEST_F(ImageDatabaseTest, AQueryLeavesTheWorkingFolderAsItWas) {
  image.Write("database/VoxtraDb.sql", kScript);
  const auto folder = std::filesystem::current_path();
  auto database = Database();
  database.OpenQuery("SELECT * FROM vw_Configuration", kStandardConnectionString);
  EXPECT_EQ(std::filesystem::current_path(), folder);
  EXPECT_THROW(database.OpenQuery("SELECT * FROM NoSuchTable", kStandardConnectionString), RuntimeError);
  EXPECT_EQ(std::filesystem::current_path(), folder);
}

TEST_F(ImageDatabaseTest, AnImageWithoutScriptIsAnUnreachableServerAndCreatesNoDatabase) {
  auto database = Database();
  const RuntimeError error = QueryError(database);
  EXPECT_EQ(error.Number(), 17);
  EXPECT_EQ(error.Description(),
            "[Microsoft][ODBC SQL Server Driver][DBNETLIB]SQL Server does not exist or access denied.");
  EXPECT_FALSE(std::filesystem::exists(scratch.Path() / "database" / "VoxtraDb"));
  EXPECT_FALSE(std::filesystem::exists(std::filesystem::current_path() / "VoxtraDb"));
}

TEST_F(ImageDatabaseTest, ABrokenScriptNamesTheLineItBreaksAt) {
  image.Write("database/VoxtraDb.sql",
              "CREATE TABLE A (X TEXT);\n\nINSERT INTO A VALUES ('1');\nINSERT INTO Missing VALUES ('2');\n");
  auto database = Database();
  const RuntimeError error = QueryError(database);
  EXPECT_EQ(error.Number(), err::kDatabaseError);
  EXPECT_EQ(
      error.Description(),
      "The configuration database script database\\VoxtraDb.sql cannot be loaded: line 4: no such table: Missing");
  EXPECT_FALSE(std::filesystem::exists(scratch.Path() / "database" / "VoxtraDb"));
}

// A view of the script that never ends: past the time limit (here passed
// at once, as a fake clock would have it) the query is cancelled and fails
// with a line that names the limit. The run's time for the database is
// spent: a later query answers as an unreachable server at once.
TEST_F(ImageDatabaseTest, AQueryPastTheTimeLimitIsCancelledAndLaterQueriesFindNoServer) {
  image.Write("database/VoxtraDb.sql",
              "CREATE TABLE A (X TEXT);\nINSERT INTO A VALUES ('1');\n"
              "CREATE VIEW vw_Endless AS WITH RECURSIVE c(n) AS (SELECT 1 UNION ALL SELECT n + 1 FROM c) "
              "SELECT count(*) AS n FROM c;\n");
  int waits = 0;
  ImageDatabase database(image.Path(), scratch.Path() / "database", kVersion, "Standard Edition",
                         [&](std::condition_variable&, std::unique_lock<std::mutex>&, std::chrono::milliseconds,
                             const std::function<bool()>&) {
                           ++waits;
                           return false;
                         });
  const RuntimeError error = QueryError(database, "SELECT n FROM vw_Endless");
  EXPECT_EQ(error.Number(), err::kDatabaseError);
  EXPECT_EQ(error.Description(),
            "The server image's database did not answer within 60 seconds and the query was cancelled: "
            "SELECT n FROM vw_Endless");
  for (const char* sql : {"SELECT X FROM A", "SELECT n FROM vw_Endless"}) {
    EXPECT_EQ(QueryError(database, sql).Number(), kServerUnreachableNumber) << sql;
  }
  EXPECT_EQ(waits, 1);
}

// A view that never ends holds no more than the answer ceiling: the query
// fails after its first rows, long before the time limit, and the next
// query is answered.
TEST_F(ImageDatabaseTest, AnEndlessViewEndsAtTheAnswerCeiling) {
  image.Write("database/VoxtraDb.sql",
              std::string(kScript) +
                  "CREATE VIEW vw_Endless AS WITH RECURSIVE c(n) AS (SELECT 1 UNION ALL SELECT n + 1 FROM c) "
                  "SELECT n, hex(zeroblob(100)) AS Filler FROM c;\n");
  ImageDatabase database(image.Path(), scratch.Path() / "database", kVersion, "Standard Edition", {}, {},
                         odbc::AnswerCeiling{2000, 1 << 20});
  const RuntimeError error = QueryError(database, "SELECT n, Filler FROM vw_Endless");
  EXPECT_EQ(error.Number(), err::kDatabaseError);
  EXPECT_NE(error.Description().find("more than 2000 rows"), std::string::npos) << error.Description();
  EXPECT_EQ(database.OpenQuery("SELECT * FROM vw_Configuration", kStandardConnectionString).RecordCount(), 1);
}

// The time limit is one for the run: what the queries took is spent, and
// each later query may take only what is left.
TEST_F(ImageDatabaseTest, TheQueriesShareOneTimeLimit) {
  image.Write("database/VoxtraDb.sql", kScript);
  auto clock = std::chrono::steady_clock::time_point();
  std::vector<std::chrono::milliseconds> limits;
  ImageDatabase database(
      image.Path(), scratch.Path() / "database", kVersion, "Standard Edition",
      [&](std::condition_variable& ended, std::unique_lock<std::mutex>& lock, std::chrono::milliseconds time,
          const std::function<bool()>& hasEnded) {
        limits.push_back(time);
        clock += std::chrono::seconds(25);  // each query takes 25 seconds
        ended.wait(lock, hasEnded);
        return true;
      },
      [&] { return clock; });
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(database.OpenQuery("SELECT * FROM vw_Configuration", kStandardConnectionString).RecordCount(), 1);
  }
  EXPECT_EQ(limits, (std::vector<std::chrono::milliseconds>{std::chrono::seconds(60), std::chrono::seconds(35),
                                                            std::chrono::seconds(10)}));
  EXPECT_EQ(QueryError(database).Number(), kServerUnreachableNumber);
  EXPECT_EQ(limits.size(), 3u);
}

// A script that fails, or runs past the limit, is loaded once: its error
// is told once, and every later query answers as an unreachable server.
TEST_F(ImageDatabaseTest, AScriptThatFailedIsNotRunAgain) {
  image.Write("database/VoxtraDb.sql", "CREATE TABLE A (X TEXT);\nINSERT INTO Missing VALUES ('2');\n");
  auto broken = Database();
  EXPECT_EQ(QueryError(broken).Number(), err::kDatabaseError);
  image.Write("database/VoxtraDb.sql", kScript);  // were it read again, it would load
  EXPECT_EQ(QueryError(broken).Number(), kServerUnreachableNumber);
  EXPECT_FALSE(std::filesystem::exists(scratch.Path() / "database" / "VoxtraDb"));

  image.Write("database/VoxtraDb.sql",
              "CREATE TABLE A AS WITH RECURSIVE c(n) AS (SELECT 1 UNION ALL SELECT n + 1 FROM c) SELECT n FROM c;\n");
  auto clock = std::chrono::steady_clock::time_point();
  ImageDatabase endless(image.Path(), scratch.Path() / "endless", kVersion, "Standard Edition", {},
                        [&] { return clock += std::chrono::seconds(20); });
  EXPECT_EQ(QueryError(endless).Description(),
            "The configuration database script database\\VoxtraDb.sql cannot be loaded: line 1: the script ran "
            "longer than 60 seconds");
  const auto readings = clock;
  EXPECT_EQ(QueryError(endless).Number(), kServerUnreachableNumber);
  EXPECT_EQ(clock, readings);  // not run again
}

// Each query is watched from before it runs until it is read, and never
// after: a watch that is still running when the statement is freed would
// cancel a freed handle.
TEST(QueryTimeLimit, TheWatchEndsBeforeItsQueryAndCancelsUntilTheQueryEnds) {
  QueryTimeLimit limit(std::chrono::milliseconds(60000),
                       [](std::condition_variable&, std::unique_lock<std::mutex>&, std::chrono::milliseconds,
                          const std::function<bool()>&) { return false; });
  std::atomic<int> cancels{0};
  limit.Started([&] { ++cancels; });
  while (cancels < 3) std::this_thread::yield();
  limit.Ended();
  const int afterEnd = cancels;
  EXPECT_TRUE(limit.Passed());
  EXPECT_EQ(cancels, afterEnd);  // the watcher is gone

  QueryTimeLimit inTime(std::chrono::milliseconds(60000));
  inTime.Started([&] { ADD_FAILURE() << "cancelled in time"; });
  inTime.Ended();
  EXPECT_FALSE(inTime.Passed());
}

TEST_F(ImageDatabaseTest, ASyntaxErrorInTheScriptIsReportedWithItsLine) {
  image.Write("database/VoxtraDb.sql", "CREATE TABLE A (X TEXT);\nCREAT TABLE B (Y TEXT);\n");
  auto database = Database();
  EXPECT_EQ(QueryError(database).Description(),
            "The configuration database script database\\VoxtraDb.sql cannot be loaded: line 2: near \"CREAT\": "
            "syntax error");
}

TEST_F(ImageDatabaseTest, TheScratchFolderRegistersTheDriverAsSqlServer) {
  image.Write("database/VoxtraDb.sql", kScript);
  auto database = Database();
  database.OpenQuery("SELECT * FROM vw_Configuration", kStandardConnectionString);
  std::ifstream ini(scratch.Path() / "database" / "odbcinst.ini");
  EXPECT_EQ(std::string(std::istreambuf_iterator<char>(ini), std::istreambuf_iterator<char>()),
            "[SQL Server]\nDescription=SQLite standing in for SQL Server\n"
            "Driver=/usr/lib/x86_64-linux-gnu/odbc/libsqlite3odbc.so\n");
}

// What the program does: the image database is the first ODBC user of a
// process. Each of these runs in a child process of its own, started afresh
// rather than forked from this one.
class FreshProcessStyle {
 public:
  FreshProcessStyle() : previous_(GTEST_FLAG_GET(death_test_style)) { GTEST_FLAG_SET(death_test_style, "threadsafe"); }
  ~FreshProcessStyle() { GTEST_FLAG_SET(death_test_style, previous_); }

 private:
  std::string previous_;
};

int QueryInFreshProcess(const char* driverOverride) {
  std::optional<ScopedEnvironment> driver;
  if (driverOverride != nullptr) driver.emplace("FERNWICK_SQLITE_ODBC_DRIVER", driverOverride);
  ScratchFolder image;
  ScratchFolder scratch;
  image.Write("database/VoxtraDb.sql", kScript);
  ImageDatabase database(image.Path(), scratch.Path(), "", "");
  try {
    auto result = database.OpenQuery("SELECT NodeValue FROM vw_Configuration", kStandardConnectionString);
    std::cerr << "value " << result.Field("NodeValue").value_or("<null>") << "\n";
    return result.Field("NodeValue") == std::optional<std::string>("2250") ? 0 : 1;
  } catch (const RuntimeError& e) {
    std::cerr << "error " << e.Number() << " " << e.Description() << "\n";
    return 2;
  }
}

TEST(ImageDatabaseFirstOdbcUser, TheScratchFolderRegistrationServesTheStandardConnectionString) {
  FreshProcessStyle style;
  ScopedEnvironment fresh(testing::kFreshOdbcProcess, "1");
  EXPECT_EXIT(std::_Exit(QueryInFreshProcess(nullptr)), ::testing::ExitedWithCode(0), "value 2250");
}

TEST(ImageDatabaseFirstOdbcUser, AMissingOdbcDriverGivesTheDriverManagersMessage) {
  FreshProcessStyle style;
  ScopedEnvironment fresh(testing::kFreshOdbcProcess, "1");
  EXPECT_EXIT(std::_Exit(QueryInFreshProcess("/nonexistent/libsqlite3odbc.so")), ::testing::ExitedWithCode(2),
              "error -2147467259 .*Can't open lib '/nonexistent/libsqlite3odbc.so'");
}

TEST_F(ImageDatabaseTest, TheServerAnswersVersionAndEditionFromTheFacts) {
  auto database = Database();
  auto server = database.OpenServer("Provider=SQLOLEDB;Server=VOXTRA01;Trusted_Connection=Yes;");
  auto version = server->Execute("select @@version");
  version.MoveFirst();
  EXPECT_EQ(version.Field(std::size_t{0}), std::optional<std::string>(kVersion));
  auto edition = server->Execute("select SERVERPROPERTY('edition')");
  edition.MoveFirst();
  EXPECT_EQ(edition.Field(std::size_t{0}), std::optional<std::string>("Standard Edition"));
  EXPECT_THROW(server->Execute("select 1"), RuntimeError);
}

TEST_F(ImageDatabaseTest, WithoutAVersionTheServerCannotBeReached) {
  auto database = Database("", "");
  try {
    database.OpenServer("Provider=SQLOLEDB;Server=VOXTRA01;Trusted_Connection=Yes;");
    FAIL() << "no error";
  } catch (const RuntimeError& e) {
    EXPECT_EQ(e.Number(), 17);
  }
}

}  // namespace
}  // namespace fernwick::image
