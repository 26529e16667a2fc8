#include "platform/image/host_folder_index.h"

#include <system_error>

#include "common/ansi_code_page.h"
#include "common/text.h"

namespace fernwick::image {
namespace fs = std::filesystem;

std::string WindowsNameOf(const fs::path& host) {
  return Utf8ToAnsi(host.filename().string());
}

namespace {

// The entry of `dir` named `name` without regard to case, asked of the host.
std::optional<fs::path> FindOnHost(const fs::path& dir, const std::string& name) {
  std::error_code ec;
  if (fs::exists(dir / name, ec)) return dir / name;
  for (fs::directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec)) {
    if (EqualsNoCase(WindowsNameOf(it->path()), name)) return it->path();
  }
  return std::nullopt;
}

}  // namespace

const HostFolderIndex::Index& HostFolderIndex::Read(const std::string& folder,
                                                    std::optional<fs::file_time_type> written) {
  ++foldersRead_;
  Index index;
  std::error_code ec;
  fs::directory_iterator it(folder, ec);
  if (written) index.written = *written;
  index.looked = question_;
  for (fs::directory_iterator end; !ec && it != end; it.increment(ec)) {
    std::string host = it->path().filename().string();
    index.folded.emplace(ToUpper(WindowsNameOf(it->path())), host);
    index.exact.insert(std::move(host));
  }
  return folders_.insert_or_assign(folder, std::move(index)).first->second;
}

std::optional<std::string> HostFolderIndex::Find(const std::string& folder, const std::string& name) {
  if (name.empty() || name == "." || name == ".." || name.find('/') != std::string::npos) {
    const auto found = FindOnHost(folder, name);
    return found ? std::optional<std::string>(found->native()) : std::nullopt;
  }
  const auto find = [&](const Index& index) -> std::optional<std::string> {
    // An exact match first, as Windows would find it.
    if (index.exact.count(name) > 0) return folder + '/' + name;
    const auto folded = index.folded.find(ToUpper(name));
    if (folded == index.folded.end()) return std::nullopt;
    return folder + '/' + folded->second;
  };
  const auto known = folders_.find(folder);
  if (changes_ == Changes::kForgotten) return find(known != folders_.end() ? known->second : Read(folder, {}));
  std::error_code ec;
  if (known == folders_.end()) {
    const auto written = fs::last_write_time(folder, ec);
    if (ec) return std::nullopt;
    return find(Read(folder, written));
  }
  if (auto found = find(known->second)) return found;
  if (known->second.looked == question_) return std::nullopt;
  known->second.looked = question_;
  const auto written = fs::last_write_time(folder, ec);
  if (ec || written == known->second.written) return std::nullopt;
  return find(Read(folder, written));
}

}  // namespace fernwick::image
