#pragma once
// Files and folders as Windows names them ("C:\Program Files\..."), ANSI.
// Relative paths resolve against the process's current folder.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace fernwick::platform {

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

  static constexpr std::uint32_t kNotSupported = 50;
};

}  // namespace fernwick::platform
