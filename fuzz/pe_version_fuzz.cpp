// The PE version reader: a file of the image read for its version resource.
// Beyond "no crash": no exception escapes (damaged files have no version
// information, as for version.dll); the size is 0 exactly when loading the
// block fails; a loaded block answers its queries without trouble.
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "fuzz/fuzz_check.h"
#include "platform/image/image_version_resources.h"

namespace {

// The file the input is written to, removed when the run ends.
struct InputFile {
  std::filesystem::path path =
      std::filesystem::temp_directory_path() / ("pe_version_fuzz_" + std::to_string(getpid()) + ".dll");
  ~InputFile() {
    std::error_code ignored;
    std::filesystem::remove(path, ignored);
  }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace fernwick;
  using fuzz::Check;
  static const InputFile input;
  static const std::filesystem::path& file = input.path;
  {
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
  }
  image::ImageVersionResources resources([](const std::string& path) -> std::optional<std::filesystem::path> {
    if (path == "C:\\x.dll") return file;
    return std::nullopt;
  });
  const std::uint32_t infoSize = resources.InfoSize("C:\\x.dll");
  const auto block = resources.Load("C:\\x.dll");
  Check((infoSize != 0) == (block != nullptr), "the size is 0 exactly when loading fails");
  Check(resources.InfoSize("C:\\missing.dll") == 0, "a missing file has no version");
  if (block) {
    (void)block->Fixed();
    for (std::uint32_t t : block->Translations()) (void)resources.LanguageName(t & 0xFFFFu);
    (void)block->StringValue("\\StringFileInfo\\040904B0\\FileVersion");
  }
  return 0;
}
