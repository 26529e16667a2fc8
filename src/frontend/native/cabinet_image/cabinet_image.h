#pragma once
// The server image a VoxtraInfo.cab carries (ServerImage.cab inside it, see
// docs/server-image-in-the-cab.md), unpacked into a private temporary folder
// for the image reader; the folder goes with the object.
#include <filesystem>
#include <optional>
#include <stdexcept>
#include <string_view>

namespace fernwick::native {

// The cabinet or its image cannot be read; what() says why.
class CabinetImageError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

class CabinetImage {
 public:
  explicit CabinetImage(const std::filesystem::path& cabinet);
  ~CabinetImage();
  CabinetImage(const CabinetImage&) = delete;
  CabinetImage& operator=(const CabinetImage&) = delete;

  const std::filesystem::path& Folder() const { return folder_; }

 private:
  std::filesystem::path folder_;
};

// Where a file stored in ServerImage.cab as `name` lands below the image
// folder: its "\" (or "/") separate folders, an ANSI name becomes the UTF-8
// host name the image reader expects. None for a name that would leave the
// folder or names no file (empty, "..", ".", a drive or root).
std::optional<std::filesystem::path> ImageEntryPath(std::string_view name, bool utf8Name);

}  // namespace fernwick::native
