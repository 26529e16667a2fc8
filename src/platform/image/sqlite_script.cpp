#include "platform/image/sqlite_script.h"

#include <sqlite3.h>

#include <algorithm>
#include <memory>
#include <string>
#include <system_error>

#include "common/runtime_error.h"

namespace fernwick::image {
namespace {

struct CloseDatabase {
  void operator()(sqlite3* database) const { sqlite3_close(database); }
};
struct FinalizeStatement {
  void operator()(sqlite3_stmt* statement) const { sqlite3_finalize(statement); }
};
using DatabaseOwner = std::unique_ptr<sqlite3, CloseDatabase>;
using StatementOwner = std::unique_ptr<sqlite3_stmt, FinalizeStatement>;

[[noreturn]] void Fail(std::string_view scriptName, std::string_view detail) {
  throw RuntimeError(err::kDatabaseError, "The configuration database script " + std::string(scriptName) +
                                              " cannot be loaded: " + std::string(detail));
}

long LineAt(std::string_view script, std::size_t offset) {
  // The statement begins at its first non-blank character.
  while (offset < script.size() &&
         (script[offset] == ' ' || script[offset] == '\t' || script[offset] == '\r' || script[offset] == '\n')) {
    ++offset;
  }
  return 1 + static_cast<long>(std::count(script.begin(), script.begin() + static_cast<std::ptrdiff_t>(offset), '\n'));
}

// The script builds this one database file: ATTACH and VACUUM INTO, which
// would write files anywhere, are refused ("not authorized").
int RefuseOtherFiles(void*, int action, const char*, const char*, const char*, const char*) {
  return action == SQLITE_ATTACH ? SQLITE_DENY : SQLITE_OK;
}

bool OnlyNulsAndBlanks(std::string_view text) {
  return text.find_first_not_of(std::string_view(" \t\r\n\0", 5)) == std::string_view::npos;
}

void RunScript(sqlite3* database, std::string_view script, std::string_view scriptName) {
  const char* const begin = script.data();
  const char* const end = begin + script.size();
  const char* next = begin;
  while (next < end) {
    const char* const start = next;
    sqlite3_stmt* raw = nullptr;
    const int prepared = sqlite3_prepare_v2(database, start, static_cast<int>(end - start), &raw, &next);
    StatementOwner statement(raw);
    const std::string where = "line " + std::to_string(LineAt(script, static_cast<std::size_t>(start - begin)));
    if (prepared != SQLITE_OK) Fail(scriptName, where + ": " + sqlite3_errmsg(database));
    if (!statement) {
      if (next > start) continue;  // only blanks or comments
      // SQLite reads no further than a NUL byte. NULs with nothing but
      // blanks after them end the script; anything else there is an error.
      if (OnlyNulsAndBlanks(script.substr(static_cast<std::size_t>(start - begin)))) return;
      Fail(scriptName, where + ": NUL byte in the script");
    }
    int stepped = SQLITE_ROW;
    while (stepped == SQLITE_ROW) stepped = sqlite3_step(statement.get());
    if (stepped != SQLITE_DONE) Fail(scriptName, where + ": " + sqlite3_errmsg(database));
  }
}

void Build(std::string_view script, std::string_view scriptName, const std::filesystem::path& target) {
  sqlite3* raw = nullptr;
  const int opened =
      sqlite3_open_v2(target.string().c_str(), &raw, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
  DatabaseOwner database(raw);
  if (opened != SQLITE_OK) {
    Fail(scriptName, target.string() + ": " + (raw != nullptr ? sqlite3_errmsg(raw) : sqlite3_errstr(opened)));
  }
  sqlite3_set_authorizer(database.get(), RefuseOtherFiles, nullptr);
  char* message = nullptr;
  if (sqlite3_exec(database.get(), "BEGIN", nullptr, nullptr, &message) != SQLITE_OK) {
    const std::string text = message != nullptr ? message : "BEGIN failed";
    sqlite3_free(message);
    Fail(scriptName, text);
  }
  RunScript(database.get(), script, scriptName);
  if (sqlite3_exec(database.get(), "COMMIT", nullptr, nullptr, &message) != SQLITE_OK) {
    const std::string text = message != nullptr ? message : "COMMIT failed";
    sqlite3_free(message);
    Fail(scriptName, text);
  }
}

}  // namespace

void BuildSqliteDatabase(std::string_view script, std::string_view scriptName, const std::filesystem::path& target) {
  std::error_code ignored;
  std::filesystem::remove(target, ignored);
  try {
    Build(script, scriptName, target);
  } catch (...) {
    std::filesystem::remove(target, ignored);
    throw;
  }
}

}  // namespace fernwick::image
