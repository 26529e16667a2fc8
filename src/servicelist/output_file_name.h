#pragma once
// Where the listing goes: the command line's "-o NAME", else Services.csv in
// the temporary folder.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tabulex {

// `arguments` excludes the program name. Every argument is examined, the one
// after "-o" too, so "-o -o x" names "x" and the last pair wins. "-o" matches
// exactly (letter case counts); "-o" as the last argument names nothing.
std::optional<std::string> OutputFileNameFromArguments(const std::vector<std::string_view>& arguments);

// `tempFolder` as the system reports it, with its trailing backslash; empty
// when it could not be determined, which gives an empty name.
std::string DefaultOutputFileName(std::string_view tempFolder);

}  // namespace tabulex
