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
    const std::string windows = WindowsNameOf(it->path());
    if (!index.folded.emplace(ToUpper(windows), host).second || windows != host) {
      index.unfolded.insert(std::move(host));
    }
  }
  const auto [place, added] = folders_.insert_or_assign(folder, std::move(index));
  if (!added) walk_ = {};
  return place->second;
}

bool HostFolderIndex::PlainName(const std::string& name) {
  return !name.empty() && name != "." && name != ".." && name.find('/') == std::string::npos;
}

void HostFolderIndex::Forget(const std::string& folder) {
  if (folders_.erase(folder) > 0) walk_ = {};
}

std::optional<std::string> HostFolderIndex::Locate(const std::string& root, char drive,
                                                   const std::vector<std::string>& names) {
  // Steps taken again from the last walk: the drive's, then one per name
  // while the names agree.
  std::size_t step = 0;
  if (!walk_.hosts.empty() && walk_.root == root && walk_.names[0].size() == 1 && walk_.names[0][0] == drive) {
    step = 1;
    while (step < walk_.hosts.size() && step - 1 < names.size() && walk_.names[step] == names[step - 1]) ++step;
  } else {
    walk_ = {root, {}, {}};
  }
  walk_.names.resize(step);
  walk_.hosts.resize(step);
  if (step == 0) {
    auto found = Find(root, std::string(1, drive));
    if (!found) return std::nullopt;
    walk_.names.emplace_back(1, drive);
    walk_.hosts.push_back(std::move(*found));
    step = 1;
  }
  std::string current = walk_.hosts.back();
  for (std::size_t i = step - 1; i < names.size(); ++i) {
    auto found = Find(current, names[i]);
    if (!found) return std::nullopt;
    current = std::move(*found);
    // A name looked up on the host is no step to take again.
    if (walk_.hosts.size() == i + 1 && PlainName(names[i])) {
      walk_.names.push_back(names[i]);
      walk_.hosts.push_back(current);
    }
  }
  return current;
}

std::optional<std::string> HostFolderIndex::Find(const std::string& folder, const std::string& name) {
  if (!PlainName(name)) {
    const auto found = FindOnHost(folder, name);
    return found ? std::optional<std::string>(found->native()) : std::nullopt;
  }
  const auto find = [&](const Index& index) -> std::optional<std::string> {
    // An exact match first, as Windows would find it.
    if (!index.unfolded.empty() && index.unfolded.count(name) > 0) return folder + '/' + name;
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
