#pragma once
// The version-information functions of Windows, in their own shape:
// size of the block, the block, a value by resource path, language names.
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace fernwick::platform {

// The 13 fields of VS_FIXEDFILEINFO, in order.
struct FixedFileInfo {
  std::uint32_t signature = 0;
  std::uint32_t strucVersion = 0;
  std::uint32_t fileVersionMS = 0;
  std::uint32_t fileVersionLS = 0;
  std::uint32_t productVersionMS = 0;
  std::uint32_t productVersionLS = 0;
  std::uint32_t fileFlagsMask = 0;
  std::uint32_t fileFlags = 0;
  std::uint32_t fileOS = 0;
  std::uint32_t fileType = 0;
  std::uint32_t fileSubtype = 0;
  std::uint32_t fileDateMS = 0;
  std::uint32_t fileDateLS = 0;
};

// A loaded version block (GetFileVersionInfoA's buffer).
class VersionBlock {
 public:
  virtual ~VersionBlock() = default;
  // VerQueryValueA on "\": nullopt when the block has no fixed part.
  virtual std::optional<FixedFileInfo> Fixed() const = 0;
  // VerQueryValueA on "\VarFileInfo\Translation": the 32-bit entries.
  virtual std::vector<std::uint32_t> Translations() const = 0;
  // VerQueryValueA on a "\StringFileInfo\llllcccc\Key" path: the ANSI text
  // up to its terminating zero; nullopt when the query fails.
  virtual std::optional<std::string> StringValue(const std::string& path) const = 0;
};

class VersionResources {
 public:
  virtual ~VersionResources() = default;
  // GetFileVersionInfoSizeA: 0 when the file has no version resource.
  virtual std::uint32_t InfoSize(const std::string& path) = 0;
  // GetFileVersionInfoA; nullptr when it fails.
  virtual std::unique_ptr<VersionBlock> Load(const std::string& path) = 0;
  // VerLanguageNameA: empty when the platform knows no name.
  virtual std::string LanguageName(std::uint32_t languageId) = 0;
};

}  // namespace fernwick::platform
