// Wall time of a whole gathering against a server image, and of each report
// stretch in it, with the time to open the image.
// Usage: gathering_bench [--capture] IMAGE [RUNS]
// With --capture every run gathers twice, plainly and through the recorder
// (which then writes its image, as Write To File asks it to), and the
// medians of both gatherings, their ratio, the time to write the image and
// its size close the output.
// Build it optimised: scripts/build.sh release builds it beside `fernwick`.
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "bench/gathering_timer.h"
#include "platform/image/server_image.h"
#include "platform/recording/recorder.h"

namespace {

double Total(const std::vector<std::pair<std::string, double>>& stretches) {
  double total = 0;
  for (const auto& stretch : stretches) total += stretch.second;
  return total;
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

std::uintmax_t FolderBytes(const std::filesystem::path& folder) {
  std::uintmax_t bytes = 0;
  std::error_code ec;
  for (std::filesystem::recursive_directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
    if (it->is_regular_file(ec)) bytes += it->file_size(ec);
  }
  return bytes;
}

}  // namespace

int main(int argc, char** argv) {
  const bool capture = argc > 1 && std::string(argv[1]) == "--capture";
  if (capture) --argc, ++argv;
  if (argc < 2) {
    std::fprintf(stderr, "usage: %s [--capture] IMAGE [RUNS]\n", argv[0]);
    return 2;
  }
  const std::filesystem::path image = argv[1];
  const int runs = argc > 2 ? std::max(1, std::atoi(argv[2])) : 5;
  std::vector<double> plain, captured, writes;
  std::uintmax_t imageBytes = 0;
  const auto scratch = std::filesystem::temp_directory_path() / ("gathering_bench." + std::to_string(::getpid()));
  std::vector<std::vector<std::pair<std::string, double>>> times;
  for (int run = 0; run < runs; ++run) {
    const auto start = std::chrono::steady_clock::now();
    fernwick::image::ServerImage server(image, scratch / std::to_string(run), "Fernwick.exe");
    const double opened = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    if (!capture) {
      auto stretches = fernwick::bench::TimeGathering(server.Platform());
      stretches.insert(stretches.begin(), {"image opened", opened});
      times.push_back(std::move(stretches));
      continue;
    }
    plain.push_back(Total(fernwick::bench::TimeGathering(server.Platform())));
    fernwick::image::ServerImage again(image, scratch / (std::to_string(run) + "c"), "Fernwick.exe");
    fernwick::recording::Recorder recorder(again.Platform());
    auto stretches = fernwick::bench::TimeGathering(recorder.Platform());
    const auto writing = std::chrono::steady_clock::now();
    const std::string failure = recorder.WriteImage("C:\\FernwickCapture\\");
    if (!failure.empty()) std::fprintf(stderr, "capture not written: %s\n", failure.c_str());
    stretches.push_back(
        {"image written",
         std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - writing).count()});
    captured.push_back(Total(stretches) - stretches.back().second);
    writes.push_back(stretches.back().second);
    if (const auto written = again.Files().HostPath("C:\\FernwickCapture")) imageBytes = FolderBytes(*written);
    times.push_back(std::move(stretches));
  }
  std::filesystem::remove_all(scratch);
  fernwick::bench::PrintMedians(image.string() + (capture ? " (captured)" : ""), times);
  if (capture) {
    std::printf("capture: gathering %.1f ms, recorded %.1f ms, ratio %.2f; image written in %.1f ms, %ju bytes\n",
                Median(plain), Median(captured), Median(captured) / Median(plain), Median(writes), imageBytes);
  }
  return 0;
}
