#include "cabmaker/gcab/gcab_writer.h"

#include <libgcab.h>

#include <memory>

#include "cabmaker/gcab/glib_owners.h"

namespace fernwick::cabmaker {

std::string WriteCabinetWithGcab(const CabinetPlan& plan, const std::string& cabinetPath,
                                 const std::function<std::string(const std::string&)>& hostPath,
                                 std::string& failedSource) {
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
  GObjectPtr<GCabCabinet> cabinet(gcab_cabinet_new());
  const gint compression = plan.compress ? GCAB_COMPRESSION_MSZIP : GCAB_COMPRESSION_NONE;
  GObjectPtr<GCabFolder> folder(gcab_folder_new(compression));
  for (const auto& planned : plan.folders) {
    for (const auto& file : planned) {
      GObjectPtr<GFile> source(g_file_new_for_path(hostPath(file.source).c_str()));
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
  GObjectPtr<GFileOutputStream> stream(
      g_file_replace(target.get(), nullptr, FALSE, G_FILE_CREATE_REPLACE_DESTINATION, nullptr, &error));
  if (!stream) return Why(error);
  if (!gcab_cabinet_write_simple(cabinet.get(), G_OUTPUT_STREAM(stream.get()), nullptr, nullptr, nullptr, &error)) {
    return Why(error);
  }
  if (!g_output_stream_close(G_OUTPUT_STREAM(stream.get()), nullptr, &error)) return Why(error);
  return {};
}

}  // namespace fernwick::cabmaker
