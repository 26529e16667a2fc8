#include "platform/image/image_database.h"

#include <stdlib.h>

#include <fstream>
#include <iterator>
#include <optional>
#include <system_error>

#include "common/runtime_error.h"
#include "common/text.h"
#include "platform/image/not_captured.h"
#include "platform/image/sqlite_script.h"

namespace fernwick::image {
namespace {

constexpr const char* kDatabaseFileName = "VoxtraDb";

// A name within `folder`, matched without regard to case as on Windows.
std::optional<std::filesystem::path> FindNoCase(const std::filesystem::path& folder, std::string_view name) {
  std::error_code error;
  for (const auto& entry : std::filesystem::directory_iterator(folder, error)) {
    if (EqualsNoCase(entry.path().filename().string(), name)) return entry.path();
  }
  return std::nullopt;
}

std::optional<std::filesystem::path> FindScript(const std::filesystem::path& imageRoot) {
  const auto folder = FindNoCase(imageRoot, "database");
  if (!folder) return std::nullopt;
  auto script = FindNoCase(*folder, "VoxtraDb.sql");
  if (!script || !std::filesystem::is_regular_file(*script)) return std::nullopt;
  return script;
}

std::string ReadFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw RuntimeError(err::kFileNotFound, "Cannot read " + path.string());
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::string SqliteOdbcDriver() {
  const char* chosen = getenv("FERNWICK_SQLITE_ODBC_DRIVER");
  return chosen != nullptr && *chosen != '\0' ? chosen : kDefaultSqliteOdbcDriver;
}

void WriteOdbcinstIni(const std::filesystem::path& folder) {
  const std::filesystem::path file = folder / "odbcinst.ini";
  std::ofstream out(file, std::ios::binary | std::ios::trunc);
  out << "[SQL Server]\nDescription=SQLite standing in for SQL Server\nDriver=" << SqliteOdbcDriver() << "\n";
  out.close();
  if (!out) throw RuntimeError(err::kPathNotFound, "Cannot write " + file.string());
}

// The SQLite driver reads the whole answer into memory before the first
// row unless it is told to step through the rows: stepping lets the answer
// ceiling end a runaway view after its first rows, not after it has filled
// the memory. The program's own connection string comes first, unchanged.
std::string Stepping(const std::string& connectionString) {
  const bool closed = connectionString.empty() || connectionString.back() == ';';
  return connectionString + (closed ? "" : ";") + "StepAPI=1;";
}

[[noreturn]] void RaiseUnreachable() {
  throw RuntimeError(kServerUnreachableNumber, kServerUnreachableDescription);
}

// For the length of one query the process works in the scratch folder: the
// SQLite driver opens "database=VoxtraDb" relative to it.
class WorkingFolderScope {
 public:
  explicit WorkingFolderScope(const std::filesystem::path& folder) : previous_(std::filesystem::current_path()) {
    std::filesystem::current_path(folder);
  }
  ~WorkingFolderScope() {
    std::error_code ignored;
    std::filesystem::current_path(previous_, ignored);
  }
  WorkingFolderScope(const WorkingFolderScope&) = delete;
  WorkingFolderScope& operator=(const WorkingFolderScope&) = delete;

 private:
  std::filesystem::path previous_;
};

bool SameSql(std::string_view sql, std::string_view expected) {
  return EqualsNoCase(Trim(sql), expected);
}

platform::RecordSet Answer(const RecordedResult& result) {
  if (!result.records) throw RuntimeError(result.errorNumber, result.errorText);
  return *result.records;
}

class ImageServerConnection : public platform::ServerConnection {
 public:
  ImageServerConnection(std::string version, std::string edition, const RecordedServer* recorded = nullptr,
                        bool strict = false)
      : version_(std::move(version)), edition_(std::move(edition)), recorded_(recorded), strict_(strict) {}

  platform::RecordSet Execute(const std::string& sql) override {
    if (recorded_ != nullptr) {
      for (const auto& [text, result] : recorded_->executed) {
        if (text == sql) return Answer(result);
      }
    }
    if (strict_) throw NotCaptured("server query " + sql);
    if (SameSql(sql, "select @@version")) return OneValue(version_);
    if (SameSql(sql, "select SERVERPROPERTY('edition')")) return OneValue(edition_);
    throw RuntimeError(err::kDatabaseError,
                       "The server image answers only \"select @@version\" and \"select SERVERPROPERTY('edition')\"");
  }

 private:
  // SQL Server names no column for an expression.
  static platform::RecordSet OneValue(const std::string& value) { return platform::RecordSet({""}, {{value}}); }

  std::string version_;
  std::string edition_;
  const RecordedServer* recorded_;
  bool strict_;
};

}  // namespace

ImageDatabase::ImageDatabase(const std::filesystem::path& imageRoot, const std::filesystem::path& scratchDir,
                             std::string sqlServerVersion, std::string sqlServerEdition, QueryTimeLimit::Wait queryWait,
                             Clock now, odbc::AnswerCeiling ceiling)
    : imageRoot_(imageRoot),
      scratchDir_(std::filesystem::absolute(scratchDir)),
      sqlServerVersion_(std::move(sqlServerVersion)),
      sqlServerEdition_(std::move(sqlServerEdition)),
      now_(now ? std::move(now) : Clock([] { return std::chrono::steady_clock::now(); })),
      queryLimit_(kImageQueryTimeLimit, std::move(queryWait)),
      odbc_(&queryLimit_, ceiling) {}

std::chrono::milliseconds ImageDatabase::Since(std::chrono::steady_clock::time_point start) const {
  return std::chrono::duration_cast<std::chrono::milliseconds>(now_() - start);
}

void ImageDatabase::BuildOnce() {
  if (state_ != State::NotBuilt) return;
  const auto script = FindScript(imageRoot_);
  if (!script) {
    // Without a script there is no database to open; the driver would
    // otherwise create an empty one and every query would fail obscurely.
    state_ = State::NoScript;
    return;
  }
  std::filesystem::create_directories(scratchDir_);
  ScriptBounds bounds;
  bounds.maxTime = kImageQueryTimeLimit;
  bounds.now = now_;
  const auto start = now_();
  try {
    BuildSqliteDatabase(ReadFile(*script), "database\\VoxtraDb.sql", scratchDir_ / kDatabaseFileName, bounds);
  } catch (...) {
    // Its error is told once; the script is not run again.
    state_ = State::Spent;
    throw;
  }
  spent_ += Since(start);
  WriteOdbcinstIni(scratchDir_);
  // unixODBC reads ODBCSYSINI once, at the first ODBC call of the process,
  // and keeps that folder for the rest of the process.
  setenv("ODBCSYSINI", scratchDir_.c_str(), 1);
  state_ = State::Built;
}

platform::RecordSet ImageDatabase::OpenQuery(const std::string& sql, const std::string& connectionString) {
  if (recorded_ != nullptr) {
    for (const auto& [question, result] : recorded_->queries) {
      if (question.first == connectionString && question.second == sql) return Answer(result);
    }
    if (strict_) throw NotCaptured("database query " + sql);
  }
  BuildOnce();
  if (state_ == State::Built && spent_ >= kImageQueryTimeLimit) state_ = State::Spent;
  if (state_ != State::Built) RaiseUnreachable();
  WorkingFolderScope scope(scratchDir_);
  queryLimit_.SetLimit(kImageQueryTimeLimit - spent_);
  const auto start = now_();
  try {
    auto records = odbc_.OpenQuery(sql, Stepping(connectionString));
    spent_ += Since(start);
    return records;
  } catch (const RuntimeError&) {
    spent_ += Since(start);
    if (!queryLimit_.Passed()) throw;
    state_ = State::Spent;
    throw RuntimeError(err::kDatabaseError, "The server image's database did not answer within " +
                                                std::to_string(kImageQueryTimeLimit.count() / 1000) +
                                                " seconds and the query was cancelled: " + sql);
  }
}

std::unique_ptr<platform::ServerConnection> ImageDatabase::OpenServer(const std::string& connectionString) {
  if (recorded_ != nullptr) {
    for (const RecordedServer& server : recorded_->servers) {
      if (server.connection != connectionString) continue;
      if (server.openError) Answer(*server.openError);
      return std::make_unique<ImageServerConnection>(sqlServerVersion_, sqlServerEdition_, &server, strict_);
    }
    if (strict_) throw NotCaptured("server connection " + connectionString);
  }
  if (sqlServerVersion_.empty()) RaiseUnreachable();
  return std::make_unique<ImageServerConnection>(sqlServerVersion_, sqlServerEdition_);
}

}  // namespace fernwick::image
