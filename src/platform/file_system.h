#pragma once
// Files and folders as Windows names them ("C:\Program Files\..."), ANSI.
// Relative paths resolve against the process's current folder.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/clock.h"

namespace fernwick::platform {

// What one folder holds, each list in the order the file system lists it.
struct FolderListing {
  std::vector<std::string> files;
  std::vector<std::string> folders;
};

// Capacity of one drive in bytes, as GetDiskFreeSpaceEx answers it
// (available = what the caller may use).
struct DriveSpace {
  double totalBytes = 0;
  double availableBytes = 0;
};

class FileSystem {
 public:
  virtual ~FileSystem() = default;

  virtual bool FolderExists(const std::string& path) = 0;
  virtual bool FileExists(const std::string& path) = 0;
  // Creates one folder level; false when it cannot be created.
  virtual bool CreateFolder(const std::string& path) = 0;
  // Names of the direct subfolders, in the order the file system lists them.
  virtual std::vector<std::string> SubFolderNames(const std::string& path) = 0;
  // GetFullPathNameA with a 260-character buffer; nullopt when it fails.
  virtual std::optional<std::string> FullPathName(const std::string& path) = 0;
  virtual std::optional<std::string> ReadWholeFile(const std::string& path) = 0;
  // Creates or replaces the file with exactly these bytes.
  virtual bool WriteWholeFile(const std::string& path, std::string_view bytes) = 0;
  // The files and subfolders directly in a folder; nullopt when the folder
  // cannot be listed (missing, not a folder, access denied).
  virtual std::optional<FolderListing> ListFolder(const std::string& path) = 0;
  // A file's last-modified date and time in local time; nullopt when the
  // file cannot be found.
  virtual std::optional<LocalTime> FileLastModified(const std::string& path) = 0;
  // The drive named `driveName` ("C:", or "\\server\share" for a network
  // share); nullopt when it cannot be read (unknown, not ready, unreachable).
  virtual std::optional<DriveSpace> DriveSpaceOf(const std::string& driveName) = 0;
  // Deletes the file, a read-only one too; false when it cannot.
  virtual bool RemoveFile(const std::string& path) = 0;
};

}  // namespace fernwick::platform
