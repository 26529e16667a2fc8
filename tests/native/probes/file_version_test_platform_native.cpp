#include <algorithm>
#include <cctype>
#include <filesystem>

#include "common/file_version_test_platform.h"
#include "common/text.h"
#include "platform/image/image_version_resources.h"

namespace fernwick::testing {
namespace {

// The test libraries appear as drive C's folder "Fixtures\PE"; only the full
// path function of the file system is used by the version cases.
constexpr const char* kFolder = "C:\\Fixtures\\PE\\";

std::optional<std::filesystem::path> HostPath(const std::string& windowsPath) {
  if (!StartsWithNoCase(windowsPath, kFolder)) return std::nullopt;
  std::string name = windowsPath.substr(std::string(kFolder).size());
  std::transform(name.begin(), name.end(), name.begin(), [](unsigned char c) { return std::tolower(c); });
  std::filesystem::path host = std::filesystem::path(FERNWICK_TEST_PE_DIR) / name;
  if (!std::filesystem::exists(host)) return std::nullopt;
  return host;
}

class FixtureFileSystem : public platform::FileSystem {
 public:
  bool FolderExists(const std::string&) override { return false; }
  bool FileExists(const std::string&) override { return false; }
  bool CreateFolder(const std::string&) override { return false; }
  std::vector<std::string> SubFolderNames(const std::string&) override { return {}; }
  std::optional<std::string> FullPathName(const std::string& path) override {
    if (path.size() >= 3 && path[1] == ':' && path[2] == '\\') return path;
    return kFolder + path;
  }
  std::optional<std::string> ReadWholeFile(const std::string&) override { return std::nullopt; }
  bool WriteWholeFile(const std::string&, std::string_view) override { return false; }
  std::optional<platform::FolderListing> ListFolder(const std::string&) override { return std::nullopt; }
  std::optional<platform::LocalTime> FileLastModified(const std::string&) override { return std::nullopt; }
  std::optional<platform::DriveSpace> DriveSpaceOf(const std::string&) override { return std::nullopt; }
  bool RemoveFile(const std::string&) override { return false; }
};

}  // namespace

FileVersionTestPlatform& FileVersionPlatform() {
  static image::ImageVersionResources versions(HostPath);
  static FixtureFileSystem files;
  static FileVersionTestPlatform platform{versions, files, kFolder};
  return platform;
}

}  // namespace fernwick::testing
