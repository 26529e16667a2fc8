#include "frontend/native/cabinet_image/cabinet_image.h"

#include <sys/resource.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <new>
#include <string>
#include <vector>

#include "common/ansi_code_page.h"
#include "common/text.h"
#include "frontend/native/cabinet_image/cabinet_files.h"
#include "packaging/capture_step.h"
#include "platform/image/ini_file.h"
#include "platform/recording/capture_texts.h"

namespace fernwick::native {
namespace fs = std::filesystem;

namespace {

void Unpack(const fs::path& cabinet, const fs::path& folder) {
  const std::string inner = packaging::kImageCabinetName;
  auto outer = ReadCabinetFile(
      cabinet, [&](const std::string& name) { return EqualsNoCase(name, inner); }, kImageReadLimit);
  if (!outer.error.empty()) throw CabinetImageError(outer.error);
  if (outer.files.empty()) {
    throw CabinetImageError("it holds no " + inner + " (made with the switch \"nocapture\", or the capture failed)");
  }
  UnpackImageCabinet(outer.files.front().bytes, folder);
}

}  // namespace

fs::path MakePrivateFolder(std::string_view prefix) {
  std::string pattern = (fs::temp_directory_path() / (std::string(prefix) + "-XXXXXX")).string();
  if (::mkdtemp(pattern.data()) == nullptr) throw CabinetImageError("cannot make a temporary folder");
  return pattern;
}

void LimitMemoryForCustomerCab(std::uint64_t bytes) {
#if defined(__SANITIZE_ADDRESS__)
  (void)bytes;
#else
  const rlimit memory{static_cast<rlim_t>(bytes), static_cast<rlim_t>(bytes)};
  setrlimit(RLIMIT_AS, &memory);
#endif
}

int InPrivateFolder(std::string_view prefix, std::string_view flag, int failureCode,
                    const std::function<int(const fs::path&)>& work) {
  const std::string command(flag);
  try {
    const fs::path scratch = MakePrivateFolder(prefix);
    const RemovalOnExit removal(scratch);
    const int code = work(scratch);
    std::error_code ec;
    fs::remove_all(scratch, ec);
    return code;
  } catch (const std::bad_alloc&) {
    std::fprintf(stderr, "fernwick: %s: out of memory\n", command.c_str());
  } catch (const std::exception& e) {
    std::fprintf(stderr, "fernwick: %s: %s\n", command.c_str(), e.what());
  }
  return failureCode;
}

void UnpackImageCabinet(std::string_view imageCabinet, const fs::path& folder) {
  const std::string inner = packaging::kImageCabinetName;
  const auto image = ReadCabinetBytes(
      imageCabinet, [](const std::string&) { return true; }, kImageReadLimit);
  if (!image.error.empty()) throw CabinetImageError(inner + ": " + image.error);
  for (const auto& file : image.files) {
    const auto relative = ImageEntryPath(file.name, file.utf8Name);
    if (!relative) throw CabinetImageError(inner + ": the name \"" + file.name + "\" lies outside the image");
    const fs::path target = folder / *relative;
    const auto hold = HoldRemoval();
    fs::create_directories(target.parent_path());
    std::ofstream out(target, std::ios::binary);
    out.write(file.bytes.data(), static_cast<std::streamsize>(file.bytes.size()));
    if (!out) throw CabinetImageError("cannot write " + target.string());
  }
  std::ifstream facts(folder / "image.ini", std::ios::binary);
  std::string text((std::istreambuf_iterator<char>(facts)), std::istreambuf_iterator<char>());
  if (!facts || !image::IniFile::Parse(text).Get("capture", recording::kCaptureMarkKey)) {
    throw CabinetImageError(inner + ": its image is no capture (image.ini has no [capture] section)");
  }
}

std::optional<fs::path> ImageEntryPath(std::string_view name, bool utf8Name) {
  const std::string hostName = utf8Name ? std::string(name) : AnsiToUtf8(name);
  fs::path path;
  std::size_t start = 0;
  while (true) {
    const std::size_t end = hostName.find_first_of("\\/", start);
    const std::string part = hostName.substr(start, end == std::string::npos ? std::string::npos : end - start);
    if (part.empty() || part == "." || part == ".." || part.find(':') != std::string::npos) return std::nullopt;
    path /= part;
    if (end == std::string::npos) return path;
    start = end + 1;
  }
}

CabinetImage::CabinetImage(const fs::path& cabinet) : removal_([] { return MakePrivateFolder("fernwick-cab"); }) {
  try {
    Unpack(cabinet, Folder());
  } catch (...) {
    std::error_code ec;
    fs::remove_all(Folder(), ec);
    throw;
  }
}

CabinetImage::~CabinetImage() {
  std::error_code ec;
  fs::remove_all(Folder(), ec);
}

}  // namespace fernwick::native
