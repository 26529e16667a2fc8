#include "platform/image/path_set.h"

#include <algorithm>
#include <cstring>
#include <functional>
#include <stdexcept>

namespace fernwick::image {
namespace {

// A place is a block's number and an offset in it; blocks begin small and
// grow to kBlockSpan, so a set of a few paths costs a few kilobytes.
constexpr unsigned kOffsetBits = 18;
constexpr std::size_t kBlockSpan = std::size_t{1} << kOffsetBits;
constexpr std::size_t kFirstBlock = 4096;
constexpr std::size_t kMostBlocks = (std::size_t{1} << 32) / kBlockSpan - 1;
constexpr std::size_t kLengthBytes = 2;

std::size_t HashOf(std::string_view path) {
  return std::hash<std::string_view>()(path);
}

}  // namespace

std::string_view PathSet::At(std::uint32_t place) const {
  const Block& block = blocks_[place >> kOffsetBits];
  const char* entry = block.bytes.get() + (place & (kBlockSpan - 1));
  const std::size_t length = static_cast<unsigned char>(entry[0]) | static_cast<unsigned char>(entry[1]) << 8;
  return std::string_view(entry + kLengthBytes, length);
}

std::uint32_t PathSet::Store(std::string_view path) {
  const std::size_t needed = path.size() + kLengthBytes;
  if (blocks_.empty() || blocks_.back().used + needed > blocks_.back().capacity) {
    if (blocks_.size() >= kMostBlocks) throw std::length_error("more paths than a set holds");
    Block block;
    block.capacity = blocks_.empty() ? kFirstBlock : std::min(kBlockSpan, blocks_.back().capacity * 2);
    if (block.capacity < needed) block.capacity = kBlockSpan;
    block.bytes = std::make_unique<char[]>(block.capacity);
    blocks_.push_back(std::move(block));
  }
  Block& block = blocks_.back();
  char* entry = block.bytes.get() + block.used;
  entry[0] = static_cast<char>(path.size() & 0xFF);
  entry[1] = static_cast<char>(path.size() >> 8);
  if (!path.empty()) std::memcpy(entry + kLengthBytes, path.data(), path.size());
  const auto place = static_cast<std::uint32_t>(((blocks_.size() - 1) << kOffsetBits) | block.used);
  block.used += needed;
  return place;
}

std::size_t PathSet::Slot(std::string_view path, std::size_t hash) const {
  const std::size_t mask = table_.size() - 1;
  for (std::size_t slot = hash & mask;; slot = (slot + 1) & mask) {
    if (table_[slot] == 0 || At(table_[slot] - 1) == path) return slot;
  }
}

void PathSet::Grow() {
  std::vector<std::uint32_t> old = std::move(table_);
  table_.assign(old.empty() ? 16 : old.size() * 2, 0);
  for (const std::uint32_t entry : old) {
    if (entry != 0) table_[Slot(At(entry - 1), HashOf(At(entry - 1)))] = entry;
  }
}

bool PathSet::insert(std::string_view path) {
  if (path.size() > kLongestPath) throw std::length_error("a path longer than the longest Windows path");
  // At most three quarters of the slots are taken.
  if ((size_ + 1) * 4 > table_.size() * 3) Grow();
  const std::size_t slot = Slot(path, HashOf(path));
  if (table_[slot] != 0) return false;
  table_[slot] = Store(path) + 1;
  ++size_;
  return true;
}

std::size_t PathSet::count(std::string_view path) const {
  if (table_.empty()) return 0;
  return table_[Slot(path, HashOf(path))] != 0 ? 1 : 0;
}

}  // namespace fernwick::image
