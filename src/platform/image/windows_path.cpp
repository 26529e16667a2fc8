#include "platform/image/windows_path.h"

#include "common/text.h"

namespace fernwick::image {
namespace {

constexpr std::size_t kMaxPath = 260;

bool IsDriveLetter(char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

void Append(WindowsPath& out, const std::string& relative) {
  std::string part;
  auto flush = [&] {
    if (part == "..") {
      if (!out.components.empty()) out.components.pop_back();
    } else if (!part.empty() && part != ".") {
      out.components.push_back(part);
    }
    part.clear();
  };
  for (char c : relative) {
    if (c == '\\' || c == '/') {
      flush();
    } else {
      part.push_back(c);
    }
  }
  flush();
}

}  // namespace

std::string WindowsPath::Text() const {
  std::string text{drive, ':'};
  for (const auto& c : components) text += "\\" + c;
  if (components.empty() || trailingSlash) text += "\\";
  return text;
}

std::optional<WindowsPath> ResolveWindowsPath(const std::string& path, const std::string& currentFolder) {
  if (path.empty() || path.size() >= kMaxPath) return std::nullopt;
  if (path.size() >= 2 && (path[0] == '\\' || path[0] == '/') && (path[1] == '\\' || path[1] == '/')) {
    return std::nullopt;  // network paths have no place in an image
  }
  WindowsPath out;
  std::string rest;
  if (path.size() >= 2 && IsDriveLetter(path[0]) && path[1] == ':') {
    out.drive = AsciiUpper(path[0]);
    rest = path.substr(2);
  } else {
    const auto current = ResolveWindowsPath(currentFolder, "C:\\");
    if (!current) return std::nullopt;
    out.drive = current->drive;
    if (path[0] != '\\' && path[0] != '/') out.components = current->components;
    rest = path;
  }
  Append(out, rest);
  out.trailingSlash = !rest.empty() && (rest.back() == '\\' || rest.back() == '/');
  return out;
}

}  // namespace fernwick::image
