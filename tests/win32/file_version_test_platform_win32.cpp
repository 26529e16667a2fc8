#include <cstdlib>
#include <string>

#include "common/file_version_test_platform.h"
#include "platform/win32/win32_services.h"
#include "platform/win32/win32_version_resources.h"

namespace fernwick::testing {
namespace {

// tests/wine/fileversion_test.sh copies the test libraries into the prefix
// and names their folder in FERNWICK_TEST_PE_DIR.
std::string TestLibraryFolder() {
  const char* folder = std::getenv("FERNWICK_TEST_PE_DIR");
  std::string path = folder != nullptr ? folder : "C:\\fernwick_tests\\pe";
  if (path.empty() || path.back() != '\\') path += '\\';
  return path;
}

}  // namespace

FileVersionTestPlatform& FileVersionPlatform() {
  static win32::Win32VersionResources versions;
  static win32::Win32FileSystem files;
  static FileVersionTestPlatform platform{versions, files, TestLibraryFolder()};
  return platform;
}

}  // namespace fernwick::testing
