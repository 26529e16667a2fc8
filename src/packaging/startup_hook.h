#pragma once
// The start-up hook: a site may drop "test.bat" beside the program to learn
// that Fernwick started, which version, and from which page.
#include <string>

#include "platform/platform.h"

namespace fernwick::packaging {

// Starts "<install folder>\test.bat <own version> <first> [\"<second>\"]"
// minimized, without waiting. A second argument shorter than 2 characters is
// left off. Every failure (above all: no test.bat) is silent.
void RunStartupHook(platform::Platform& platform, const std::string& first, const std::string& second);

// The command line the hook starts.
std::string StartupHookCommand(const std::string& installFolder, const platform::OwnVersion& version,
                               const std::string& first, const std::string& second);

}  // namespace fernwick::packaging
