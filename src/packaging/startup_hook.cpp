#include "packaging/startup_hook.h"

#include "launch/command_lines.h"

namespace fernwick::packaging {

std::string StartupHookCommand(const std::string& installFolder, const platform::OwnVersion& version,
                               const std::string& first, const std::string& second) {
  const std::string versionText =
      std::to_string(version.major) + "." + std::to_string(version.minor) + "." + std::to_string(version.revision);
  // A batch file: its path quoted, as for every batch file the program starts.
  std::string command = launch::BatchCommandLine(installFolder, "test.bat") + " " + versionText + " " + first;
  if (second.size() >= 2) command += " \"" + second + "\"";
  return command;
}

void RunStartupHook(platform::Platform& platform, const std::string& first, const std::string& second) {
  try {
    const auto started = platform.process.StartProcess(
        StartupHookCommand(platform.program.InstallFolder(), platform.program.Version(), first, second),
        platform::kWindowMinimizedFocus);
    platform.process.ReleaseProcess(started.processId);
  } catch (const std::exception&) {
    // The hook is optional; nothing of it may reach the user.
  }
}

}  // namespace fernwick::packaging
