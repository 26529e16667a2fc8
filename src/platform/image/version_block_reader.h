#pragma once
// A version resource (VS_VERSIONINFO, the 32-bit form that PE files carry)
// queried by resource path as VerQueryValueA queries it: path components
// matched without regard to case, texts converted to the ANSI code page.
// LIEF finds the resource, but its own version parser (0.9) throws on a
// block without a VarFileInfo part, which real files have; the block is
// therefore read here.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/version_resources.h"

namespace fernwick::image {

class VersionBlockReader : public platform::VersionBlock {
 public:
  explicit VersionBlockReader(std::vector<std::uint8_t> resource);

  std::optional<platform::FixedFileInfo> Fixed() const override;
  std::vector<std::uint32_t> Translations() const override;
  std::optional<std::string> StringValue(const std::string& path) const override;

 private:
  struct Node {
    std::size_t begin = 0;  // offset of the node's header
    std::size_t end = 0;    // one past its last byte
    std::u16string key;
    std::uint16_t type = 0;  // 1: the value is text
    std::size_t valueBegin = 0;
    std::size_t valueBytes = 0;
    std::size_t childrenBegin = 0;
  };

  std::optional<Node> NodeAt(std::size_t offset, std::size_t limit) const;
  std::optional<Node> Find(const std::string& path) const;
  std::uint16_t Word(std::size_t offset) const;
  std::uint32_t DoubleWord(std::size_t offset) const;

  std::vector<std::uint8_t> resource_;
};

}  // namespace fernwick::image
