#include "cabmaker/gcab/gcab_writer.h"

#include <libgcab.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>
#include <vector>

#include "cabmaker/gcab/glib_owners.h"

namespace fernwick::cabmaker {
namespace {

namespace fs = std::filesystem;

struct FileClose {
  void operator()(std::FILE* file) const { std::fclose(file); }
};
using FilePtr = std::unique_ptr<std::FILE, FileClose>;

// The snapshots of one cabinet, removed with it.
class Snapshots {
 public:
  explicit Snapshots(std::string prefix) : prefix_(std::move(prefix)) {}
  Snapshots(const Snapshots&) = delete;
  Snapshots& operator=(const Snapshots&) = delete;
  ~Snapshots() {
    for (const auto& path : paths_) {
      std::error_code ec;
      fs::remove(path, ec);
    }
  }
  std::string Next() {
    paths_.push_back(prefix_ + std::to_string(paths_.size() + 1));
    return paths_.back();
  }

 private:
  std::string prefix_;
  std::vector<std::string> paths_;
};

// Copies the first `size` bytes of `source` to `snapshot`, with the
// source's time. Empty when it worked; `sourceFailed` tells whether the
// source was the cause; `grew` whether it holds more than `size` bytes.
std::string TakeSnapshot(const std::string& source, std::uint64_t size, const std::string& snapshot, bool& sourceFailed,
                         bool& grew) {
  sourceFailed = true;
  const FilePtr in(std::fopen(source.c_str(), "rb"));
  if (!in) return std::strerror(errno);
  sourceFailed = false;
  const FilePtr out(std::fopen(snapshot.c_str(), "wb"));
  if (!out) return "cannot create the temporary file \"" + snapshot + "\": " + std::strerror(errno);
  std::vector<char> buffer(64 * 1024);
  std::uint64_t copied = 0;
  while (copied < size) {
    const std::size_t want = static_cast<std::size_t>(std::min<std::uint64_t>(buffer.size(), size - copied));
    const std::size_t got = std::fread(buffer.data(), 1, want, in.get());
    if (got > 0 && std::fwrite(buffer.data(), 1, got, out.get()) != got) {
      return "cannot write the temporary file \"" + snapshot + "\": " + std::strerror(errno);
    }
    copied += got;
    if (got < want) {
      sourceFailed = true;
      if (std::ferror(in.get()) != 0) return std::strerror(errno);
      return "it became shorter while it was packed (" + std::to_string(copied) + " of the " + std::to_string(size) +
             " bytes measured)";
    }
  }
  grew = std::fgetc(in.get()) != EOF;
  if (std::fflush(out.get()) != 0) {
    return "cannot write the temporary file \"" + snapshot + "\": " + std::strerror(errno);
  }
  std::error_code ec;
  const auto time = fs::last_write_time(source, ec);
  if (!ec) fs::last_write_time(snapshot, time, ec);
  return {};
}

}  // namespace

std::string WriteCabinetWithGcab(const CabinetPlan& plan, const std::string& cabinetPath,
                                 const std::function<std::string(const std::string&)>& hostPath,
                                 std::string& failedSource, const std::function<void(const std::string&)>& note) {
  // libgcab writes one folder per cabinet: the planned folders are joined,
  // which changes only where compression restarts, as long as they fit.
  std::uint64_t total = 0;
  for (const auto& planned : plan.folders) {
    for (const auto& file : planned) total += file.size;
  }
  if (total > kFolderLimit) {
    return "the files hold " + std::to_string(total) + " bytes, more than the " + std::to_string(kFolderLimit) +
           " bytes of the one folder this writer makes";
  }
  // libgcab would write the count's low 16 bits.
  if (const std::uint64_t files = FileCount(plan); files > kFileLimit) {
    return std::to_string(files) + " files, more than the " + std::to_string(kFileLimit) + " a cabinet can hold";
  }
  Snapshots snapshots(cabinetPath);
  GObjectPtr<GCabCabinet> cabinet(gcab_cabinet_new());
  const gint compression = plan.compress ? GCAB_COMPRESSION_MSZIP : GCAB_COMPRESSION_NONE;
  GObjectPtr<GCabFolder> folder(gcab_folder_new(compression));
  for (const auto& planned : plan.folders) {
    for (const auto& file : planned) {
      const std::string snapshot = snapshots.Next();
      bool sourceFailed = false;
      bool grew = false;
      if (std::string why = TakeSnapshot(hostPath(file.source), file.size, snapshot, sourceFailed, grew);
          !why.empty()) {
        if (sourceFailed) failedSource = file.source;
        return why;
      }
      if (grew && note) {
        note("cabmaker: \"" + file.source + "\" grew while it was packed: its first " + std::to_string(file.size) +
             " bytes, as measured, are packed");
      }
      GObjectPtr<GFile> source(g_file_new_for_path(snapshot.c_str()));
      GObjectPtr<GCabFile> entry(gcab_file_new_with_file(file.destination.c_str(), source.get()));
      GError* error = nullptr;
      if (!gcab_folder_add_file(folder.get(), entry.get(), FALSE, nullptr, &error)) {
        failedSource = file.source;
        return Why(error);
      }
    }
  }
  if (GError* error = nullptr; !gcab_cabinet_add_folder(cabinet.get(), folder.get(), &error)) return Why(error);
  GObjectPtr<GFile> target(g_file_new_for_path(cabinetPath.c_str()));
  GError* error = nullptr;
  // G_FILE_CREATE_NONE: written in place, not through a temporary file of
  // GLib's own beside it.
  GObjectPtr<GFileOutputStream> stream(
      g_file_replace(target.get(), nullptr, FALSE, G_FILE_CREATE_NONE, nullptr, &error));
  if (!stream) return Why(error);
  if (!gcab_cabinet_write_simple(cabinet.get(), G_OUTPUT_STREAM(stream.get()), nullptr, nullptr, nullptr, &error)) {
    return Why(error);
  }
  if (!g_output_stream_close(G_OUTPUT_STREAM(stream.get()), nullptr, &error)) return Why(error);
  return {};
}

}  // namespace fernwick::cabmaker
