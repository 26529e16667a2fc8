#include "platform/recording/recording_files.h"

#include "platform/recording/kept_file_contents.h"

#include "common/text.h"

namespace fernwick::recording {

std::string RecordingFiles::FullPath(const std::string& path) {
  std::string full = real_.FullPathName(path).value_or(path);
  while (full.size() > 3 && full.back() == '\\') full.pop_back();
  return full;
}

bool RecordingFiles::Written(const std::string& key) const {
  if (written_.empty()) return false;
  for (std::size_t end = key.size(); end != std::string::npos && end > 0; end = key.rfind('\\', end - 1)) {
    if (written_.count(key.substr(0, end)) > 0) return true;
  }
  return false;
}

void RecordingFiles::MarkWritten(const std::string& path) {
  const std::string full = FullPath(path);
  // What the program made there needs the folder it made it in.
  if (const auto slash = full.rfind('\\'); slash != std::string::npos && slash > 2) {
    if (CapturedPath* parent = Fact(full.substr(0, slash)); parent != nullptr && !parent->isFolder) {
      parent->isFolder = true;
    }
  }
  written_.insert(ToUpper(full));
}

void RecordingFiles::ProgramStarted(const GatheringProgram& program) {
  const std::string key = ToUpper(FullPath(program.outputPath));
  written_.insert(key);
  outputs_[key] = &program;
}

CapturedPath* RecordingFiles::Fact(const std::string& path) {
  const std::string full = FullPath(path);
  return Entry(full, ToUpper(full));
}

CapturedPath* RecordingFiles::Entry(const std::string& full, const std::string& key) {
  if (Written(key)) return nullptr;
  const auto [entry, added] = capture_.paths.try_emplace(key);
  if (added) {
    // A file its folder's listing named has been known to exist since then,
    // under the name the listing gave it.
    const CapturedPath* folder = nullptr;
    if (const std::string_view name = ListedFile(key, &folder); !name.empty()) {
      entry->second.path = folder->path + (folder->path.back() == '\\' ? "" : "\\") + std::string(name);
      entry->second.isFile = true;
    }
  }
  if (entry->second.path.empty()) entry->second.path = full;
  return &entry->second;
}

std::string_view RecordingFiles::ListedFile(const std::string& key, const CapturedPath** folder) const {
  const auto slash = key.rfind('\\');
  if (slash == std::string::npos || slash + 1 == key.size()) return {};
  const auto parent = capture_.paths.find(key.substr(0, slash == 2 ? 3 : slash));
  if (parent == capture_.paths.end() || !parent->second.listed || !parent->second.names ||
      parent->second.path.empty()) {
    return {};
  }
  if (folder != nullptr) *folder = &parent->second;
  return parent->second.names->FileNamed(std::string_view(key).substr(slash + 1));
}

std::shared_ptr<const CapturedListing> RecordingFiles::Listing(const std::vector<std::string>& files,
                                                               const std::vector<std::string>& folders) {
  auto listing = std::make_shared<const CapturedListing>(files, folders);
  const std::size_t hash = std::hash<std::string_view>()(listing->Text()) ^ listing->Files();
  for (auto [same, end] = listings_.equal_range(hash); same != end;) {
    const std::shared_ptr<const CapturedListing> held = same->second.lock();
    if (!held) {
      same = listings_.erase(same);  // no capture holds it any more (a later Go restarted)
      continue;
    }
    if (held->Files() == listing->Files() && held->Text() == listing->Text()) return held;
    ++same;
  }
  listings_.emplace(hash, listing);
  return listing;
}

CapturedPath* RecordingFiles::Child(const std::string& folder, const std::string& name) {
  return Fact(folder + (folder.back() == '\\' ? "" : "\\") + name);
}

bool RecordingFiles::FolderExists(const std::string& path) {
  const bool answer = real_.FolderExists(path);
  if (CapturedPath* fact = Fact(path); fact != nullptr && !fact->isFolder) fact->isFolder = answer;
  return answer;
}

bool RecordingFiles::FileExists(const std::string& path) {
  const bool answer = real_.FileExists(path);
  const std::string full = FullPath(path);
  const std::string key = ToUpper(full);
  // A file its folder's listing named: the listing has answered already.
  if (capture_.paths.count(key) == 0 && !ListedFile(key).empty()) return answer;
  if (CapturedPath* fact = Entry(full, key); fact != nullptr && !fact->isFile) fact->isFile = answer;
  return answer;
}

bool RecordingFiles::CreateFolder(const std::string& path) {
  const bool created = real_.CreateFolder(path);
  if (created) MarkWritten(path);
  return created;
}

std::vector<std::string> RecordingFiles::SubFolderNames(const std::string& path) {
  std::vector<std::string> names = real_.SubFolderNames(path);
  CapturedPath* fact = Fact(path);
  if (fact == nullptr || fact->listed || fact->subFoldersListed) return names;
  // A missing folder has no subfolders either: tell the two apart.
  if (names.empty() && !fact->isFolder) fact->isFolder = real_.FolderExists(path);
  if (names.empty() && fact->isFolder == false) return names;
  fact->isFolder = true;
  fact->subFoldersListed = true;
  fact->names = Listing({}, names);
  const std::string folder = fact->path;
  for (const std::string& name : names) {
    if (CapturedPath* child = Child(folder, name); child != nullptr && !child->isFolder) child->isFolder = true;
  }
  return names;
}

std::optional<std::string> RecordingFiles::ReadWholeFile(const std::string& path) {
  std::optional<std::string> content = real_.ReadWholeFile(path);
  if (!outputs_.empty()) {
    const auto output = outputs_.find(ToUpper(FullPath(path)));
    if (output != outputs_.end()) {
      if (content) capture_.programOutputs.emplace(output->second->imageFile, output->second->kept(*content));
      return content;
    }
  }
  CapturedPath* fact = Fact(path);
  if (fact == nullptr || fact->contentAsked) return content;
  fact->contentAsked = true;
  fact->content = content ? std::optional<std::string>(KeptFileContents(fact->path, *content)) : std::nullopt;
  // A failed read: a missing file, or one that cannot be read.
  if (content || !fact->isFile) fact->isFile = content.has_value() || real_.FileExists(path);
  return content;
}

bool RecordingFiles::WriteWholeFile(const std::string& path, std::string_view bytes) {
  const bool written = real_.WriteWholeFile(path, bytes);
  if (written) MarkWritten(path);
  return written;
}

std::optional<platform::FolderListing> RecordingFiles::ListFolder(const std::string& path) {
  std::optional<platform::FolderListing> listing = real_.ListFolder(path);
  CapturedPath* fact = Fact(path);
  if (fact == nullptr || fact->listed) return listing;
  if (!listing) {
    if (!fact->isFolder) fact->isFolder = false;
    return listing;
  }
  fact->isFolder = true;
  fact->listed = true;
  fact->names = Listing(listing->files, listing->folders);
  const std::string folder = fact->path;
  // The files it names need no entry of their own (Entry makes one when
  // something else is asked of them), unless they had one already.
  const std::string folderKey = ToUpper(folder) + (folder.back() == '\\' ? "" : "\\");
  for (const std::string& name : listing->files) {
    const std::string key = folderKey + ToUpper(name);
    if (Written(key)) continue;
    if (const auto child = capture_.paths.find(key); child != capture_.paths.end() && !child->second.isFile) {
      child->second.isFile = true;
    }
  }
  for (const std::string& name : listing->folders) {
    if (CapturedPath* child = Child(folder, name); child != nullptr && !child->isFolder) child->isFolder = true;
  }
  return listing;
}

std::optional<platform::LocalTime> RecordingFiles::FileLastModified(const std::string& path) {
  std::optional<platform::LocalTime> date = real_.FileLastModified(path);
  CapturedPath* fact = Fact(path);
  if (fact == nullptr || fact->dateAsked) return date;
  fact->dateAsked = true;
  fact->date = date;
  if (date || !fact->isFile) fact->isFile = date.has_value() || real_.FileExists(path);
  return date;
}

// A drive's free space moves while the gathering writes: a drive asked for
// again answers as it did the first time, so that the report holds the
// figures the image replays.
std::optional<platform::DriveSpace> RecordingFiles::DriveSpaceOf(const std::string& driveName) {
  const std::string key = ToUpper(driveName);
  if (const auto known = capture_.drives.find(key); known != capture_.drives.end()) return known->second;
  std::optional<platform::DriveSpace> space = real_.DriveSpaceOf(driveName);
  capture_.drives.emplace(key, space);
  capture_.driveNames[key] = driveName;
  return space;
}

std::uint32_t RecordingFiles::RemoveFile(const std::string& path, bool force) {
  const std::uint32_t error = real_.RemoveFile(path, force);
  if (error == 0) MarkWritten(path);
  return error;
}

bool RecordingFiles::AppendToFile(const std::string& path, std::string_view bytes) {
  const bool written = real_.AppendToFile(path, bytes);
  if (written) MarkWritten(path);
  return written;
}

std::uint32_t RecordingFiles::CopyFileTo(const std::string& from, const std::string& to) {
  const std::uint32_t error = real_.CopyFileTo(from, to);
  if (error == 0) MarkWritten(to);
  return error;
}

std::uint32_t RecordingFiles::RemoveEmptyFolder(const std::string& path) {
  const std::uint32_t error = real_.RemoveEmptyFolder(path);
  if (error == 0) MarkWritten(path);
  return error;
}

std::string RecordingFiles::TemporaryFolder() {
  std::string folder = real_.TemporaryFolder();
  if (capture_.temporaryFolder.empty()) capture_.temporaryFolder = folder;
  return folder;
}

}  // namespace fernwick::recording
