// cabmaker on Linux: the same directive files, paths with "\" or "/",
// the cabinet written with libgcab.
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <vector>

#include "cabmaker/cabmaker_run.h"
#include "cabmaker/gcab/gcab_writer.h"

namespace {

namespace fs = std::filesystem;

std::string HostPath(std::string path) {
  for (char& c : path) {
    if (c == '\\') c = '/';
  }
  return path;
}

class NativeHost : public fernwick::cabmaker::CabinetHost {
 public:
  std::optional<std::string> ReadWholeFile(const std::string& path) override {
    std::ifstream in(HostPath(path), std::ios::binary);
    if (!in) return std::nullopt;
    std::ostringstream content;
    content << in.rdbuf();
    return content.str();
  }
  std::optional<std::uint64_t> ReadableSize(const std::string& path, std::string& reason) override {
    const std::string host = HostPath(path);
    std::error_code ec;
    if (fs::is_directory(host, ec)) {
      reason = "it is a folder";
      return std::nullopt;
    }
    std::FILE* file = std::fopen(host.c_str(), "rb");
    if (file == nullptr) {
      reason = std::strerror(errno);
      return std::nullopt;
    }
    std::fclose(file);
    const auto size = fs::file_size(host, ec);
    if (ec) {
      reason = ec.message();
      return std::nullopt;
    }
    return size;
  }
  bool FolderExists(const std::string& path) override {
    std::error_code ec;
    return fs::is_directory(HostPath(path), ec);
  }
  bool CreateFolder(const std::string& path) override {
    std::error_code ec;
    return fs::create_directory(HostPath(path), ec);
  }
  bool WriteWholeFile(const std::string& path, const std::string& bytes) override {
    std::ofstream out(HostPath(path), std::ios::binary | std::ios::trunc);
    out << bytes;
    return static_cast<bool>(out);
  }
  void RemoveFile(const std::string& path) override {
    std::error_code ec;
    fs::remove(HostPath(path), ec);
  }
  std::string WriteCabinet(const fernwick::cabmaker::CabinetPlan& plan, const std::string& path,
                           std::string& failedSource) override {
    return fernwick::cabmaker::WriteCabinetWithGcab(plan, HostPath(path), HostPath, failedSource,
                                                    [this](const std::string& line) { Error(line); });
  }
  bool ReplaceFile(const std::string& from, const std::string& to, std::string& reason) override {
    std::error_code ec;
    fs::rename(HostPath(from), HostPath(to), ec);
    if (ec) reason = ec.message();
    return !ec;
  }
  void RemoveFilesStartingWith(const std::string& prefix) override {
    const fs::path start(HostPath(prefix));
    const std::string name = start.filename().string();
    const fs::path folder = start.has_parent_path() ? start.parent_path() : fs::path(".");
    std::error_code ec;
    std::vector<fs::path> stale;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
      if (it->path().filename().string().starts_with(name) && !it->is_directory(ec)) stale.push_back(it->path());
    }
    for (const auto& path : stale) fs::remove(path, ec);
  }
  std::optional<std::uint64_t> FileSize(const std::string& path) override {
    std::error_code ec;
    const auto size = fs::file_size(HostPath(path), ec);
    return ec ? std::nullopt : std::optional<std::uint64_t>(size);
  }
  void Error(const std::string& line) override { std::fprintf(stderr, "%s\n", line.c_str()); }
};

}  // namespace

int main(int argc, char** argv) {
  NativeHost host;
  return fernwick::cabmaker::RunCabmaker(std::vector<std::string>(argv + 1, argv + argc), host);
}
