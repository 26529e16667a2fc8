#pragma once
// Files and folders as Windows names them ("C:\Program Files\..."), ANSI.
// Relative paths resolve against the process's current folder.
#include <cstdint>
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

  // Packaging. Each answers the platform's error code (2 file not found,
  // 3 path not found, 5 access denied, ...), 0 when it worked. A platform
  // without the operation fails with 50 (not supported).
  // Deletes one file; `force` deletes it also when it is read-only.
  virtual std::uint32_t RemoveFile(const std::string& /*path*/, bool /*force*/) { return kNotSupported; }
  // Copies a file, replacing the target.
  virtual std::uint32_t CopyFileTo(const std::string& /*from*/, const std::string& /*to*/) { return kNotSupported; }
  // Removes a folder when it is empty.
  virtual std::uint32_t RemoveEmptyFolder(const std::string& /*path*/) { return kNotSupported; }
  // Makes the folder's drive the current drive and the folder the current folder.
  virtual std::uint32_t SetCurrentFolder(const std::string& /*path*/) { return kNotSupported; }
  // The current folder (GetCurrentDirectoryA); empty when unknown.
  virtual std::string CurrentFolder() { return {}; }
  // The temporary folder with its trailing backslash (GetTempPathA); empty when unknown.
  virtual std::string TemporaryFolder() { return {}; }
  // Creates the file `path` and holds it open, shared with nobody, until
  // this file system ends; the file goes with it. 0 when held;
  // kSharingViolation when another process holds it, the one way two runs
  // of the program on one machine learn of each other; any other code when
  // the file cannot be created at all (a read-only or denied folder, a
  // read-only leftover), which says nothing about another run. A platform
  // without it answers 0.
  virtual std::uint32_t HoldExclusive(const std::string& /*path*/) { return 0; }
  // What makes a folder the one it is, whatever path names it (a short
  // name, a share of this machine, a substituted drive, a junction): on
  // Windows the volume's serial number and the folder's file index. None
  // where the platform cannot tell, or the folder cannot be opened.
  virtual std::optional<std::string> FolderIdentity(const std::string& /*path*/) { return std::nullopt; }
  // Files too big to hold at once (event logs), read and written in
  // pieces. At most `size` bytes from `offset` (fewer at the end); nullopt
  // when the file cannot be read. A platform without pieces reads it whole.
  virtual std::optional<std::string> ReadFilePart(const std::string& path, std::uint64_t offset, std::size_t size) {
    auto whole = ReadWholeFile(path);
    if (!whole) return whole;
    return offset >= whole->size() ? std::string() : whole->substr(static_cast<std::size_t>(offset), size);
  }
  // Adds the bytes at the end of the file (which must exist); false when
  // they cannot be written.
  virtual bool AppendToFile(const std::string& path, std::string_view bytes) {
    auto whole = ReadWholeFile(path);
    return whole && WriteWholeFile(path, *whole + std::string(bytes));
  }

  static constexpr std::uint32_t kNotSupported = 50;
  static constexpr std::uint32_t kSharingViolation = 32;
};

}  // namespace fernwick::platform
