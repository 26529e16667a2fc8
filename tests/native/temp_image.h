#pragma once
// A server image made on the fly in a temporary folder, for tests that need
// the whole image platform.
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <unistd.h>

#include "frontend/native/packaging_programs/packaging_programs.h"
#include "platform/image/server_image.h"

namespace fernwick::testing {

class TempImage {
 public:
  TempImage() {
    root_ = std::filesystem::temp_directory_path() /
            ("fernwick-test-" + std::to_string(::getpid()) + "-" + std::to_string(counter_++));
    std::filesystem::remove_all(root_);
    std::filesystem::create_directories(root_ / "image" / "registry");
    std::filesystem::create_directories(root_ / "image" / "drives" / "C");
    Write("image.ini", "[clock]\nNow=2026-12-07 09:05:03\n[program]\nInstallFolder=C:\\Program Files\\Fernwick\n");
  }
  ~TempImage() { std::filesystem::remove_all(root_); }
  TempImage(const TempImage&) = delete;
  TempImage& operator=(const TempImage&) = delete;

  // A file of the image, path relative to the image folder.
  void Write(const std::string& relative, const std::string& content) {
    const auto path = root_ / "image" / relative;
    std::filesystem::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << content;
  }
  void Registry(const std::string& regText) { Write("registry/server.reg", "REGEDIT4\r\n\r\n" + regText); }
  void Folder(const std::string& relative) { std::filesystem::create_directories(root_ / "image" / relative); }

  image::ServerImage& Open(const std::string& commandLine = "Fernwick.exe") {
    opened_ = std::make_unique<image::ServerImage>(root_ / "image", root_ / "out", commandLine);
    native::AddPackagingPrograms(*opened_);
    return *opened_;
  }
  std::filesystem::path Out() const { return root_ / "out"; }
  std::filesystem::path ImageFolder() const { return root_ / "image"; }

 private:
  static inline int counter_ = 0;
  std::filesystem::path root_;
  std::unique_ptr<image::ServerImage> opened_;
};

}  // namespace fernwick::testing
