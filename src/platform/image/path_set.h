#pragma once
// A set of paths that costs little more than their text: the paths are kept
// one after another in blocks, and an open-addressed table holds where
// each begins. A path costs its bytes, two bytes of length and at most
// sixteen bytes of table (while the table grows), where a std::set of
// strings took about a hundred; a forged answers.txt of short paths so
// stays within a small multiple of its size.
#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

namespace fernwick::image {

class PathSet {
 public:
  // The longest path kept (the longest a Windows path can be).
  static constexpr std::size_t kLongestPath = 32767;

  // False when the path was there already; a path longer than kLongestPath
  // is the caller's fault and throws std::length_error.
  bool insert(std::string_view path);
  std::size_t count(std::string_view path) const;
  std::size_t size() const { return size_; }
  bool empty() const { return size_ == 0; }

 private:
  struct Block {
    std::unique_ptr<char[]> bytes;
    std::size_t capacity = 0;
    std::size_t used = 0;
  };
  std::string_view At(std::uint32_t place) const;
  std::uint32_t Store(std::string_view path);
  // The slot of `path` in the table: where it is, or the empty slot where it goes.
  std::size_t Slot(std::string_view path, std::size_t hash) const;
  void Grow();

  std::vector<Block> blocks_;
  std::vector<std::uint32_t> table_;  // place + 1 of each path; 0: an empty slot
  std::size_t size_ = 0;
};

}  // namespace fernwick::image
