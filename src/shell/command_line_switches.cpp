#include "shell/command_line_switches.h"

#include "common/text.h"

namespace fernwick::shell {

CommandLineSwitches ReadSwitches(std::string_view commandLine) {
  return {ContainsNoCase(commandLine, "silent"), ContainsNoCase(commandLine, "skippromptcheck")};
}

}  // namespace fernwick::shell
