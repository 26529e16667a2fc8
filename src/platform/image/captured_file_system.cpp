#include "platform/image/captured_file_system.h"

#include <algorithm>
#include <unordered_set>

#include "common/text.h"
#include "platform/image/not_captured.h"
#include "platform/recording/gathering_programs.h"

namespace fernwick::image {
namespace fs = std::filesystem;

namespace {

bool IsFile(const std::optional<fs::path>& host) {
  std::error_code ec;
  return host && fs::is_regular_file(*host, ec);
}

bool IsFolder(const std::optional<fs::path>& host) {
  std::error_code ec;
  return host && fs::is_directory(*host, ec);
}

}  // namespace

const CapturedFileSystem::ListingIndex& CapturedFileSystem::IndexOf(const NameList& names) {
  auto known = listingIndexes_.find(&names);
  if (known == listingIndexes_.end()) {
    known = listingIndexes_.emplace(&names, ListingIndex()).first;
    known->second.reserve(names.size());
    for (std::size_t i = 0; i < names.size(); ++i) known->second.emplace(ToUpper(names[i]), i);
  }
  return known->second;
}

void CapturedFileSystem::Reorder(std::vector<std::string>& names,
                                 const std::map<std::string, std::shared_ptr<const NameList>>& orders,
                                 const std::string& key) {
  const auto found = orders.find(key);
  if (found == orders.end() || !found->second) return;
  const ListingIndex& ranks = IndexOf(*found->second);
  const std::size_t unranked = found->second->size();
  std::vector<std::pair<std::size_t, std::string>> ranked;
  ranked.reserve(names.size());
  for (std::string& name : names) {
    const auto rank = ranks.find(ToUpper(name));
    ranked.emplace_back(rank == ranks.end() ? unranked : rank->second, std::move(name));
  }
  std::stable_sort(ranked.begin(), ranked.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
  for (std::size_t i = 0; i < names.size(); ++i) names[i] = std::move(ranked[i].second);
}

bool CapturedFileSystem::Ours(const std::string& path) {
  const std::string key = Key(path);
  for (const recording::GatheringProgram& program : recording::kGatheringPrograms) {
    if (key == ToUpper(program.outputPath)) return true;
  }
  return FromProgram(path);
}

std::string CapturedFileSystem::Key(const std::string& path) {
  std::string full = FullPathName(path).value_or(path);
  while (full.size() > 3 && full.back() == '\\') full.pop_back();
  return ToUpper(full);
}

bool CapturedFileSystem::Recorded(const char* kind, const std::string& path) {
  return answers_.Has(kind, Key(path));
}

bool CapturedFileSystem::KnownAbsent(const char* kind, const std::string& path) {
  const std::string key = Key(path);
  if (answers_.Has(kind, key)) return true;
  const auto slash = key.rfind('\\');
  if (slash == std::string::npos || slash + 1 == key.size()) return false;
  return answers_.Has("listed", key.substr(0, slash == 2 ? 3 : slash));
}

bool CapturedFileSystem::ListedFile(const std::string& path) {
  const std::string key = Key(path);
  const auto slash = key.rfind('\\');
  if (slash == std::string::npos || slash + 1 == key.size()) return false;
  const std::string folder = key.substr(0, slash == 2 ? 3 : slash);
  if (!answers_.Has("listed", folder)) return false;
  const auto files = answers_.fileOrder.find(folder);
  if (files == answers_.fileOrder.end() || !files->second) return false;
  return IndexOf(*files->second).count(key.substr(slash + 1)) > 0;
}

void CapturedFileSystem::Require(bool known, const std::string& question) const {
  if (!known && strict_) throw NotCaptured(question);
}

bool CapturedFileSystem::FolderExists(const std::string& path) {
  NextQuestion();
  const bool answer = ImageFileSystem::FolderExists(path);
  if (answer || Ours(path) || ImageHostPath(path)) return answer;
  Require(KnownAbsent("nofolder", path), "folder " + path);
  return answer;
}

bool CapturedFileSystem::FileExists(const std::string& path) {
  NextQuestion();
  const bool answer = ImageFileSystem::FileExists(path);
  if (answer || Ours(path) || ImageHostPath(path)) return answer;
  if (ListedFile(path)) return true;
  Require(KnownAbsent("nofile", path), "file " + path);
  return answer;
}

std::vector<std::string> CapturedFileSystem::SubFolderNames(const std::string& path) {
  NextQuestion();
  if (!Ours(path)) {
    if (IsFolder(ImageHostPath(path))) {
      Require(Recorded("listed", path) || Recorded("subfolders", path), "subfolders of " + path);
    } else {
      Require(KnownAbsent("nofolder", path), "folder " + path);
    }
  }
  std::vector<std::string> names = ImageFileSystem::SubFolderNames(path);
  Reorder(names, answers_.folderOrder, Key(path));
  return names;
}

std::optional<std::string> CapturedFileSystem::ReadWholeFile(const std::string& path) {
  NextQuestion();
  if (!Ours(path)) {
    const auto host = ImageHostPath(path);
    if (IsFile(host) && Recorded("unreadable", path)) return std::nullopt;
    if (IsFile(host) || (!host && ListedFile(path))) {
      Require(IsFile(host) && Recorded("content", path), "contents of file " + path);
    } else if (!host) {
      Require(KnownAbsent("nofile", path), "file " + path);
    }
    if (const auto source = answers_.contentSources.find(Key(path)); source != answers_.contentSources.end()) {
      return SharedContents(path, source->second);
    }
  }
  return ImageFileSystem::ReadWholeFile(path);
}

std::optional<std::string> CapturedFileSystem::SharedContents(const std::string& path, const std::string& source) {
  // The bytes are the source's own: a chain of sources, or one the image
  // does not hold, is no answer.
  const bool held =
      Recorded("content", source) && answers_.contentSources.count(Key(source)) == 0 && IsFile(ImageHostPath(source));
  Require(held, "contents of file " + path + " (those of " + source + ")");
  return ImageFileSystem::ReadWholeFile(held ? source : path);
}

std::optional<platform::FolderListing> CapturedFileSystem::ListFolder(const std::string& path) {
  NextQuestion();
  if (!Ours(path)) {
    if (IsFolder(ImageHostPath(path))) {
      Require(Recorded("listed", path), "listing of folder " + path);
    } else {
      Require(KnownAbsent("nofolder", path), "folder " + path);
    }
  }
  auto listing = ImageFileSystem::ListFolder(path);
  if (listing) {
    // The listed files the image holds no file for.
    if (const auto files = answers_.fileOrder.find(Key(path));
        files != answers_.fileOrder.end() && files->second && Recorded("listed", path)) {
      const NameList& names = *files->second;
      std::unordered_set<std::string> present;
      for (const std::string& name : listing->files) present.insert(ToUpper(name));
      for (std::size_t i = 0; i < names.size(); ++i) {
        if (present.insert(ToUpper(names[i])).second) listing->files.emplace_back(names[i]);
      }
    }
    Reorder(listing->files, answers_.fileOrder, Key(path));
    Reorder(listing->folders, answers_.folderOrder, Key(path));
  }
  return listing;
}

std::optional<platform::LocalTime> CapturedFileSystem::FileLastModified(const std::string& path) {
  NextQuestion();
  if (!Ours(path)) {
    const auto host = ImageHostPath(path);
    if (IsFile(host) && Recorded("nodate", path)) return std::nullopt;
    if (IsFile(host) || (!host && ListedFile(path))) {
      Require(IsFile(host) && Dated(path), "date of file " + path);
    } else if (!host) {
      Require(KnownAbsent("nofile", path), "file " + path);
    }
  }
  return ImageFileSystem::FileLastModified(path);
}

std::optional<platform::DriveSpace> CapturedFileSystem::DriveSpaceOf(const std::string& driveName) {
  const auto recorded = answers_.drives.find(ToUpper(driveName));
  if (recorded != answers_.drives.end()) return recorded->second;
  auto space = ImageFileSystem::DriveSpaceOf(driveName);
  Require(space.has_value(), "drive " + driveName);
  return space;
}

}  // namespace fernwick::image
