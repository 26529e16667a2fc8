#pragma once
// Files and folders as Windows names them ("C:\Program Files\..."), ANSI.
// Relative paths resolve against the process's current folder.
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
  // Deletes the file, a read-only one too; false when it cannot.
  virtual bool RemoveFile(const std::string& path) = 0;
};

}  // namespace fernwick::platform
