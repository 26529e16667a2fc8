#pragma once
// The files of a server image. Drive X: is the folder drives/X of the image
// (the letter and every path component matched without regard to case, as
// Windows does). Nothing is ever written into the image: folders and files
// the program creates go to an overlay folder with the same layout, which
// reads consult first.
#include <filesystem>
#include <cstdint>
#include <memory>
#include <optional>
#include <set>
#include <string>

#include "platform/file_system.h"
#include "platform/image/host_folder_index.h"
#include "platform/image/image_file_facts.h"
#include "platform/image/windows_path.h"

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
  // when nothing exists there. Each call is a new question (see
  // NextQuestion).
  std::optional<std::filesystem::path> HostPath(const std::string& windowsPath) const;
  // Where a new file or folder of that Windows path goes in the overlay.
  std::optional<std::filesystem::path> OverlayPath(const std::string& windowsPath) const;

  // Whether the program made the path, or removed it, or made the nearest
  // folder above it that exists: a fact of its own run, not of the image.
  // This and ImageHostPath answer as part of the current question.
  bool FromProgram(const std::string& windowsPath) const;
  // The host file or folder of the image itself (not the overlay), unless
  // the program removed it.
  std::optional<std::filesystem::path> ImageHostPath(const std::string& windowsPath) const;
  // Whether image.ini dates the file.
  bool Dated(const std::string& windowsPath) const;
  // How many times a folder of the image or of the output was read from
  // the host: each is read once, and again only when it changed.
  std::size_t HostFolderReads() const { return overlayFolders_.FoldersRead() + imageFolders_.FoldersRead(); }

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
  // A file or folder of the image itself is removed by hiding it; a file
  // without the host's write permission counts as read-only.
  std::uint32_t RemoveFile(const std::string& path, bool force) override;
  std::uint32_t CopyFileTo(const std::string& from, const std::string& to) override;
  std::optional<std::string> ReadFilePart(const std::string& path, std::uint64_t offset, std::size_t size) override;
  bool AppendToFile(const std::string& path, std::string_view bytes) override;
  std::uint32_t RemoveEmptyFolder(const std::string& path) override;
  std::uint32_t SetCurrentFolder(const std::string& path) override;
  std::string CurrentFolder() override { return currentFolder_; }
  std::string TemporaryFolder() override { return temporaryFolder_; }
  void SetTemporaryFolder(std::string folder) { temporaryFolder_ = std::move(folder); }
  // An exclusive lock (flock) on the overlay's file, as another run of the
  // command against the same output folder sees it.
  std::uint32_t HoldExclusive(const std::string& path) override;
  std::optional<std::string> FolderIdentity(const std::string& path) override;

 protected:
  // Starts a new question: a name the image's index lacks is looked for
  // again if its folder changed since the last question. The lookups that
  // make up one answer share one look at the image.
  void NextQuestion() const { imageFolders_.NextQuestion(); }

 private:
  std::string Key(const std::string& windowsPath) const;
  struct HeldFile {
    HeldFile() = default;
    HeldFile(const HeldFile&) = delete;
    HeldFile& operator=(const HeldFile&) = delete;
    ~HeldFile();
    int descriptor = -1;
    std::filesystem::path path;
  };
  // Whether the image's entry `name` in `folder` was removed by the program.
  bool RemovedChild(const WindowsPath& folder, const std::string& name) const;
  // Forgets that the path was removed, and so its image original too:
  // call before writing a new file or folder there.
  void Unhide(const std::string& windowsPath);

  // The overlay's host path of a Windows path, or nullopt.
  std::optional<std::filesystem::path> LocateInOverlay(const WindowsPath& path) const;
  std::optional<std::filesystem::path> LocateInImage(const WindowsPath& path) const;
  // Forgets what was read of the overlay's folders from `host` up: call
  // after making or removing `host`.
  void OverlayChanged(const std::filesystem::path& host) const;

  // The overlay is the run's own: only this file system writes it, and
  // tells its index. The image does not change during a run.
  mutable HostFolderIndex overlayFolders_{HostFolderIndex::Changes::kForgotten};
  mutable HostFolderIndex imageFolders_{HostFolderIndex::Changes::kRecheckMissing};
  std::set<std::string> hidden_;  // upper-cased full paths removed from the image
  std::string temporaryFolder_ = "C:\\WINDOWS\\Temp\\";
  std::filesystem::path imageRoot_;
  std::filesystem::path overlayRoot_;
  std::string imageDrives_;  // the host folders of the drives
  std::string overlayDrives_;
  std::string currentFolder_;
  ImageFileFacts facts_;
  std::unique_ptr<HeldFile> held_;
};

}  // namespace fernwick::image
