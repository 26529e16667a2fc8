#pragma once
// Where the file-version cases run: natively the image platform's version
// reader over the test libraries built from tests/fixtures/pe, under Wine
// version.dll over the same libraries copied into the prefix.
#include <string>

#include "platform/file_system.h"
#include "platform/version_resources.h"

namespace fernwick::testing {

struct FileVersionTestPlatform {
  platform::VersionResources& versions;
  platform::FileSystem& files;
  // Windows path of the folder holding the test libraries, ending in "\".
  std::string folder;
};

FileVersionTestPlatform& FileVersionPlatform();

}  // namespace fernwick::testing
