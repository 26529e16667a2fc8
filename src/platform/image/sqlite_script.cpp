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
// would write files anywhere, and temporary tables and views, which would
// grow outside it, are refused ("not authorized").
// The bound on its size stays as set.
int RefuseOtherFiles(void*, int action, const char* name, const char*, const char*, const char*) {
  switch (action) {
    case SQLITE_PRAGMA:
      return name != nullptr &&
                     (sqlite3_stricmp(name, "max_page_count") == 0 || sqlite3_stricmp(name, "page_size") == 0)
                 ? SQLITE_DENY
                 : SQLITE_OK;
    case SQLITE_ATTACH:
    case SQLITE_CREATE_TEMP_TABLE:
    case SQLITE_CREATE_TEMP_INDEX:
    case SQLITE_CREATE_TEMP_TRIGGER:
    case SQLITE_CREATE_TEMP_VIEW: return SQLITE_DENY;
    default: return SQLITE_OK;
  }
}

// Interrupts the script once its time is up (checked every few thousand
// steps of SQLite's machine).
struct Deadline {
  std::function<std::chrono::steady_clock::time_point()> now;
  std::chrono::steady_clock::time_point end;
  bool passed = false;
};

int CheckDeadline(void* deadline) {
  auto& d = *static_cast<Deadline*>(deadline);
  if (!d.passed && d.now() >= d.end) d.passed = true;
  return d.passed ? 1 : 0;
}

std::string Megabytes(std::uint64_t bytes) {
  return bytes % (1u << 20) == 0 ? std::to_string(bytes >> 20) + " MB" : std::to_string(bytes) + " bytes";
}

bool OnlyNulsAndBlanks(std::string_view text) {
  return text.find_first_not_of(std::string_view(" \t\r\n\0", 5)) == std::string_view::npos;
}

void RunScript(sqlite3* database, std::string_view script, std::string_view scriptName, const ScriptBounds& bounds,
               const Deadline& deadline) {
  const auto failure = [&](const std::string& where) {
    if (deadline.passed) {
      return where + ": the script ran longer than " + std::to_string(bounds.maxTime.count() / 1000) + " seconds";
    }
    if (sqlite3_errcode(database) == SQLITE_FULL) {
      return where + ": the database grew beyond " + Megabytes(bounds.maxBytes);
    }
    return where + ": " + sqlite3_errmsg(database);
  };
  const char* const begin = script.data();
  const char* const end = begin + script.size();
  const char* next = begin;
  while (next < end) {
    const char* const start = next;
    sqlite3_stmt* raw = nullptr;
    const int prepared = sqlite3_prepare_v2(database, start, static_cast<int>(end - start), &raw, &next);
    StatementOwner statement(raw);
    const std::string where = "line " + std::to_string(LineAt(script, static_cast<std::size_t>(start - begin)));
    if (prepared != SQLITE_OK) Fail(scriptName, failure(where));
    if (!statement) {
      if (next > start) continue;  // only blanks or comments
      // SQLite reads no further than a NUL byte. NULs with nothing but
      // blanks after them end the script; anything else there is an error.
      if (OnlyNulsAndBlanks(script.substr(static_cast<std::size_t>(start - begin)))) return;
      Fail(scriptName, where + ": NUL byte in the script");
    }
    int stepped = SQLITE_ROW;
    while (stepped == SQLITE_ROW) stepped = sqlite3_step(statement.get());
    if (stepped != SQLITE_DONE) Fail(scriptName, failure(where));
  }
}

void Build(std::string_view script, std::string_view scriptName, const std::filesystem::path& target,
           const ScriptBounds& bounds) {
  sqlite3* raw = nullptr;
  const int opened =
      sqlite3_open_v2(target.string().c_str(), &raw, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
  DatabaseOwner database(raw);
  if (opened != SQLITE_OK) {
    Fail(scriptName, target.string() + ": " + (raw != nullptr ? sqlite3_errmsg(raw) : sqlite3_errstr(opened)));
  }
  char* message = nullptr;
  // The file may not grow beyond the bound: a page more fails with SQLITE_FULL.
  const std::string pages =
      "PRAGMA max_page_count = " + std::to_string(std::max<std::uint64_t>(1, bounds.maxBytes / 4096));
  if (sqlite3_exec(database.get(), ("PRAGMA page_size = 4096; " + pages).c_str(), nullptr, nullptr, &message) !=
      SQLITE_OK) {
    const std::string text = message != nullptr ? message : "PRAGMA failed";
    sqlite3_free(message);
    Fail(scriptName, text);
  }
  sqlite3_set_authorizer(database.get(), RefuseOtherFiles, nullptr);
  Deadline deadline;
  deadline.now = bounds.now ? bounds.now : [] { return std::chrono::steady_clock::now(); };
  deadline.end = deadline.now() + bounds.maxTime;
  sqlite3_progress_handler(database.get(), 10000, CheckDeadline, &deadline);
  if (sqlite3_exec(database.get(), "BEGIN", nullptr, nullptr, &message) != SQLITE_OK) {
    const std::string text = message != nullptr ? message : "BEGIN failed";
    sqlite3_free(message);
    Fail(scriptName, text);
  }
  RunScript(database.get(), script, scriptName, bounds, deadline);
  if (sqlite3_exec(database.get(), "COMMIT", nullptr, nullptr, &message) != SQLITE_OK) {
    const std::string text = message != nullptr ? message : "COMMIT failed";
    sqlite3_free(message);
    Fail(scriptName, text);
  }
}

}  // namespace

void BuildSqliteDatabase(std::string_view script, std::string_view scriptName, const std::filesystem::path& target,
                         const ScriptBounds& bounds) {
  std::error_code ignored;
  std::filesystem::remove(target, ignored);
  try {
    Build(script, scriptName, target, bounds);
  } catch (...) {
    std::filesystem::remove(target, ignored);
    throw;
  }
}

}  // namespace fernwick::image
