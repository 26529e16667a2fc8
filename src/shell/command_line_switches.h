#pragma once
#include <string_view>

namespace fernwick::shell {

struct CommandLineSwitches {
  bool silent = false;
  bool skipPromptCheck = false;
};

// The switches are case-insensitive substrings anywhere in the command line:
// "/silent", "-SILENT" and "nonsilently" all count.
CommandLineSwitches ReadSwitches(std::string_view commandLine);

}  // namespace fernwick::shell
