#pragma once
// Files and folders, recorded: existence, the contents of the files read,
// listings, dates and drive figures. What the program itself (or a program
// it started) wrote, created or removed is not a fact of the machine: a
// replay answers it from what the program writes again, so nothing about
// such a path, or below it, is recorded from then on. The output of the
// gathering's batch files is kept as program output instead.
#include <memory>
#include <set>
#include <string>
#include <string_view>
#include <unordered_map>

#include "platform/file_system.h"
#include "platform/recording/capture.h"
#include "platform/recording/gathering_programs.h"

namespace fernwick::recording {

class RecordingFiles : public platform::FileSystem {
 public:
  RecordingFiles(platform::FileSystem& real, Capture& capture) : real_(real), capture_(capture) {}

  // The batch file `program` was started: its output file is program output.
  void ProgramStarted(const GatheringProgram& program);

  bool FolderExists(const std::string& path) override;
  bool FileExists(const std::string& path) override;
  bool CreateFolder(const std::string& path) override;
  std::vector<std::string> SubFolderNames(const std::string& path) override;
  std::optional<std::string> FullPathName(const std::string& path) override { return real_.FullPathName(path); }
  std::optional<std::string> ReadWholeFile(const std::string& path) override;
  bool WriteWholeFile(const std::string& path, std::string_view bytes) override;
  std::optional<platform::FolderListing> ListFolder(const std::string& path) override;
  std::optional<platform::LocalTime> FileLastModified(const std::string& path) override;
  std::optional<platform::DriveSpace> DriveSpaceOf(const std::string& driveName) override;
  std::uint32_t RemoveFile(const std::string& path, bool force) override;
  std::uint32_t CopyFileTo(const std::string& from, const std::string& to) override;
  // Pieces of files are read and written by packaging only, after the
  // gathering: they are not recorded.
  std::optional<std::string> ReadFilePart(const std::string& path, std::uint64_t offset, std::size_t size) override {
    return real_.ReadFilePart(path, offset, size);
  }
  bool AppendToFile(const std::string& path, std::string_view bytes) override;
  std::uint32_t RemoveEmptyFolder(const std::string& path) override;
  std::uint32_t SetCurrentFolder(const std::string& path) override { return real_.SetCurrentFolder(path); }
  std::string CurrentFolder() override { return real_.CurrentFolder(); }
  std::string TemporaryFolder() override;
  std::uint32_t HoldExclusive(const std::string& path) override { return real_.HoldExclusive(path); }
  std::optional<std::string> FolderIdentity(const std::string& path) override { return real_.FolderIdentity(path); }

 private:
  // The entry of a path that is a fact of the machine; nullptr for a path
  // the program wrote (or below one).
  CapturedPath* Fact(const std::string& path);
  CapturedPath* Entry(const std::string& full, const std::string& key);
  CapturedPath* Child(const std::string& folder, const std::string& name);
  // The name under which the listing of its folder names the file `key`
  // (an upper-cased full path); empty when no listing names it.
  std::string_view ListedFile(const std::string& key, const CapturedPath** folder = nullptr) const;
  // The listing of these names, held once for all folders listed alike.
  std::shared_ptr<const CapturedListing> Listing(const std::vector<std::string>& files,
                                                 const std::vector<std::string>& folders);
  std::string FullPath(const std::string& path);
  bool Written(const std::string& key) const;
  void MarkWritten(const std::string& path);

  platform::FileSystem& real_;
  Capture& capture_;
  std::set<std::string> written_;                           // upper-cased full paths
  std::map<std::string, const GatheringProgram*> outputs_;  // upper-cased output path -> program
  std::unordered_multimap<std::size_t, std::weak_ptr<const CapturedListing>> listings_;  // by a hash of the names
};

}  // namespace fernwick::recording
