#include "shell/help_launch.h"

#include <cstdint>
#include <string>

namespace fernwick::shell {
namespace {
constexpr int kShowNormal = 1;               // SW_SHOWNORMAL
constexpr std::int16_t kNoAssociation = 31;  // SE_ERR_NOASSOC
}  // namespace

void LaunchHelpFile(platform::UserInterface& ui, platform::ProgramFacts& program, MessageBoxes& boxes) {
  const std::string folder = program.InstallFolder();
  const auto result =
      static_cast<std::int16_t>(ui.RunShellExecute("Open", folder + "\\" + kHelpFileName, "", folder, kShowNormal));
  if (result == kNoAssociation) {
    boxes.Show(std::string("No program is currently associated to open this file type: ") + kHelpFileName);
  } else if (result < 33) {
    boxes.Show(std::string("Unable to launch help file ") + kHelpFileName +
               ". Try opening the file manually in a browser. Error code returned is " + std::to_string(result));
  }
}

}  // namespace fernwick::shell
