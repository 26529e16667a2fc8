#pragma once
// Version resources through version.dll (ANSI forms).
#include "platform/version_resources.h"

namespace fernwick::win32 {

class Win32VersionResources : public platform::VersionResources {
 public:
  std::uint32_t InfoSize(const std::string& path) override;
  std::unique_ptr<platform::VersionBlock> Load(const std::string& path) override;
  std::string LanguageName(std::uint32_t languageId) override;
};

}  // namespace fernwick::win32
