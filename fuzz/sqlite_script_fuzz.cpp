// The database script loader (database\VoxtraDb.sql of a server image).
// Beyond "no crash" and "no hang" (a NUL byte anywhere included): the only
// exception is RuntimeError with the database error number, whose text names
// the script; after a failure no database file is left behind.
#include <unistd.h>

#include <filesystem>
#include <string>

#include "common/runtime_error.h"
#include "fuzz/fuzz_check.h"
#include "platform/image/sqlite_script.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace fernwick;
  using fuzz::Check;
  static const std::filesystem::path target =
      std::filesystem::temp_directory_path() / ("sqlite_script_fuzz_" + std::to_string(getpid()) + ".db");
  try {
    image::BuildSqliteDatabase(fuzz::AsText(data, size), "VoxtraDb.sql", target);
  } catch (const RuntimeError& e) {
    Check(e.Number() == err::kDatabaseError, "a database error number");
    Check(std::string(e.what()).find("VoxtraDb.sql") != std::string::npos, "the error names the script");
    std::error_code ignored;
    Check(!std::filesystem::exists(target, ignored), "no file left after a failure");
  }
  std::error_code ignored;
  std::filesystem::remove(target, ignored);
  return 0;
}
