#pragma once
// The files of a server image. Drive X: is the folder drives/X of the image
// (the letter and every path component matched without regard to case, as
// Windows does). Nothing is ever written into the image: folders and files
// the program creates go to an overlay folder with the same layout, which
// reads consult first.
#include <filesystem>
#include <optional>
#include <set>
#include <string>

#include "platform/file_system.h"
#include "platform/image/image_file_facts.h"

namespace fernwick::image {

class ImageFileSystem : public platform::FileSystem {
 public:
  // `currentFolder` is the Windows path relative paths resolve against.
  // `facts` gives the drives' capacities and the files' dates; a drive it
  // does not list cannot be read, a file it does not date has the host
  // file's date.
  ImageFileSystem(std::filesystem::path imageRoot, std::filesystem::path overlayRoot, std::string currentFolder,
                  ImageFileFacts facts = {});

  // The host file or folder a Windows path names (overlay first), or nullopt
  // when nothing exists there.
  std::optional<std::filesystem::path> HostPath(const std::string& windowsPath) const;
  // Where a new file or folder of that Windows path goes in the overlay.
  std::optional<std::filesystem::path> OverlayPath(const std::string& windowsPath) const;

  bool FolderExists(const std::string& path) override;
  bool FileExists(const std::string& path) override;
  bool CreateFolder(const std::string& path) override;
  std::vector<std::string> SubFolderNames(const std::string& path) override;
  std::optional<std::string> FullPathName(const std::string& path) override;
  std::optional<std::string> ReadWholeFile(const std::string& path) override;
  bool WriteWholeFile(const std::string& path, std::string_view bytes) override;
  std::optional<platform::FolderListing> ListFolder(const std::string& path) override;
  std::optional<platform::LocalTime> FileLastModified(const std::string& path) override;
  std::optional<platform::DriveSpace> DriveSpaceOf(const std::string& driveName) override;
  // Removes an overlay file; a file of the image itself is only hidden, so
  // the image stays as it was.
  bool RemoveFile(const std::string& path) override;

 private:
  std::filesystem::path imageRoot_;
  std::filesystem::path overlayRoot_;
  std::string currentFolder_;
  ImageFileFacts facts_;
  // Image files the program deleted (upper-case Windows paths).
  std::set<std::string> removed_;
};

}  // namespace fernwick::image
