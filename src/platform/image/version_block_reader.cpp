#include "platform/image/version_block_reader.h"

#include <algorithm>

#include "common/ansi_code_page.h"

namespace fernwick::image {
namespace {

constexpr std::size_t kHeaderBytes = 6;  // wLength, wValueLength, wType
constexpr std::uint16_t kTextType = 1;

std::size_t AlignTo4(std::size_t offset) {
  return (offset + 3) & ~std::size_t{3};
}

char16_t FoldAscii(char16_t c) {
  return (c >= u'a' && c <= u'z') ? static_cast<char16_t>(c - u'a' + u'A') : c;
}

// Keys compare as version.dll compares them: without regard to case.
bool SameKey(const std::u16string& key, const std::string& component) {
  if (key.size() != component.size()) return false;
  for (std::size_t i = 0; i < key.size(); ++i) {
    const auto wanted = static_cast<char16_t>(static_cast<unsigned char>(component[i]));
    if (FoldAscii(key[i]) != FoldAscii(wanted)) return false;
  }
  return true;
}

std::vector<std::string> PathComponents(const std::string& path) {
  std::vector<std::string> components;
  std::string current;
  for (char c : path) {
    if (c == '\\') {
      if (!current.empty()) components.push_back(std::move(current));
      current.clear();
    } else {
      current.push_back(c);
    }
  }
  if (!current.empty()) components.push_back(std::move(current));
  return components;
}

}  // namespace

VersionBlockReader::VersionBlockReader(std::vector<std::uint8_t> resource) : resource_(std::move(resource)) {}

std::uint16_t VersionBlockReader::Word(std::size_t offset) const {
  return static_cast<std::uint16_t>(resource_[offset] | (resource_[offset + 1] << 8));
}

std::uint32_t VersionBlockReader::DoubleWord(std::size_t offset) const {
  return static_cast<std::uint32_t>(Word(offset)) | (static_cast<std::uint32_t>(Word(offset + 2)) << 16);
}

// One node: header, zero-terminated UTF-16 key, value and children, each
// starting on a 4-byte boundary. Nodes that claim more room than their
// parent has are cut to the parent's end; nodes too short to hold their
// header or key count as absent.
std::optional<VersionBlockReader::Node> VersionBlockReader::NodeAt(std::size_t offset, std::size_t limit) const {
  if (offset + kHeaderBytes > limit) return std::nullopt;
  const std::uint16_t length = Word(offset);
  if (length < kHeaderBytes) return std::nullopt;
  Node node;
  node.begin = offset;
  node.end = std::min(limit, offset + length);
  node.type = Word(offset + 4);
  std::size_t at = offset + kHeaderBytes;
  for (;;) {
    if (at + 2 > node.end) return std::nullopt;
    const char16_t c = Word(at);
    at += 2;
    if (c == 0) break;
    node.key.push_back(c);
  }
  node.valueBegin = std::min(AlignTo4(at), node.end);
  const std::size_t declared = Word(offset + 2);
  const std::size_t valueBytes = node.type == kTextType ? declared * 2 : declared;
  node.valueBytes = std::min(valueBytes, node.end - node.valueBegin);
  node.childrenBegin = std::min(AlignTo4(node.valueBegin + node.valueBytes), node.end);
  return node;
}

std::optional<VersionBlockReader::Node> VersionBlockReader::Find(const std::string& path) const {
  std::optional<Node> node = NodeAt(0, resource_.size());
  for (const std::string& component : PathComponents(path)) {
    if (!node) return std::nullopt;
    std::optional<Node> found;
    std::size_t child = node->childrenBegin;
    while (!found) {
      std::optional<Node> candidate = NodeAt(child, node->end);
      if (!candidate) break;
      if (SameKey(candidate->key, component)) found = candidate;
      child = AlignTo4(candidate->end);
    }
    node = found;
  }
  return node;
}

std::optional<platform::FixedFileInfo> VersionBlockReader::Fixed() const {
  std::optional<Node> root = Find("\\");
  if (!root || root->valueBytes == 0) return std::nullopt;
  // A fixed part shorter than the record fills what it holds; the rest is 0.
  std::uint32_t fields[13] = {};
  for (std::size_t i = 0; i < 13 && (i + 1) * 4 <= root->valueBytes; ++i) {
    fields[i] = DoubleWord(root->valueBegin + i * 4);
  }
  return platform::FixedFileInfo{fields[0], fields[1], fields[2], fields[3],  fields[4],  fields[5], fields[6],
                                 fields[7], fields[8], fields[9], fields[10], fields[11], fields[12]};
}

std::vector<std::uint32_t> VersionBlockReader::Translations() const {
  std::vector<std::uint32_t> entries;
  std::optional<Node> node = Find("\\VarFileInfo\\Translation");
  if (!node) return entries;
  for (std::size_t at = node->valueBegin; at + 4 <= node->valueBegin + node->valueBytes; at += 4) {
    entries.push_back(DoubleWord(at));
  }
  return entries;
}

std::optional<std::string> VersionBlockReader::StringValue(const std::string& path) const {
  std::optional<Node> node = Find(path);
  if (!node) return std::nullopt;
  std::u16string text;
  for (std::size_t at = node->valueBegin; at + 2 <= node->valueBegin + node->valueBytes; at += 2) {
    const char16_t c = Word(at);
    if (c == 0) break;
    text.push_back(c);
  }
  return Utf16ToAnsi(text);
}

}  // namespace fernwick::image
