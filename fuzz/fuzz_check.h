#pragma once
// What the fuzz targets share: a check that stops the run with a message
// (libFuzzer keeps the input that made it fail), the input as text, and the
// heap a piece of work held at its peak, for the readers of whole files
// whose memory must stay within a multiple of their input.
#include <atomic>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string_view>

#if defined(__has_feature)
#if __has_feature(address_sanitizer)
#define FERNWICK_FUZZ_HEAP 1
#endif
#endif
#if defined(__SANITIZE_ADDRESS__)
#define FERNWICK_FUZZ_HEAP 1
#endif

#if defined(FERNWICK_FUZZ_HEAP)
extern "C" {
int __sanitizer_install_malloc_and_free_hooks(void (*mallocHook)(const volatile void*, std::size_t),
                                              void (*freeHook)(const volatile void*));
std::size_t __sanitizer_get_allocated_size(const volatile void* block);
}
#endif

namespace fernwick::fuzz {

inline void Check(bool holds, const char* what) {
  if (holds) return;
  std::fprintf(stderr, "fuzz check failed: %s\n", what);
  std::abort();
}

#if defined(FERNWICK_FUZZ_HEAP)
namespace heap_detail {
inline std::atomic<long long> current{0};
inline std::atomic<long long> peak{0};
inline void OnMalloc(const volatile void*, std::size_t size) {
  const long long now = current += static_cast<long long>(size);
  long long seen = peak.load();
  while (now > seen && !peak.compare_exchange_weak(seen, now)) {
  }
}
inline void OnFree(const volatile void* block) {
  current -= static_cast<long long>(__sanitizer_get_allocated_size(block));
}
}  // namespace heap_detail
#endif

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
#if defined(FERNWICK_FUZZ_HEAP)
  static const bool installed = __sanitizer_install_malloc_and_free_hooks(heap_detail::OnMalloc, heap_detail::OnFree);
  (void)installed;
  const long long before = heap_detail::current.load();
  heap_detail::peak = before;
  work();
  const long long grown = heap_detail::peak.load() - before;
  if (grown > multiple * static_cast<long long>(size) + constant) {
    std::fprintf(stderr, "fuzz check failed: %lld bytes held for an input of %zu\n", grown, size);
    std::abort();
  }
#else
  (void)size, (void)multiple, (void)constant;
  work();
#endif
}

inline std::string_view AsText(const std::uint8_t* data, std::size_t size) {
  return {reinterpret_cast<const char*>(data), size};
}

}  // namespace fernwick::fuzz
