#pragma once
// How much more the heap held at its peak while a piece of work ran than
// before it (the sanitizers' allocator tells each block's size), so that a
// test or a fuzz target can prove a reader's memory stays proportional to
// its input.
#include <atomic>
#include <cstddef>

#if defined(__has_feature)
#if __has_feature(address_sanitizer)
#define FERNWICK_ASAN 1
#endif
#endif
#if defined(__SANITIZE_ADDRESS__) || defined(FERNWICK_ASAN)
// The sanitizers' allocator interface (GCC ships no header for it).
extern "C" {
int __sanitizer_install_malloc_and_free_hooks(void (*mallocHook)(const volatile void*, std::size_t),
                                              void (*freeHook)(const volatile void*));
std::size_t __sanitizer_get_allocated_size(const volatile void* block);
}
#define FERNWICK_PEAK_HEAP 1
#endif

namespace fernwick::testing {

#if defined(FERNWICK_PEAK_HEAP)

namespace peak_heap_detail {
inline std::atomic<long long> current{0};
inline std::atomic<long long> peak{0};
inline std::atomic<bool> installed{false};

inline void OnMalloc(const volatile void*, std::size_t size) {
  const long long now = current += static_cast<long long>(size);
  long long seen = peak.load();
  while (now > seen && !peak.compare_exchange_weak(seen, now)) {
  }
}
inline void OnFree(const volatile void* block) {
  current -= static_cast<long long>(__sanitizer_get_allocated_size(block));
}
}  // namespace peak_heap_detail

template <typename Work>
long long PeakHeapGrowth(Work&& work) {
  using namespace peak_heap_detail;
  if (!installed.exchange(true)) __sanitizer_install_malloc_and_free_hooks(OnMalloc, OnFree);
  const long long before = current.load();
  peak = before;
  work();
  return peak.load() - before;
}
#else
// Without the sanitizers' allocator nothing is measured: -1.
template <typename Work>
long long PeakHeapGrowth(Work&& work) {
  work();
  return -1;
}
#endif

}  // namespace fernwick::testing
