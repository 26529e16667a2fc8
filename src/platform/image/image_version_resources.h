#pragma once
// Version resources of the real PE files in a server image, answered as
// version.dll answers them: the same paths, the same case rules, ANSI text.
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "platform/image/version_statements.h"
#include "platform/version_resources.h"

namespace fernwick::image {

class ImageVersionResources : public platform::VersionResources {
 public:
  // Maps a Windows path to the host file it names (nullopt when none), for
  // example ImageFileSystem::HostPath.
  using HostPathFunction = std::function<std::optional<std::filesystem::path>(const std::string&)>;

  explicit ImageVersionResources(HostPathFunction hostPath);

  // Version blocks stated in versions.txt answer before any file, and
  // language names stated in answers.txt before Windows' own table. A
  // `strict` (captured) image answers nothing else: any other question is
  // "not captured".
  void UseStatements(std::map<std::string, StatedVersion> stated, std::map<std::uint32_t, std::string> languages,
                     bool strict);

  // The size of the file's version resource; 0 when the file is missing, is
  // not a PE file or has no version resource. Callers only compare it with 0.
  std::uint32_t InfoSize(const std::string& path) override;
  std::unique_ptr<platform::VersionBlock> Load(const std::string& path) override;
  // The English name Windows gives the language; "Language Neutral" for an
  // identifier it does not know.
  std::string LanguageName(std::uint32_t languageId) override;

 private:
  std::optional<std::vector<std::uint8_t>> ReadVersionResource(const std::string& path) const;

  const StatedVersion* Stated(const std::string& path) const;

  HostPathFunction hostPath_;
  std::map<std::string, StatedVersion> stated_;
  std::map<std::uint32_t, std::string> languages_;
  bool strict_ = false;
};

}  // namespace fernwick::image
