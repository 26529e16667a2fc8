// Wall time of a whole gathering against a server image, and of each report
// stretch in it, so that the cost of a gathering can be told apart.
// Usage: gathering_bench IMAGE [RUNS]
// Build it optimised (scripts/build.sh release builds it beside `fernwick`).
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "common/message_boxes.h"
#include "common/session.h"
#include "platform/image/server_image.h"
#include "probes/voxtra_version.h"
#include "report/gathering.h"
#include "report/report_buffer.h"
#include "report/report_sections.h"

namespace {

using Clock = std::chrono::steady_clock;

double Milliseconds(Clock::duration d) {
  return std::chrono::duration<double, std::milli>(d).count();
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: %s IMAGE [RUNS]\n", argv[0]);
    return 2;
  }
  const std::filesystem::path image = argv[1];
  const int runs = argc > 2 ? std::max(1, std::atoi(argv[2])) : 5;
  const auto scratch = std::filesystem::temp_directory_path() / ("gathering_bench." + std::to_string(::getpid()));
  std::map<std::string, std::vector<double>> times;
  std::vector<double> whole;
  for (int run = 0; run < runs; ++run) {
    const auto out = scratch / std::to_string(run);
    const auto start = Clock::now();
    fernwick::image::ServerImage server(image, out, "Fernwick.exe silent");
    auto& platform = server.Platform();
    fernwick::Session session;
    session.bSilentMode = true;
    fernwick::report::ReportBuffer buffer;
    fernwick::MessageBoxes messages(platform.ui, session);
    fernwick::report::Gathering g{platform, session, buffer, messages};
    const auto timed = [&](const std::string& name, const std::function<void()>& stretch) {
      const auto t = Clock::now();
      stretch();
      times[name].push_back(Milliseconds(Clock::now() - t));
    };
    timed("0 image loaded", [] {});
    times["0 image loaded"].back() = Milliseconds(Clock::now() - start);
    fernwick::probes::VoxtraVersion version(platform.registry, platform.files, messages);
    fernwick::report::BackEnd backEnd;
    timed("1 version and header", [&] {
      version.CurrentVersion = version.getVersion();
      fernwick::report::WriteReportHeader(g);
    });
    timed("2 install information", [&] { fernwick::report::WriteInstallInformation(g, version); });
    timed("3 environment", [&] { fernwick::report::WriteEnvironmentInformation(g, backEnd); });
    timed("4 directory connectors", [&] { fernwick::report::WriteDirectoryConnectorSettings(g, version, backEnd); });
    timed("5 messaging, SQL Server, Windows", [&] { fernwick::report::WriteMessagingChecks(g, version, backEnd); });
    timed("6 statistics, licensing, IP", [&] { fernwick::report::WriteDirectoryStatistics(g, version); });
    whole.push_back(Milliseconds(Clock::now() - start));
  }
  std::filesystem::remove_all(scratch);
  const auto median = [](std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
  };
  std::printf("%s, %d runs, median wall time in ms\n", image.string().c_str(), runs);
  for (const auto& [name, values] : times) std::printf("  %-36s %8.2f\n", name.c_str(), median(values));
  std::printf("  %-36s %8.2f\n", "whole gathering", median(whole));
  return 0;
}
