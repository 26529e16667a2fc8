#include "platform/image/image_file_system.h"

#include <algorithm>
#include <chrono>
#include <ctime>
#include <fstream>
#include <sstream>
#include <system_error>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/file.h>
#include <unistd.h>

#include "common/ansi_code_page.h"
#include "common/text.h"
#include "platform/image/windows_path.h"

namespace fernwick::image {
namespace fs = std::filesystem;

namespace {

// Adds `name` unless a name differing only in case is there already (the
// overlay's spelling wins, as it is listed first); `seen` holds the
// upper-cased names added.
void AddOnce(std::vector<std::string>& names, std::set<std::string>& seen, const std::string& name) {
  if (seen.insert(ToUpper(name)).second) names.push_back(name);
}

// NTFS lists a folder in case-insensitive name order.
void SortAsNtfs(std::vector<std::string>& names) {
  std::sort(names.begin(), names.end(), [](const std::string& a, const std::string& b) { return LessNoCase(a, b); });
}

}  // namespace

ImageFileSystem::ImageFileSystem(fs::path imageRoot, fs::path overlayRoot, std::string currentFolder,
                                 ImageFileFacts facts)
    : imageRoot_(std::move(imageRoot)),
      overlayRoot_(std::move(overlayRoot)),
      imageDrives_((imageRoot_ / "drives").native()),
      overlayDrives_((overlayRoot_ / "drives").native()),
      currentFolder_(std::move(currentFolder)),
      facts_(std::move(facts)) {}

namespace {

std::optional<fs::path> Locate(HostFolderIndex& folders, const std::string& drives, const WindowsPath& path) {
  auto found = folders.Locate(drives, path.drive, path.components);
  if (!found) return std::nullopt;
  return fs::path(std::move(*found));
}

}  // namespace

std::optional<fs::path> ImageFileSystem::LocateInImage(const WindowsPath& path) const {
  return Locate(imageFolders_, imageDrives_, path);
}

std::optional<fs::path> ImageFileSystem::LocateInOverlay(const WindowsPath& path) const {
  return Locate(overlayFolders_, overlayDrives_, path);
}

void ImageFileSystem::OverlayChanged(const fs::path& host) const {
  for (fs::path folder = host; folder.native().size() >= overlayRoot_.native().size(); folder = folder.parent_path()) {
    overlayFolders_.Forget(folder.native());
    if (folder == folder.parent_path()) break;
  }
}

std::optional<fs::path> ImageFileSystem::HostPath(const std::string& windowsPath) const {
  NextQuestion();
  const auto resolved = ResolveWindowsPath(windowsPath, currentFolder_);
  if (!resolved) return std::nullopt;
  if (auto found = LocateInOverlay(*resolved)) return found;
  if (!hidden_.empty() && hidden_.count(Key(windowsPath)) > 0) return std::nullopt;
  return LocateInImage(*resolved);
}

bool ImageFileSystem::FromProgram(const std::string& windowsPath) const {
  const auto resolved = ResolveWindowsPath(windowsPath, currentFolder_);
  if (!resolved) return false;
  WindowsPath prefix = *resolved;
  prefix.trailingSlash = false;
  for (;;) {
    if (!hidden_.empty() && hidden_.count(ToUpper(prefix.Text())) > 0) return true;
    if (LocateInImage(prefix)) return false;
    if (LocateInOverlay(prefix)) return true;
    if (prefix.components.empty()) return false;
    prefix.components.pop_back();
  }
}

std::optional<fs::path> ImageFileSystem::ImageHostPath(const std::string& windowsPath) const {
  const auto resolved = ResolveWindowsPath(windowsPath, currentFolder_);
  if (!resolved || (!hidden_.empty() && hidden_.count(Key(windowsPath)) > 0)) return std::nullopt;
  return LocateInImage(*resolved);
}

bool ImageFileSystem::Dated(const std::string& windowsPath) const {
  const auto resolved = ResolveWindowsPath(windowsPath, currentFolder_);
  return resolved && facts_.fileDates.count(ToUpper(resolved->Text())) > 0;
}

bool ImageFileSystem::RemovedChild(const WindowsPath& folder, const std::string& name) const {
  if (hidden_.empty()) return false;
  const std::string text = folder.Text();
  return hidden_.count(Key(text + (!text.empty() && text.back() == '\\' ? "" : "\\") + name)) > 0;
}

std::string ImageFileSystem::Key(const std::string& windowsPath) const {
  const auto resolved = ResolveWindowsPath(windowsPath, currentFolder_);
  if (!resolved) return {};
  WindowsPath plain = *resolved;
  plain.trailingSlash = false;
  return ToUpper(plain.Text());
}

void ImageFileSystem::Unhide(const std::string& windowsPath) {
  hidden_.erase(Key(windowsPath));
}

std::optional<fs::path> ImageFileSystem::OverlayPath(const std::string& windowsPath) const {
  const auto resolved = ResolveWindowsPath(windowsPath, currentFolder_);
  if (!resolved) return std::nullopt;
  std::string out = overlayDrives_ + '/' + resolved->drive;
  for (const auto& component : resolved->components) {
    // Keep the spelling of a folder the overlay already has; a new name is
    // UTF-8 on the host, as the image's own names are.
    out = overlayFolders_.Find(out, component).value_or(out + '/' + AnsiToUtf8(component));
  }
  return fs::path(std::move(out));
}

bool ImageFileSystem::FolderExists(const std::string& path) {
  std::error_code ec;
  const auto host = HostPath(path);
  return host && fs::is_directory(*host, ec);
}

bool ImageFileSystem::FileExists(const std::string& path) {
  std::error_code ec;
  const auto host = HostPath(path);
  return host && fs::is_regular_file(*host, ec);
}

bool ImageFileSystem::CreateFolder(const std::string& path) {
  const auto resolved = ResolveWindowsPath(path, currentFolder_);
  if (!resolved || resolved->components.empty() || ImageFileSystem::FolderExists(path) ||
      ImageFileSystem::FileExists(path))
    return false;
  WindowsPath parent = *resolved;
  parent.components.pop_back();
  if (!ImageFileSystem::FolderExists(parent.Text())) return false;
  const auto target = OverlayPath(path);
  std::error_code ec;
  Unhide(path);
  if (!target) return false;
  const bool made = fs::create_directories(*target, ec) && !ec;
  OverlayChanged(*target);
  return made;
}

std::vector<std::string> ImageFileSystem::SubFolderNames(const std::string& path) {
  NextQuestion();
  std::vector<std::string> names;
  std::set<std::string> seen;
  const auto resolved = ResolveWindowsPath(path, currentFolder_);
  if (!resolved) return names;
  for (const bool inImage : {false, true}) {
    const auto dir = inImage ? LocateInImage(*resolved) : LocateInOverlay(*resolved);
    if (!dir) continue;
    std::error_code ec;
    for (fs::directory_iterator it(*dir, ec), end; !ec && it != end; it.increment(ec)) {
      if (!it->is_directory(ec)) continue;
      const std::string name = WindowsNameOf(it->path());
      if (inImage && RemovedChild(*resolved, name)) continue;
      AddOnce(names, seen, name);
    }
  }
  // NTFS lists a folder in case-insensitive name order.
  std::sort(names.begin(), names.end(), [](const std::string& a, const std::string& b) { return LessNoCase(a, b); });
  return names;
}

std::optional<std::string> ImageFileSystem::FullPathName(const std::string& path) {
  const auto resolved = ResolveWindowsPath(path, currentFolder_);
  if (!resolved) return std::nullopt;
  return resolved->Text();
}

std::optional<std::string> ImageFileSystem::ReadWholeFile(const std::string& path) {
  const auto host = HostPath(path);
  std::error_code ec;
  if (!host || !fs::is_regular_file(*host, ec)) return std::nullopt;
  std::ifstream in(*host, std::ios::binary);
  if (!in) return std::nullopt;
  std::ostringstream content;
  content << in.rdbuf();
  return content.str();
}

std::optional<std::string> ImageFileSystem::ReadFilePart(const std::string& path, std::uint64_t offset,
                                                         std::size_t size) {
  const auto host = HostPath(path);
  std::error_code ec;
  if (!host || !fs::is_regular_file(*host, ec)) return std::nullopt;
  std::ifstream in(*host, std::ios::binary);
  if (!in) return std::nullopt;
  in.seekg(static_cast<std::streamoff>(offset));
  std::string piece(size, '\0');
  in.read(piece.data(), static_cast<std::streamsize>(size));
  piece.resize(static_cast<std::size_t>(in.gcount()));
  return piece;
}

bool ImageFileSystem::AppendToFile(const std::string& path, std::string_view bytes) {
  const auto host = HostPath(path);
  const auto target = OverlayPath(path);
  std::error_code ec;
  // Only a file the program wrote: one of the image itself is copied first.
  if (!host || !target || !fs::is_regular_file(*host, ec)) return false;
  if (*host != *target && !ImageFileSystem::WriteWholeFile(path, ImageFileSystem::ReadWholeFile(path).value_or(""))) {
    return false;
  }
  std::ofstream out(*target, std::ios::binary | std::ios::app);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  return static_cast<bool>(out);
}

bool ImageFileSystem::WriteWholeFile(const std::string& path, std::string_view bytes) {
  const auto resolved = ResolveWindowsPath(path, currentFolder_);
  if (!resolved || resolved->components.empty() || ImageFileSystem::FolderExists(path)) return false;
  WindowsPath parent = *resolved;
  parent.components.pop_back();
  if (!ImageFileSystem::FolderExists(parent.Text())) return false;
  const auto target = OverlayPath(path);
  if (!target) return false;
  std::error_code ec;
  fs::create_directories(target->parent_path(), ec);
  Unhide(path);
  std::ofstream out(*target, std::ios::binary | std::ios::trunc);
  OverlayChanged(*target);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  return static_cast<bool>(out);
}

std::optional<platform::FolderListing> ImageFileSystem::ListFolder(const std::string& path) {
  NextQuestion();
  const auto resolved = ResolveWindowsPath(path, currentFolder_);
  if (!resolved) return std::nullopt;
  platform::FolderListing listing;
  std::set<std::string> seenFiles, seenFolders;
  bool found = false;
  for (const bool inImage : {false, true}) {
    const auto dir = inImage ? LocateInImage(*resolved) : LocateInOverlay(*resolved);
    std::error_code ec;
    if (!dir || !fs::is_directory(*dir, ec)) continue;
    found = true;
    for (fs::directory_iterator it(*dir, ec), end; !ec && it != end; it.increment(ec)) {
      const std::string name = WindowsNameOf(it->path());
      if (inImage && RemovedChild(*resolved, name)) continue;
      if (it->is_directory(ec)) {
        AddOnce(listing.folders, seenFolders, name);
      } else if (name != ".keep") {  // the placeholder that keeps an empty folder in git
        AddOnce(listing.files, seenFiles, name);
      }
    }
  }
  if (!found) return std::nullopt;
  SortAsNtfs(listing.files);
  SortAsNtfs(listing.folders);
  return listing;
}

std::optional<platform::LocalTime> ImageFileSystem::FileLastModified(const std::string& path) {
  const auto resolved = ResolveWindowsPath(path, currentFolder_);
  const auto host = HostPath(path);
  std::error_code ec;
  if (!resolved || !host || !fs::is_regular_file(*host, ec)) return std::nullopt;
  const auto dated = facts_.fileDates.find(ToUpper(resolved->Text()));
  if (dated != facts_.fileDates.end()) return dated->second;
  const auto written = fs::last_write_time(*host, ec);
  if (ec) return std::nullopt;
  const std::time_t seconds = std::chrono::system_clock::to_time_t(std::chrono::file_clock::to_sys(written));
  std::tm local{};
  if (localtime_r(&seconds, &local) == nullptr) return std::nullopt;
  return platform::LocalTime{local.tm_year + 1900, local.tm_mon + 1, local.tm_mday,
                             local.tm_hour,        local.tm_min,     local.tm_sec};
}

std::optional<platform::DriveSpace> ImageFileSystem::DriveSpaceOf(const std::string& driveName) {
  if (driveName.size() != 2 || driveName[1] != ':') return std::nullopt;  // shares are out of the image's reach
  const auto drive = facts_.drives.find(AsciiUpper(driveName[0]));
  if (drive == facts_.drives.end()) return std::nullopt;
  return drive->second;
}

namespace {

constexpr std::uint32_t kFileNotFound = 2;
constexpr std::uint32_t kPathNotFound = 3;
constexpr std::uint32_t kAccessDenied = 5;
constexpr std::uint32_t kDirectoryNotEmpty = 145;

bool ReadOnly(const fs::path& host) {
  std::error_code ec;
  const auto status = fs::status(host, ec);
  return !ec && (status.permissions() & fs::perms::owner_write) == fs::perms::none;
}

// A folder whose only file is ".keep" stands for an empty one.
bool HasEntries(const std::optional<fs::path>& dir) {
  std::error_code ec;
  if (!dir || !fs::is_directory(*dir, ec)) return false;
  for (fs::directory_iterator it(*dir, ec), end; !ec && it != end; it.increment(ec)) {
    if (it->path().filename() != ".keep") return true;
  }
  return false;
}

}  // namespace

std::uint32_t ImageFileSystem::RemoveFile(const std::string& path, bool force) {
  const auto host = HostPath(path);
  std::error_code ec;
  if (!host || !fs::is_regular_file(*host, ec)) {
    const auto resolved = ResolveWindowsPath(path, currentFolder_);
    if (!resolved || resolved->components.empty()) return kPathNotFound;
    WindowsPath parent = *resolved;
    parent.components.pop_back();
    return ImageFileSystem::FolderExists(parent.Text()) ? kFileNotFound : kPathNotFound;
  }
  if (!force && ReadOnly(*host)) return kAccessDenied;
  const auto overlay = OverlayPath(path);
  if (overlay && fs::exists(*overlay, ec)) {
    fs::permissions(*overlay, fs::perms::owner_write, fs::perm_options::add, ec);
    const bool removed = fs::remove(*overlay, ec);
    OverlayChanged(*overlay);
    if (!removed) return kAccessDenied;
  }
  if (HostPath(path)) hidden_.insert(Key(path));
  return 0;
}

std::uint32_t ImageFileSystem::CopyFileTo(const std::string& from, const std::string& to) {
  const auto source = HostPath(from);
  std::error_code ec;
  if (!source || !fs::is_regular_file(*source, ec)) return kFileNotFound;
  const auto existing = HostPath(to);
  if (existing && (fs::is_directory(*existing, ec) || ReadOnly(*existing))) return kAccessDenied;
  const auto bytes = ImageFileSystem::ReadWholeFile(from);
  if (!bytes) return kAccessDenied;
  if (!ImageFileSystem::WriteWholeFile(to, *bytes)) return kPathNotFound;
  if (ReadOnly(*source)) {
    if (const auto target = OverlayPath(to))
      fs::permissions(*target, fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                      fs::perm_options::remove, ec);
  }
  return 0;
}

std::uint32_t ImageFileSystem::RemoveEmptyFolder(const std::string& path) {
  if (!ImageFileSystem::FolderExists(path)) return kFileNotFound;
  const auto resolved = ResolveWindowsPath(path, currentFolder_);
  if (!resolved || resolved->components.empty()) return kAccessDenied;
  const auto overlay = LocateInOverlay(*resolved);
  const bool imageHidden = hidden_.count(Key(path)) > 0;
  const auto original = imageHidden ? std::nullopt : LocateInImage(*resolved);
  if (HasEntries(overlay) || HasEntries(original)) return kDirectoryNotEmpty;
  std::error_code ec;
  if (overlay) {
    fs::remove(*overlay, ec);
    OverlayChanged(*overlay);
  }
  if (original) hidden_.insert(Key(path));
  return 0;
}

std::uint32_t ImageFileSystem::SetCurrentFolder(const std::string& path) {
  const auto resolved = ResolveWindowsPath(path, currentFolder_);
  if (!resolved || !ImageFileSystem::FolderExists(path)) return kPathNotFound;
  WindowsPath plain = *resolved;
  plain.trailingSlash = false;
  currentFolder_ = plain.Text();
  return 0;
}

ImageFileSystem::HeldFile::~HeldFile() {
  std::error_code ec;
  fs::remove(path, ec);
  close(descriptor);
}

std::optional<std::string> ImageFileSystem::FolderIdentity(const std::string& path) {
  const auto host = HostPath(path);
  struct stat info {};
  if (!host || stat(host->c_str(), &info) != 0 || !S_ISDIR(info.st_mode)) return std::nullopt;
  return std::to_string(info.st_dev) + ":" + std::to_string(info.st_ino);
}

std::uint32_t ImageFileSystem::HoldExclusive(const std::string& path) {
  const auto overlay = OverlayPath(path);
  if (!overlay) return kAccessDenied;
  // A read-only file of that name (a leftover, or one of the image) cannot
  // be opened for writing on Windows either.
  if (const auto host = HostPath(path); host && ReadOnly(*host)) return kAccessDenied;
  Unhide(path);
  std::error_code ec;
  fs::create_directories(overlay->parent_path(), ec);
  const int descriptor = open(overlay->c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
  OverlayChanged(*overlay);
  if (descriptor < 0) return errno == ENOENT || errno == ENOTDIR ? kPathNotFound : kAccessDenied;
  if (flock(descriptor, LOCK_EX | LOCK_NB) != 0) {
    close(descriptor);
    return kSharingViolation;
  }
  if (held_) {
    const fs::path released = held_->path;
    held_.reset();  // removes the file it held
    OverlayChanged(released);
  }
  held_ = std::make_unique<HeldFile>();
  held_->descriptor = descriptor;
  held_->path = *overlay;
  return 0;
}

}  // namespace fernwick::image
