#pragma once
// dumpel's command line: "dumpel -d DAYS -format LETTERS -c -l LOG -f FILE".
#include <optional>
#include <string>
#include <vector>

namespace fernwick::dumpel {

struct DumpelOptions {
  std::string log;                   // -l: system, application, security, ...
  std::string file;                  // -f: the output file
  std::string format = "dtTCISucs";  // -format: the fields, in order
  char separator = '\t';             // -c: a comma instead
  int days = 0;                      // -d: only the last DAYS days; 0: every record
};

inline constexpr const char* kUsage = "Usage: dumpel -l LOG -f FILE [-d DAYS] [-format dtTCISucs] [-c]";

// nullopt (with `error`) for a command line dumpel cannot follow.
std::optional<DumpelOptions> ParseDumpelArguments(const std::vector<std::string>& arguments, std::string& error);

// Splits a Windows command line into its arguments as the C runtime does
// for the usual cases: blanks separate, double quotes group.
std::vector<std::string> SplitCommandLine(const std::string& commandLine);

}  // namespace fernwick::dumpel
