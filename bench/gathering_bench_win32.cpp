// Wall time of a whole gathering on the machine it runs on (a Voxtra server,
// or a Wine prefix seeded from a server image), and of each report stretch.
// Place it beside the shipped batch files, as Fernwick.exe is.
// Usage: gathering_bench_win32 [RUNS]
#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "bench/gathering_timer.h"
#include "frontend/win32/win32_platform.h"

int main(int argc, char** argv) {
  const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 3;
  std::vector<std::vector<std::pair<std::string, double>>> times;
  for (int run = 0; run < runs; ++run) {
    fernwick::win32::Win32Platform platform;
    times.push_back(fernwick::bench::TimeGathering(platform.Get()));
  }
  fernwick::bench::PrintMedians("this machine", times);
  return 0;
}
