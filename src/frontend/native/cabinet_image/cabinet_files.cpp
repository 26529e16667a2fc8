#include "frontend/native/cabinet_image/cabinet_files.h"

#include <libgcab.h>

#include <memory>

#include "cabmaker/gcab/glib_owners.h"

namespace fernwick::native {
namespace {

using cabmaker::GObjectPtr;
using cabmaker::Why;

struct ListFree {
  void operator()(GSList* list) const { g_slist_free(list); }
};

// Calls visit(file) for each file of the cabinet, in its order.
template <typename Visit>
void ForEachFile(GCabCabinet* cabinet, Visit&& visit) {
  GPtrArray* folders = gcab_cabinet_get_folders(cabinet);
  for (guint i = 0; i < folders->len; ++i) {
    const std::unique_ptr<GSList, ListFree> files(gcab_folder_get_files(GCAB_FOLDER(g_ptr_array_index(folders, i))));
    for (GSList* item = files.get(); item != nullptr; item = item->next) visit(GCAB_FILE(item->data));
  }
}

struct Extraction {
  const WantedFile* wanted;
};

gboolean Wanted(GCabFile* file, gpointer extraction) {
  return (*static_cast<Extraction*>(extraction)->wanted)(gcab_file_get_name(file)) ? TRUE : FALSE;
}

CabinetFiles Read(GInputStream* stream, const WantedFile& wanted, std::uint64_t limit) {
  CabinetFiles result;
  GObjectPtr<GCabCabinet> cabinet(gcab_cabinet_new());
  if (GError* error = nullptr; !gcab_cabinet_load(cabinet.get(), stream, nullptr, &error)) {
    result.error = "not a readable cabinet: " + Why(error);
    return result;
  }
  std::uint64_t wantedBytes = 0;
  ForEachFile(cabinet.get(), [&](GCabFile* file) {
    if (wanted(gcab_file_get_name(file))) wantedBytes += gcab_file_get_size(file);
  });
  if (wantedBytes > limit) {
    result.error =
        "the files to read hold " + std::to_string(wantedBytes) + " bytes, more than " + std::to_string(limit);
    return result;
  }
  // No folder given: libgcab keeps each extracted file's bytes in memory.
  Extraction extraction{&wanted};
  if (GError* error = nullptr;
      !gcab_cabinet_extract(cabinet.get(), nullptr, Wanted, nullptr, &extraction, nullptr, &error)) {
    result.error = "cannot unpack the cabinet: " + Why(error);
    return result;
  }
  ForEachFile(cabinet.get(), [&](GCabFile* file) {
    const std::string name = gcab_file_get_name(file);
    if (!wanted(name)) return;
    GBytes* bytes = gcab_file_get_bytes(file);
    gsize size = 0;
    const auto* data = bytes != nullptr ? static_cast<const char*>(g_bytes_get_data(bytes, &size)) : nullptr;
    result.files.push_back({name, (gcab_file_get_attributes(file) & GCAB_FILE_ATTRIBUTE_NAME_IS_UTF) != 0,
                            data != nullptr ? std::string(data, size) : std::string()});
  });
  return result;
}

}  // namespace

CabinetFiles ReadCabinetBytes(std::string_view cabinet, const WantedFile& wanted, std::uint64_t limit) {
  GObjectPtr<GInputStream> stream(
      g_memory_input_stream_new_from_data(cabinet.data(), static_cast<gssize>(cabinet.size()), nullptr));
  return Read(stream.get(), wanted, limit);
}

CabinetFiles ReadCabinetFile(const std::filesystem::path& cabinet, const WantedFile& wanted, std::uint64_t limit) {
  GObjectPtr<GFile> file(g_file_new_for_path(cabinet.c_str()));
  GError* error = nullptr;
  GObjectPtr<GFileInputStream> stream(g_file_read(file.get(), nullptr, &error));
  if (!stream) return {{}, "cannot open it: " + Why(error)};
  return Read(G_INPUT_STREAM(stream.get()), wanted, limit);
}

}  // namespace fernwick::native
