#include "platform/image/captured_file_system.h"

#include <algorithm>

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

// Names in the order a listing was recorded in; names it did not have
// (the program's own files) follow in their own order.
void Reorder(std::vector<std::string>& names, const std::map<std::string, std::vector<std::string>>& orders,
             const std::string& key) {
  const auto order = orders.find(key);
  if (order == orders.end()) return;
  const auto rank = [&](const std::string& name) {
    for (std::size_t i = 0; i < order->second.size(); ++i) {
      if (EqualsNoCase(order->second[i], name)) return i;
    }
    return order->second.size();
  };
  std::stable_sort(names.begin(), names.end(),
                   [&](const std::string& a, const std::string& b) { return rank(a) < rank(b); });
}

}  // namespace

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

void CapturedFileSystem::Require(bool known, const std::string& question) const {
  if (!known && strict_) throw NotCaptured(question);
}

bool CapturedFileSystem::FolderExists(const std::string& path) {
  const bool answer = ImageFileSystem::FolderExists(path);
  if (answer || Ours(path) || ImageHostPath(path)) return answer;
  Require(KnownAbsent("nofolder", path), "folder " + path);
  return answer;
}

bool CapturedFileSystem::FileExists(const std::string& path) {
  const bool answer = ImageFileSystem::FileExists(path);
  if (answer || Ours(path) || ImageHostPath(path)) return answer;
  Require(KnownAbsent("nofile", path), "file " + path);
  return answer;
}

std::vector<std::string> CapturedFileSystem::SubFolderNames(const std::string& path) {
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
  if (!Ours(path)) {
    const auto host = ImageHostPath(path);
    if (IsFile(host) && Recorded("unreadable", path)) return std::nullopt;
    if (IsFile(host)) {
      Require(Recorded("content", path), "contents of file " + path);
    } else if (!host) {
      Require(KnownAbsent("nofile", path), "file " + path);
    }
  }
  return ImageFileSystem::ReadWholeFile(path);
}

std::optional<platform::FolderListing> CapturedFileSystem::ListFolder(const std::string& path) {
  if (!Ours(path)) {
    if (IsFolder(ImageHostPath(path))) {
      Require(Recorded("listed", path), "listing of folder " + path);
    } else {
      Require(KnownAbsent("nofolder", path), "folder " + path);
    }
  }
  auto listing = ImageFileSystem::ListFolder(path);
  if (listing) {
    Reorder(listing->files, answers_.fileOrder, Key(path));
    Reorder(listing->folders, answers_.folderOrder, Key(path));
  }
  return listing;
}

std::optional<platform::LocalTime> CapturedFileSystem::FileLastModified(const std::string& path) {
  if (!Ours(path)) {
    const auto host = ImageHostPath(path);
    if (IsFile(host) && Recorded("nodate", path)) return std::nullopt;
    if (IsFile(host)) {
      Require(Dated(path), "date of file " + path);
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
