// Wall time of a whole gathering against a server image, and of each report
// stretch in it, with the time to open the image.
// Usage: gathering_bench IMAGE [RUNS]
// Build it optimised: scripts/build.sh release builds it beside `fernwick`.
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "bench/gathering_timer.h"
#include "platform/image/server_image.h"

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: %s IMAGE [RUNS]\n", argv[0]);
    return 2;
  }
  const std::filesystem::path image = argv[1];
  const int runs = argc > 2 ? std::max(1, std::atoi(argv[2])) : 5;
  const auto scratch = std::filesystem::temp_directory_path() / ("gathering_bench." + std::to_string(::getpid()));
  std::vector<std::vector<std::pair<std::string, double>>> times;
  for (int run = 0; run < runs; ++run) {
    const auto start = std::chrono::steady_clock::now();
    fernwick::image::ServerImage server(image, scratch / std::to_string(run), "Fernwick.exe");
    const double opened = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    auto stretches = fernwick::bench::TimeGathering(server.Platform());
    stretches.insert(stretches.begin(), {"image opened", opened});
    times.push_back(std::move(stretches));
  }
  std::filesystem::remove_all(scratch);
  fernwick::bench::PrintMedians(image.string(), times);
  return 0;
}
