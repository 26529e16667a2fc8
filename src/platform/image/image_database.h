#pragma once
// The configuration database of a server image. The image holds it as a SQL
// script (database/VoxtraDb.sql); at first use it is loaded into a SQLite
// file "VoxtraDb" in the scratch folder, and queries go through ODBC with
// the connection string the program passes, unchanged: the scratch folder
// registers the SQLite ODBC driver under the name "SQL Server" (ODBCSYSINI
// points there), and the driver finds "database=VoxtraDb" in the working
// folder, which is the scratch folder for the length of each query.
// unixODBC reads ODBCSYSINI only at the first ODBC call of a process, so the
// first image database of a process must be the first ODBC user and its
// scratch folder must last as long as the process uses ODBC. See
// docs/server-image-database.md.
#include <chrono>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>

#include "platform/config_database.h"
#include "platform/image/query_time_limit.h"
#include "platform/image/recorded_answers.h"
#include "platform/odbc/odbc_database.h"

namespace fernwick::image {

// What a server answers when SQL Server is not running or not installed.
inline constexpr long kServerUnreachableNumber = 17;
inline constexpr const char* kServerUnreachableDescription =
    "[Microsoft][ODBC SQL Server Driver][DBNETLIB]SQL Server does not exist or access denied.";

// The ODBC driver registered as "SQL Server" unless the environment
// variable FERNWICK_SQLITE_ODBC_DRIVER names another.
inline constexpr const char* kDefaultSqliteOdbcDriver = "/usr/lib/x86_64-linux-gnu/odbc/libsqlite3odbc.so";

// How long the image's database may take in one run: loading its script
// and all its queries together. A script that fails or runs past it is not
// loaded again, and once the time is spent every later query answers as an
// unreachable server: a hostile image costs one wait and one error line,
// not one per query.
inline constexpr std::chrono::milliseconds kImageQueryTimeLimit{60000};

class ImageDatabase : public platform::ConfigDatabase {
 public:
  // `sqlServerVersion` and `sqlServerEdition` are what "select @@version"
  // and "select SERVERPROPERTY('edition')" answer; an empty version means
  // the server cannot be reached. Nothing is written below `imageRoot`.
  // A query that runs past what is left of kImageQueryTimeLimit (as
  // `queryWait` measures it; the steady clock when empty) is cancelled and
  // fails. `now` measures the time the script and the queries took (the
  // steady clock when empty). An answer past `ceiling` fails its query
  // after its first rows, before it fills the memory.
  using Clock = std::function<std::chrono::steady_clock::time_point()>;
  ImageDatabase(const std::filesystem::path& imageRoot, const std::filesystem::path& scratchDir,
                std::string sqlServerVersion, std::string sqlServerEdition, QueryTimeLimit::Wait queryWait = {},
                Clock now = {}, odbc::AnswerCeiling ceiling = odbc::kAnswerCeiling);

  // Recorded answers (answers.txt) come first: a query recorded with the
  // same connection string and SQL text answers its record set or its
  // error exactly, and so does the server. A `strict` (captured) image
  // answers nothing else ("not captured"); another runs the query against
  // the script.
  void UseRecorded(const RecordedAnswers& answers, bool strict) {
    recorded_ = &answers;
    strict_ = strict;
  }

  // Throws the unreachable-server error when the image has no script, and
  // an error naming the failing line when the script does not load.
  platform::RecordSet OpenQuery(const std::string& sql, const std::string& connectionString) override;
  std::unique_ptr<platform::ServerConnection> OpenServer(const std::string& connectionString) override;

 private:
  // Spent: the script failed, or the run's time for the database passed.
  enum class State { NotBuilt, Built, NoScript, Spent };
  void BuildOnce();
  std::chrono::milliseconds Since(std::chrono::steady_clock::time_point start) const;

  std::filesystem::path imageRoot_;
  std::filesystem::path scratchDir_;
  std::string sqlServerVersion_;
  std::string sqlServerEdition_;
  State state_ = State::NotBuilt;
  Clock now_;
  std::chrono::milliseconds spent_{0};  // by the script and the queries so far
  const RecordedAnswers* recorded_ = nullptr;
  bool strict_ = false;
  QueryTimeLimit queryLimit_;
  odbc::OdbcDatabase odbc_;
};

}  // namespace fernwick::image
