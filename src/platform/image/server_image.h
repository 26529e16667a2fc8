#pragma once
// A server image: everything a Voxtra server would answer, kept in a folder
// so that a gathering needs no Windows. See docs/server-image.md.
#include <filesystem>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/image/image_file_system.h"
#include "platform/image/image_services.h"
#include "platform/image/ini_file.h"
#include "platform/image/recorded_answers.h"
#include "platform/image/registry_double.h"
#include "platform/platform.h"

namespace fernwick::image {

// The image cannot be read; what() says why.
class ServerImageError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

class ServerImage {
 public:
  // `outputRoot` receives everything the program writes (never the image).
  // `commandLine` is what the program sees as its own command line.
  ServerImage(const std::filesystem::path& root, const std::filesystem::path& outputRoot, std::string commandLine);
  ~ServerImage();
  ServerImage(const ServerImage&) = delete;
  ServerImage& operator=(const ServerImage&) = delete;

  platform::Platform& Platform() { return *platform_; }
  RegistryDouble& Registry() { return registry_; }
  // Whether the image is a capture: it answers only what one gathering read.
  bool Captured() const { return captured_; }
  ImageFileSystem& Files() { return *files_; }
  const IniFile& Facts() const { return facts_; }
  const std::filesystem::path& Root() const { return root_; }
  // The programs the image runs: the gathering's own (si.bat and the like)
  // are there; a command that also packages adds the programs Write To File
  // starts.
  ImageProcessControl& Processes();
  // Message boxes the program showed, in order (the image has no one to
  // press OK; every box answers OK).
  const std::vector<std::string>& ShownMessages() const;
  const std::string& Clipboard() const;

 private:
  struct Services;

  std::filesystem::path root_;
  IniFile facts_;
  RegistryDouble registry_;
  RecordedAnswers answers_;
  std::unique_ptr<platform::Registry> recordedRegistry_;
  std::unique_ptr<ImageFileSystem> files_;
  std::unique_ptr<Services> services_;
  std::unique_ptr<platform::Platform> platform_;
  bool captured_ = false;
};

}  // namespace fernwick::image
