#include "frontend/native/comparison/image_folder_facts.h"

#include <fstream>
#include <iterator>
#include <string>

#include "common/ansi_code_page.h"

namespace fernwick::native {
namespace fs = std::filesystem;
using comparison::ImageFactKind;

namespace {

std::string Read(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// A registry export as ANSI text, whether it was written as ANSI or UTF-16.
std::string RegistryText(const fs::path& file) {
  const std::string bytes = Read(file);
  if (bytes.starts_with("\xFF\xFE")) return Utf16LeBytesToAnsi(std::string_view(bytes).substr(2));
  return bytes;
}

// "C:\Program Files\x" of drives/C/Program Files/x.
std::string WindowsPath(const fs::path& drives, const fs::path& file) {
  std::string path;
  for (const auto& part : fs::relative(file, drives)) {
    if (path.empty()) {
      path = part.string();
      path += ':';
    } else {
      path += '\\';
      path += part.string();
    }
  }
  return path;
}

void ReadDrives(const fs::path& drives, comparison::ImageFacts& facts) {
  std::error_code ec;
  for (fs::recursive_directory_iterator it(drives, ec), end; !ec && it != end; it.increment(ec)) {
    if (!it->is_regular_file(ec) || it->path().filename() == ".keep") continue;
    facts.Add(ImageFactKind::File, WindowsPath(drives, it->path()), "");
  }
}

void ReadFolder(const fs::path& folder, ImageFactKind kind, comparison::ImageFacts& facts) {
  std::error_code ec;
  for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
    if (!it->is_regular_file(ec)) continue;
    if (kind == ImageFactKind::RegistryValue) {
      comparison::ReadRegistryExport(RegistryText(it->path()), facts);
    } else {
      facts.Add(kind, it->path().filename().string(), Read(it->path()));
    }
  }
}

}  // namespace

comparison::ImageFacts ReadImageFacts(const fs::path& image) {
  comparison::ImageFacts facts;
  ReadFolder(image / "registry", ImageFactKind::RegistryValue, facts);
  ReadDrives(image / "drives", facts);
  comparison::ReadRecordedAnswers(Read(image / "answers.txt"), facts);
  comparison::ReadVersionStatements(Read(image / "versions.txt"), facts);
  comparison::ReadFileDates(Read(image / "image.ini"), facts);
  ReadFolder(image / "programs", ImageFactKind::ProgramOutput, facts);
  return facts;
}

}  // namespace fernwick::native
