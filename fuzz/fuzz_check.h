#pragma once
// What the fuzz targets share: a check that stops the run with a message
// (libFuzzer keeps the input that made it fail) and the input as text.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string_view>

namespace fernwick::fuzz {

inline void Check(bool holds, const char* what) {
  if (holds) return;
  std::fprintf(stderr, "fuzz check failed: %s\n", what);
  std::abort();
}

inline std::string_view AsText(const std::uint8_t* data, std::size_t size) {
  return {reinterpret_cast<const char*>(data), size};
}

}  // namespace fernwick::fuzz
