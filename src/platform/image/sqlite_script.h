#pragma once
// Builds a SQLite database file from a SQL script, statement by statement,
// so that a broken script is reported with the line it breaks at.
#include <chrono>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <string_view>

namespace fernwick::image {

// What a script may take: an image is outside input, and a script that
// loops or fills a table without end must stop with an error instead.
struct ScriptBounds {
  std::uint64_t maxBytes = 256ull << 20;  // the database file (and its journal) at most
  std::chrono::milliseconds maxTime{60000};
  // The clock the time is measured by (steady_clock when empty).
  std::function<std::chrono::steady_clock::time_point()> now;
};

// Creates `target` (replacing a file already there) and runs `script` in it
// inside one transaction. `scriptName` names the script in errors. On
// failure no file is left behind and RuntimeError says which line failed
// and why. Creating temporary tables is refused (they would grow outside
// the file); a script that reaches a bound stops with an error naming it.
void BuildSqliteDatabase(std::string_view script, std::string_view scriptName, const std::filesystem::path& target,
                         const ScriptBounds& bounds = {});

}  // namespace fernwick::image
