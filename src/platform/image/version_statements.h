#pragma once
// versions.txt of a server image: version blocks stated by their answers
// instead of by a binary (see docs/server-image.md, "Version blocks"). One
// answer per line in the syntax of platform/recording/capture_lines.h:
//
//   PATH  size          N                        GetFileVersionInfoSizeA
//   PATH  block         loaded | none            GetFileVersionInfoA works | fails
//   PATH  fixed         13 hex words | none      VerQueryValueA "\"
//   PATH  translations  hex words, blank-separated  "\VarFileInfo\Translation"
//   PATH  string        QUERY  TEXT | \N         a "\StringFileInfo\..." value
#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/version_resources.h"

namespace fernwick::image {

struct StatedVersion {
  std::string path;
  std::optional<std::uint32_t> size;
  bool noBlock = false;
  bool block = false;  // stated to load
  std::optional<std::optional<platform::FixedFileInfo>> fixed;
  std::optional<std::vector<std::uint32_t>> translations;
  std::map<std::string, std::optional<std::string>> strings;  // upper-cased query -> answer
};

// What versions.txt may hold (a capture states a few hundred files): an
// image past one of these is refused with a line naming it.
inline constexpr std::size_t kMostVersionLineBytes = 16u << 20;  // bytes of one line
inline constexpr std::size_t kMostVersionLines = 16384;         // kept lines of the file
inline constexpr std::size_t kMostStatedFiles = 4096;           // files stated

// By upper-cased path. Throws std::runtime_error naming the first
// malformed line ("versions.txt:3: ...").
std::map<std::string, StatedVersion> ParseVersionStatements(std::string_view text);

// A block answering from its statements. Where the statements say nothing,
// a `strict` block stops with NotCaptured, another answers as a block
// without that part.
class StatedVersionBlock : public platform::VersionBlock {
 public:
  StatedVersionBlock(const StatedVersion& stated, bool strict) : stated_(stated), strict_(strict) {}
  std::optional<platform::FixedFileInfo> Fixed() const override;
  std::vector<std::uint32_t> Translations() const override;
  std::optional<std::string> StringValue(const std::string& path) const override;

 private:
  const StatedVersion& stated_;
  bool strict_;
};

}  // namespace fernwick::image
