#include "platform/odbc/odbc_database.h"

#include <gtest/gtest.h>

#include "common/runtime_error.h"
#include "scratch_folder.h"

namespace fernwick::odbc {
namespace {

using testing::ScratchFolder;
using testing::SqliteDatabase;

constexpr const char* kPeople = R"sql(
CREATE TABLE People (Id INTEGER PRIMARY KEY, Alias TEXT, Note TEXT, Score INTEGER);
INSERT INTO People (Alias, Note, Score) VALUES ('anna', 'first', 10), ('bert', NULL, NULL), ('carl', '', 30);
)sql";

class OdbcDatabaseQueries : public ::testing::Test {
 protected:
  ScratchFolder folder;
  std::string connection = SqliteDatabase(folder, kPeople);
  OdbcDatabase database;
};

TEST_F(OdbcDatabaseQueries, RowCountIsKnownRightAfterTheQueryOpens) {
  auto result = database.OpenQuery("SELECT Alias FROM People", connection);
  EXPECT_EQ(result.RecordCount(), 3);
  EXPECT_EQ(database.OpenQuery("SELECT Alias FROM People WHERE Score > 15", connection).RecordCount(), 1);
}

TEST_F(OdbcDatabaseQueries, RowsComeInOrderWithFieldsByNameWithoutRegardToCase) {
  auto result = database.OpenQuery("SELECT Alias, Score FROM People ORDER BY Id", connection);
  ASSERT_EQ(result.Columns(), (std::vector<std::string>{"Alias", "Score"}));
  std::string seen;
  for (result.MoveFirst(); !result.Eof(); result.MoveNext()) {
    seen += result.Field("ALIAS").value_or("<null>") + "=" + result.Field("score").value_or("<null>") + ";";
  }
  EXPECT_EQ(seen, "anna=10;bert=<null>;carl=30;");
}

TEST_F(OdbcDatabaseQueries, NullIsNoValueAndAnEmptyTextIsAValue) {
  auto result = database.OpenQuery("SELECT Note FROM People ORDER BY Id", connection);
  result.MoveNext();
  EXPECT_FALSE(result.Field("Note").has_value());
  result.MoveNext();
  EXPECT_EQ(result.Field("Note"), std::optional<std::string>(""));
}

TEST_F(OdbcDatabaseQueries, FieldByIndexZeroIsTheFirstColumn) {
  auto result = database.OpenQuery("SELECT Score, Alias FROM People WHERE Alias = 'carl'", connection);
  EXPECT_EQ(result.Field(std::size_t{0}), std::optional<std::string>("30"));
}

TEST_F(OdbcDatabaseQueries, AnEmptyResultHasItsColumnsAndNoRow) {
  auto result = database.OpenQuery("SELECT Alias FROM People WHERE Alias = 'nobody'", connection);
  EXPECT_EQ(result.RecordCount(), 0);
  EXPECT_TRUE(result.Eof());
  EXPECT_EQ(result.Columns(), std::vector<std::string>{"Alias"});
}

TEST_F(OdbcDatabaseQueries, UnnamedExpressionsAreReadAsText) {
  auto result = database.OpenQuery("SELECT count(*), 1.5, 'x' || 'y' FROM People", connection);
  EXPECT_EQ(result.Field(std::size_t{0}), std::optional<std::string>("3"));
  EXPECT_EQ(result.Field(std::size_t{1}), std::optional<std::string>("1.5"));
  EXPECT_EQ(result.Field(std::size_t{2}), std::optional<std::string>("xy"));
}

TEST(OdbcDatabaseText, LongTextArrivesWholeAcrossManyPieces) {
  ScratchFolder folder;
  std::string expected;
  for (int i = 0; expected.size() < 100000; ++i) expected += "line " + std::to_string(i) + "\r\n";
  const auto connection =
      SqliteDatabase(folder, "CREATE TABLE Big (Body TEXT); INSERT INTO Big VALUES ('" + expected + "');");
  OdbcDatabase database;
  auto result = database.OpenQuery("SELECT Body FROM Big", connection);
  ASSERT_EQ(result.RecordCount(), 1);
  EXPECT_EQ(result.Field("Body"), std::optional<std::string>(expected));
}

TEST(OdbcDatabaseText, AnsiBytesPassThroughUnchanged) {
  ScratchFolder folder;
  const std::string name =
      "M\xFC"
      "ller \xE9t\xE9 \x80";
  const auto connection = SqliteDatabase(folder, "CREATE TABLE T (Name TEXT); INSERT INTO T VALUES ('" + name + "');");
  OdbcDatabase database;
  EXPECT_EQ(database.OpenQuery("SELECT Name FROM T", connection).Field("Name"), std::optional<std::string>(name));
}

TEST_F(OdbcDatabaseQueries, BadSqlRaisesTheDriversMessageAndCode) {
  try {
    database.OpenQuery("SELEC Alias FROM People", connection);
    FAIL() << "no error";
  } catch (const RuntimeError& e) {
    EXPECT_EQ(e.Number(), 1);  // SQLite's generic error code
    EXPECT_NE(e.Description().find("syntax error"), std::string::npos) << e.Description();
  }
}

TEST_F(OdbcDatabaseQueries, AnUnknownTableNamesTheTable) {
  try {
    database.OpenQuery("SELECT * FROM vw_Missing", connection);
    FAIL() << "no error";
  } catch (const RuntimeError& e) {
    EXPECT_NE(e.Description().find("no such table: vw_Missing"), std::string::npos) << e.Description();
  }
}

// A runaway answer ends at the ceiling, whichever bound it meets first, and
// an answer exactly at the ceiling is whole.
struct CeilingCase {
  const char* what;
  const char* sql;
  AnswerCeiling ceiling;
  const char* named;  // nullptr: the answer is whole
};

class OdbcAnswerCeiling : public ::testing::TestWithParam<CeilingCase> {};

TEST_P(OdbcAnswerCeiling, EndsTheQueryAndNamesTheBound) {
  ScratchFolder folder;
  const auto connection = SqliteDatabase(folder, "CREATE TABLE Unused (Id INTEGER);") + "StepAPI=1;";
  const CeilingCase& c = GetParam();
  OdbcDatabase database(nullptr, c.ceiling);
  if (c.named == nullptr) {
    EXPECT_NO_THROW(database.OpenQuery(c.sql, connection)) << c.what;
    return;
  }
  try {
    database.OpenQuery(c.sql, connection);
    FAIL() << c.what << ": no error";
  } catch (const RuntimeError& e) {
    EXPECT_EQ(e.Number(), err::kDatabaseError) << c.what;
    EXPECT_NE(e.Description().find(c.named), std::string::npos) << c.what << ": " << e.Description();
  }
}

constexpr const char* kEndless = "WITH RECURSIVE n(x) AS (SELECT 1 UNION ALL SELECT x + 1 FROM n) SELECT x FROM n";
constexpr const char* kThousand =
    "WITH RECURSIVE n(x) AS (SELECT 1 UNION ALL SELECT x + 1 FROM n WHERE x < 1000) SELECT x FROM n";
constexpr const char* kEmptyFields =
    "WITH RECURSIVE n(x) AS (SELECT 1 UNION ALL SELECT x + 1 FROM n WHERE x < 1000) "
    "SELECT '', '', '', '', '', '', '', '' FROM n";
constexpr const char* kOneLongField = "SELECT hex(zeroblob(50000))";

INSTANTIATE_TEST_SUITE_P(
    Answers, OdbcAnswerCeiling,
    ::testing::Values(CeilingCase{"an endless recursive view", kEndless, {5000, 1 << 20}, "5000 rows"},
                      CeilingCase{"one row past the rows", kThousand, {999, 1 << 20}, "999 rows"},
                      CeilingCase{"exactly at the rows", kThousand, {1000, 1 << 20}, nullptr},
                      CeilingCase{"empty fields past the bytes", kEmptyFields, {5000, 64 * 1024}, "65536 bytes"},
                      CeilingCase{"one long field past the bytes", kOneLongField, {10, 1 << 16}, "65536 bytes"},
                      CeilingCase{"one long field within the bytes", kOneLongField, {10, 1 << 20}, nullptr}));

TEST(OdbcDatabaseConnection, AMissingDriverRaisesTheDriverManagersMessage) {
  OdbcDatabase database;
  try {
    database.OpenQuery("SELECT 1", "Driver={No Such Driver};server=;database=VoxtraDb");
    FAIL() << "no error";
  } catch (const RuntimeError& e) {
    EXPECT_EQ(e.Number(), err::kDatabaseError);
    EXPECT_NE(e.Description().find("No Such Driver"), std::string::npos) << e.Description();
    EXPECT_NE(e.Description().find("[Driver Manager]"), std::string::npos) << e.Description();
  }
}

TEST(OdbcDatabaseConnection, AConnectionStringWithoutDriverRaises) {
  OdbcDatabase database;
  EXPECT_THROW(database.OpenQuery("SELECT 1", "server=;database=VoxtraDb"), RuntimeError);
}

}  // namespace
}  // namespace fernwick::odbc
