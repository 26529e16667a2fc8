// Fuzzes the reading of a cabinet's server image (`fernwick --from-cab`):
// libgcab over the bytes, then the placing of each stored name below the
// image folder. Beyond "no crash": a cabinet is either read or refused with
// a reason, never more than the limit is read, and every name that is
// placed stays below the image folder (relative, no "." or ".." part).
#include <cstddef>
#include <cstdint>

#include "frontend/native/cabinet_image/cabinet_files.h"
#include "frontend/native/cabinet_image/cabinet_image.h"
#include "fuzz/fuzz_check.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace fernwick;
  constexpr std::uint64_t kLimit = 1 << 20;
  // What a cabinet unpacks to may be far larger than the cabinet: the limit
  // on what is read bounds it.
  fuzz::HoldsAtMost(size, fuzz::kFileReaderMultiple, 2 * kLimit + fuzz::kFileReaderConstant, [&] {
    (void)native::ReadCabinetBytes(
        fuzz::AsText(data, size), [](const std::string&) { return true; }, kLimit);
  });
  const auto read = native::ReadCabinetBytes(
      fuzz::AsText(data, size), [](const std::string&) { return true; }, kLimit);
  fuzz::Check(read.error.empty() || read.files.empty(), "a refused cabinet gives no files");
  std::uint64_t total = 0;
  for (const auto& file : read.files) {
    total += file.bytes.size();
    const auto path = native::ImageEntryPath(file.name, file.utf8Name);
    if (!path) continue;
    fuzz::Check(path->is_relative() && !path->empty(), "a placed name is relative");
    for (const auto& part : *path)
      fuzz::Check(part != ".." && part != "." && !part.empty(), "a placed name stays inside");
  }
  fuzz::Check(total <= kLimit, "no more than the limit is read");
  return 0;
}
