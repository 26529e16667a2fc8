#pragma once
// The batch files of the gathering, as a server image runs them: si.bat and
// ipconfigdump.bat write the output of `systeminfo` and `ipconfig` (the
// image's programs/systeminfo.txt and programs/ipconfig.txt) to the files
// the real ones write, in the output overlay. An image without such a file
// stands for a server where the capture was not written.
#include <filesystem>

#include "platform/image/image_file_system.h"
#include "platform/image/image_services.h"

namespace fernwick::image {

void AddGatheringPrograms(ImageProcessControl& process, ImageFileSystem& files, const std::filesystem::path& imageRoot);

}  // namespace fernwick::image
