#pragma once
// Version resources, recorded: the size, whether the block loads, and each
// answer the loaded block gave (fixed part, translations, string values).
#include "platform/recording/capture.h"
#include "platform/version_resources.h"

namespace fernwick::recording {

class RecordingVersions : public platform::VersionResources {
 public:
  RecordingVersions(platform::VersionResources& real, Capture& capture) : real_(real), capture_(capture) {}

  std::uint32_t InfoSize(const std::string& path) override;
  std::unique_ptr<platform::VersionBlock> Load(const std::string& path) override;
  std::string LanguageName(std::uint32_t languageId) override;

 private:
  platform::VersionResources& real_;
  Capture& capture_;
};

}  // namespace fernwick::recording
