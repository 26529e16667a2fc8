#include "platform/image/image_file_system.h"

#include <algorithm>
#include <fstream>
#include <sstream>
#include <system_error>

#include "common/text.h"
#include "platform/image/windows_path.h"

namespace fernwick::image {
namespace fs = std::filesystem;

namespace {

// The entry of `dir` named `name` without regard to case (an exact match
// first, as Windows would find it).
std::optional<fs::path> FindEntry(const fs::path& dir, const std::string& name) {
  std::error_code ec;
  if (fs::exists(dir / name, ec)) return dir / name;
  for (fs::directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec)) {
    if (EqualsNoCase(it->path().filename().string(), name)) return it->path();
  }
  return std::nullopt;
}

std::optional<fs::path> Locate(const fs::path& drivesRoot, const WindowsPath& path) {
  auto current = FindEntry(drivesRoot, std::string(1, path.drive));
  for (const auto& component : path.components) {
    if (!current) return std::nullopt;
    current = FindEntry(*current, component);
  }
  return current;
}

}  // namespace

ImageFileSystem::ImageFileSystem(fs::path imageRoot, fs::path overlayRoot, std::string currentFolder)
    : imageRoot_(std::move(imageRoot)),
      overlayRoot_(std::move(overlayRoot)),
      currentFolder_(std::move(currentFolder)) {}

std::optional<fs::path> ImageFileSystem::HostPath(const std::string& windowsPath) const {
  const auto resolved = ResolveWindowsPath(windowsPath, currentFolder_);
  if (!resolved) return std::nullopt;
  if (auto found = Locate(overlayRoot_ / "drives", *resolved)) return found;
  if (removed_.count(ToUpper(resolved->Text())) > 0) return std::nullopt;
  return Locate(imageRoot_ / "drives", *resolved);
}

std::optional<fs::path> ImageFileSystem::OverlayPath(const std::string& windowsPath) const {
  const auto resolved = ResolveWindowsPath(windowsPath, currentFolder_);
  if (!resolved) return std::nullopt;
  fs::path out = overlayRoot_ / "drives" / std::string(1, resolved->drive);
  for (const auto& component : resolved->components) {
    // Keep the spelling of a folder the overlay already has.
    out = FindEntry(out, component).value_or(out / component);
  }
  return out;
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
  if (!resolved || resolved->components.empty() || FolderExists(path) || FileExists(path)) return false;
  WindowsPath parent = *resolved;
  parent.components.pop_back();
  if (!FolderExists(parent.Text())) return false;
  const auto target = OverlayPath(path);
  std::error_code ec;
  return target && fs::create_directories(*target, ec) && !ec;
}

std::vector<std::string> ImageFileSystem::SubFolderNames(const std::string& path) {
  std::vector<std::string> names;
  const auto resolved = ResolveWindowsPath(path, currentFolder_);
  if (!resolved) return names;
  for (const fs::path& root : {overlayRoot_ / "drives", imageRoot_ / "drives"}) {
    const auto dir = Locate(root, *resolved);
    if (!dir) continue;
    std::error_code ec;
    for (fs::directory_iterator it(*dir, ec), end; !ec && it != end; it.increment(ec)) {
      if (!it->is_directory(ec)) continue;
      const std::string name = it->path().filename().string();
      const bool known =
          std::any_of(names.begin(), names.end(), [&](const std::string& n) { return EqualsNoCase(n, name); });
      if (!known) names.push_back(name);
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

bool ImageFileSystem::WriteWholeFile(const std::string& path, std::string_view bytes) {
  const auto resolved = ResolveWindowsPath(path, currentFolder_);
  if (!resolved || resolved->components.empty() || FolderExists(path)) return false;
  WindowsPath parent = *resolved;
  parent.components.pop_back();
  if (!FolderExists(parent.Text())) return false;
  const auto target = OverlayPath(path);
  if (!target) return false;
  std::error_code ec;
  fs::create_directories(target->parent_path(), ec);
  std::ofstream out(*target, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  return static_cast<bool>(out);
}

bool ImageFileSystem::RemoveFile(const std::string& path) {
  const auto resolved = ResolveWindowsPath(path, currentFolder_);
  if (!resolved || !FileExists(path)) return false;
  std::error_code ec;
  if (const auto overlay = Locate(overlayRoot_ / "drives", *resolved)) {
    if (!fs::remove(*overlay, ec) || ec) return false;
  }
  if (Locate(imageRoot_ / "drives", *resolved)) removed_.insert(ToUpper(resolved->Text()));
  return true;
}

}  // namespace fernwick::image
