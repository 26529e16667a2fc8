#pragma once
// The programs Write To File starts, as a server image runs them: each
// writes what the real one would, into the output overlay.
//   dumpel     the image's eventlogs/<log>.txt records (see
//              docs/server-image.md), formatted as dumpel.exe does
//   Tabulex    the CSV header and the image's services.csv lines
//   media      (media.bat) the switch report of the registry's integrations
//              into the current folder, when TelCfgRpt.vbs lies there
//   cabmaker   the real cabmaker logic, the cabinet written with libgcab
//   Explorer   nothing
#include <filesystem>

#include "platform/image/image_file_system.h"
#include "platform/image/image_services.h"
#include "platform/platform.h"

namespace fernwick::image {

void AddPackagingPrograms(ImageProcessControl& process, ImageFileSystem& files, platform::Platform& platform,
                          const std::filesystem::path& imageRoot);

// What TelCfgRpt.vbs writes for the integrations under
// HKLM\Software\Tessaline\MIU\1.0\initialization\integrations: the page and the log.
std::string SwitchReportHtml(platform::Registry& registry);
std::string SwitchLogText(platform::Registry& registry);

}  // namespace fernwick::image
