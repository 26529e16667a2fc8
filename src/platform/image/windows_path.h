#pragma once
// Windows path arithmetic for the image platform, done the way
// GetFullPathNameA does it.
#include <optional>
#include <string>
#include <vector>

namespace fernwick::image {

struct WindowsPath {
  char drive = 0;                       // upper-case letter
  std::vector<std::string> components;  // without "." and ".."
  bool trailingSlash = false;

  std::string Text() const;
};

// Resolves `path` against `currentFolder` (itself absolute, "C:\..."); UNC
// paths and paths of more than 259 characters are not resolved.
std::optional<WindowsPath> ResolveWindowsPath(const std::string& path, const std::string& currentFolder);

}  // namespace fernwick::image
