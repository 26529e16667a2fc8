#pragma once
// Builds a SQLite database file from a SQL script, statement by statement,
// so that a broken script is reported with the line it breaks at.
#include <filesystem>
#include <string_view>

namespace fernwick::image {

// Creates `target` (replacing a file already there) and runs `script` in it
// inside one transaction. `scriptName` names the script in errors. On
// failure no file is left behind and RuntimeError says which line failed
// and why.
void BuildSqliteDatabase(std::string_view script, std::string_view scriptName, const std::filesystem::path& target);

}  // namespace fernwick::image
