#pragma once
// The programs Write To File starts, as the native command runs them on a
// server image: each writes what the real one would, into the output
// overlay. They sit above the image and the programs they stand for, so
// the image platform needs neither.
//   dumpel     the image's eventlogs/<log>.txt records (see
//              docs/server-image.md), formatted as dumpel.exe does; exit
//              code 1 for a log it cannot open or read
//   Tabulex    the CSV header and the image's services.csv lines
//   media      (media.bat) the switch report of the registry's integrations
//              into the current folder, when TelCfgRpt.vbs lies there
//   cabmaker   the real cabmaker logic, the cabinet written with libgcab;
//              `/l LISTFILE` and exit code 3 as cabmaker.exe has them
//   Explorer   nothing
#include <string>

#include "platform/image/server_image.h"

namespace fernwick::native {

// Teaches the image's process control these programs; they read and write
// through the image itself, never through a wrapper of its platform.
void AddPackagingPrograms(image::ServerImage& image);

// cabmaker's logic on the image's files for `commandLine` (the program's
// name first); its exit code.
int RunImageCabmaker(image::ImageFileSystem& files, const std::string& commandLine);

// What TelCfgRpt.vbs writes for the integrations under
// HKLM\Software\Tessaline\MIU\1.0\initialization\integrations: the page and the log.
std::string SwitchReportHtml(platform::Registry& registry);
std::string SwitchLogText(platform::Registry& registry);

}  // namespace fernwick::native
