#pragma once
// What the fuzz targets share: a check that stops the run with a message
// (libFuzzer keeps the input that made it fail), the input as text, and the
// heap a piece of work held at its peak, for the readers of whole files
// whose memory must stay within a multiple of their input.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string_view>

#include "tests/native/peak_heap.h"

namespace fernwick::fuzz {

inline void Check(bool holds, const char* what) {
  if (holds) return;
  std::fprintf(stderr, "fuzz check failed: %s\n", what);
  std::abort();
}

// What a reader of a whole file from a customer's cabinet may hold at its
// peak: four times the file, and a megabyte of its own.
inline constexpr long long kFileReaderMultiple = 4;
inline constexpr long long kFileReaderConstant = 1 << 20;

// Runs `work` and stops the run when the heap grew by more than
// `multiple` times `size` and `constant` bytes at its peak: libFuzzer's own
// limits see only the whole process or one block, so a reader that holds
// forty times its input in many small blocks would pass them.
template <typename Work>
void HoldsAtMost(std::size_t size, long long multiple, long long constant, Work&& work) {
  const long long grown = testing::PeakHeapGrowth(work);
  if (grown > multiple * static_cast<long long>(size) + constant) {
    std::fprintf(stderr, "fuzz check failed: %lld bytes held for an input of %zu\n", grown, size);
    std::abort();
  }
}

inline std::string_view AsText(const std::uint8_t* data, std::size_t size) {
  return {reinterpret_cast<const char*>(data), size};
}

}  // namespace fernwick::fuzz
