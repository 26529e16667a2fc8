#include "platform/image/image_programs.h"

#include <fstream>
#include <sstream>

namespace fernwick::image {
namespace fs = std::filesystem;

namespace {

// Writes the command's captured output to `capture`, as the batch file's
// redirection does.
ImageProcessControl::Program Capture(ImageFileSystem& files, fs::path output, std::string capture) {
  return [&files, output = std::move(output), capture = std::move(capture)](const std::string&) {
    std::error_code ec;
    if (!fs::is_regular_file(output, ec)) return std::uint32_t{0};
    std::ifstream in(output, std::ios::binary);
    std::ostringstream content;
    content << in.rdbuf();
    files.WriteWholeFile(capture, content.str());
    return std::uint32_t{0};
  };
}

}  // namespace

void AddGatheringPrograms(ImageProcessControl& process, ImageFileSystem& files, const fs::path& imageRoot) {
  process.AddProgram("si", Capture(files, imageRoot / "programs" / "systeminfo.txt", "c:\\si.txt"));
  process.AddProgram("ipconfigdump", Capture(files, imageRoot / "programs" / "ipconfig.txt", "c:\\tempipoutput.txt"));
}

}  // namespace fernwick::image
