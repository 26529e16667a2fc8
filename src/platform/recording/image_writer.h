#pragma once
// Writes a capture as a server image into a folder, through a platform's
// file system.
#include <string>

#include "platform/file_system.h"
#include "platform/recording/capture.h"

namespace fernwick::recording {

// `folder` ends in "\"; it and the folders above it are created as needed.
// Returns an empty text when every file was written, else why the image is
// incomplete (the first file or folder that could not be written; nothing
// is written after it, and image.ini, written last, is missing, so the
// folder is no image that could replay differently). Never throws.
std::string WriteCaptureImage(const Capture& capture, platform::FileSystem& files, const std::string& folder);

}  // namespace fernwick::recording
