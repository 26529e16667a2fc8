#include "dumpel/dumpel_options.h"

#include <algorithm>

namespace fernwick::dumpel {

std::optional<DumpelOptions> ParseDumpelArguments(const std::vector<std::string>& arguments, std::string& error) {
  DumpelOptions options;
  // Fernwick starts "C:\Program Files\...\dumpel -d ..." without quotes,
  // so the runtime splits the program's own path into arguments: whatever
  // comes before the first option is that path.
  std::size_t first = 0;
  while (first < arguments.size() && (arguments[first].empty() || arguments[first][0] != '-')) ++first;
  for (std::size_t i = first; i < arguments.size(); ++i) {
    const std::string& a = arguments[i];
    const bool hasValue = i + 1 < arguments.size();
    if (a == "-c") {
      options.separator = ',';
    } else if ((a == "-l" || a == "-f" || a == "-d" || a == "-format") && !hasValue) {
      error = a + " needs a value";
      return std::nullopt;
    } else if (a == "-l") {
      options.log = arguments[++i];
    } else if (a == "-f") {
      options.file = arguments[++i];
    } else if (a == "-format") {
      options.format = arguments[++i];
    } else if (a == "-d") {
      const std::string& days = arguments[++i];
      if (days.empty() || days.size() > 5 ||
          !std::all_of(days.begin(), days.end(), [](char c) { return c >= '0' && c <= '9'; })) {
        error = "-d needs a number of days, not \"" + days + "\"";
        return std::nullopt;
      }
      options.days = std::stoi(days);
    } else {
      error = "unknown argument \"" + a + "\"";
      return std::nullopt;
    }
  }
  if (options.log.empty() || options.file.empty()) {
    error = "-l and -f are needed";
    return std::nullopt;
  }
  return options;
}

std::vector<std::string> SplitCommandLine(const std::string& commandLine) {
  std::vector<std::string> arguments;
  std::size_t i = 0;
  while (i < commandLine.size()) {
    while (i < commandLine.size() && (commandLine[i] == ' ' || commandLine[i] == '\t')) ++i;
    if (i == commandLine.size()) break;
    std::string argument;
    bool quoted = false;
    for (; i < commandLine.size(); ++i) {
      const char c = commandLine[i];
      if (c == '"') {
        quoted = !quoted;
      } else if (!quoted && (c == ' ' || c == '\t')) {
        break;
      } else {
        argument += c;
      }
    }
    arguments.push_back(std::move(argument));
  }
  return arguments;
}

}  // namespace fernwick::dumpel
