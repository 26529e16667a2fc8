#pragma once
// modDirectorySelect and the Browse button: the output folder is chosen with
// the folder picker, never the install folder.
#include <string>

#include "common/message_boxes.h"
#include "platform/platform.h"

namespace fernwick::packaging {

inline constexpr const char* kInstallFolderRefused =
    "You cannot select the TORB install directory as the output for the system info.  Please select another "
    "directory.";

// cmdBrowse_Click: shows the picker and answers what txtSavePath holds
// afterwards: the chosen folder with a trailing backslash, or `savePath`
// unchanged after a cancel or when the install folder was chosen (then
// after the refusal message). Unexpected errors show "Error N (...) in
// procedure cmdBrowse_Click of Form frmMain" and the handler goes on.
std::string cmdBrowse_Click(platform::Platform& platform, MessageBoxes& boxes, const std::string& savePath);

// True when the output folder (with its trailing backslash), typed or
// browsed, is the install folder, compared as full paths without regard to
// letter case.
bool IsInstallFolder(platform::Platform& platform, const std::string& outputFolder);

}  // namespace fernwick::packaging
