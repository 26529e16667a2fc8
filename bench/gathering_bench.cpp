// Wall time of a whole gathering against a server image, and of each report
// stretch in it, with the time to open the image.
// Usage: gathering_bench [--memory] [--keep] [--capture|--replay] [--prompts LANGUAGESxPROMPTS] IMAGE [RUNS]
// With --capture every run gathers twice, plainly and through the recorder
// (which then writes its image, as Write To File asks it to), and the
// medians of both gatherings, their ratio, the time to write the image, its
// size and its number of files close the output. --replay does the same and
// then gathers the written capture too (a replay, as `fernwick --from-cab`
// runs it): the medians of the gathering and of the replay, and their ratio.
// With --prompts (say 60x2000) the gathering runs on a copy of IMAGE whose
// prompt tree (the folder Localize/Prompts below its drives) is replaced by
// a generated healthy one: LANGUAGES language folders of PROMPTS prompts
// each, nested as the product lays them out (a quarter in the language
// folder, the rest in Conversation, Conversation/Phrases and System, each
// folder with its own Prompt.ini), nothing missing.
// With --memory the bench gathers once, plainly or (with --capture) only
// through the recorder, which writes its image, and prints the process's
// peak resident memory: run it both ways to compare what recording costs.
// --keep leaves the scratch folder (the generated image, the outputs and
// the captures) for a profiler's run, and prints where it is.
// Build it optimised: scripts/build.sh release builds it beside `fernwick`.
#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>

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

std::uintmax_t FolderFiles(const std::filesystem::path& folder) {
  std::uintmax_t files = 0;
  std::error_code ec;
  for (std::filesystem::recursive_directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
    files += it->is_regular_file(ec) ? 1 : 0;
  }
  return files;
}

// A copy of `image` at `copy` whose prompt tree holds `languages` healthy
// languages of `prompts` prompts each; false when the image has no prompt tree.
bool HealthyPromptImage(const std::filesystem::path& image, const std::filesystem::path& copy, int languages,
                        int prompts) {
  namespace fs = std::filesystem;
  fs::create_directories(copy);
  fs::copy(image, copy, fs::copy_options::recursive);
  fs::path tree;
  for (fs::recursive_directory_iterator it(copy / "drives"), end; it != end; ++it) {
    if (it->is_directory() && it->path().filename() == "Prompts" && it->path().parent_path().filename() == "Localize") {
      tree = it->path();
      break;
    }
  }
  if (tree.empty()) return false;
  fs::remove_all(tree);
  const char* const subfolders[] = {"", "Conversation", "Conversation/Phrases", "System"};
  for (int language = 0; language < languages; ++language) {
    const std::string name{static_cast<char>('A' + language / 26 % 26), static_cast<char>('A' + language % 26), 'X'};
    for (int part = 0; part < 4; ++part) {
      const fs::path folder = tree / name / subfolders[part];
      fs::create_directories(folder);
      std::string index = "; prompts of the bench tree\r\n";
      const int count = part == 3 ? prompts - 3 * (prompts / 4) : prompts / 4;
      for (int i = 0; i < count; ++i) {
        const std::string prompt = "Prompt_" + std::to_string(part) + "_" + std::to_string(i);
        index += "[" + prompt + "]\r\nDescription=prompt " + std::to_string(i) + "\r\n";
        std::ofstream(folder / (prompt + ".wav"), std::ios::binary);
      }
      std::ofstream(folder / "Prompt.ini", std::ios::binary) << index;
    }
  }
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  const bool memory = argc > 1 && std::string(argv[1]) == "--memory";
  if (memory) --argc, ++argv;
  const bool keep = argc > 1 && std::string(argv[1]) == "--keep";
  if (keep) --argc, ++argv;
  const bool replay = argc > 1 && std::string(argv[1]) == "--replay";
  const bool capture = replay || (argc > 1 && std::string(argv[1]) == "--capture");
  if (capture) --argc, ++argv;
  int languages = 0, prompts = 0;
  if (argc > 2 && std::string(argv[1]) == "--prompts") {
    if (std::sscanf(argv[2], "%dx%d", &languages, &prompts) != 2 || languages < 1 || languages > 676 || prompts < 4) {
      std::fprintf(stderr, "--prompts wants LANGUAGESxPROMPTS, such as 60x2000\n");
      return 2;
    }
    argc -= 2, argv += 2;
  }
  if (argc < 2) {
    std::fprintf(stderr,
                 "usage: %s [--memory] [--keep] [--capture|--replay] [--prompts LANGUAGESxPROMPTS] IMAGE [RUNS]\n",
                 argv[0]);
    return 2;
  }
  std::filesystem::path image = argv[1];
  const int runs = memory ? 1 : argc > 2 ? std::max(1, std::atoi(argv[2])) : 5;
  std::vector<double> plain, captured, writes, replays;
  std::uintmax_t imageBytes = 0;
  const auto scratch = std::filesystem::temp_directory_path() / ("gathering_bench." + std::to_string(::getpid()));
  std::uintmax_t imageFiles = 0, answersBytes = 0;
  if (prompts > 0) {
    const auto copy = scratch / "image";
    if (!HealthyPromptImage(image, copy, languages, prompts)) {
      std::fprintf(stderr, "%s has no Localize/Prompts folder\n", image.string().c_str());
      return 2;
    }
    std::printf("generated: %d languages x %d prompts, %ju files\n", languages, prompts, FolderFiles(copy));
    image = copy;
  }
  std::vector<std::vector<std::pair<std::string, double>>> times;
  for (int run = 0; run < runs; ++run) {
    const auto start = std::chrono::steady_clock::now();
    // Measuring what recording holds, only the recorded gathering runs.
    std::optional<fernwick::image::ServerImage> server;
    if (!memory || !capture) server.emplace(image, scratch / std::to_string(run), "Fernwick.exe");
    const double opened = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    if (!capture) {
      auto stretches = fernwick::bench::TimeGathering(server->Platform());
      stretches.insert(stretches.begin(), {"image opened", opened});
      times.push_back(std::move(stretches));
      continue;
    }
    if (!memory) plain.push_back(Total(fernwick::bench::TimeGathering(server->Platform())));
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
    if (const auto written = again.Files().HostPath("C:\\FernwickCapture")) {
      imageBytes = FolderBytes(*written);
      imageFiles = FolderFiles(*written);
      std::error_code ec;
      answersBytes = std::filesystem::file_size(*written / "answers.txt", ec);
      if (replay) {
        const auto replayStart = std::chrono::steady_clock::now();
        fernwick::image::ServerImage captureImage(*written, scratch / (std::to_string(run) + "r"), "Fernwick.exe");
        fernwick::bench::TimeGathering(captureImage.Platform());
        replays.push_back(
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - replayStart).count());
      }
    }
    times.push_back(std::move(stretches));
  }
  if (keep) {
    std::printf("kept: %s\n", scratch.string().c_str());
  } else {
    std::filesystem::remove_all(scratch);
  }
  fernwick::bench::PrintMedians(image.string() + (capture ? " (captured)" : ""), times);
  if (memory) {
    rusage usage{};
    ::getrusage(RUSAGE_SELF, &usage);
    std::printf("peak resident memory%s: %ld MB\n", capture ? " (gathered through the recorder, image written)" : "",
                usage.ru_maxrss / 1024);
    return 0;
  }
  if (capture) {
    std::printf(
        "capture: gathering %.1f ms, recorded %.1f ms, ratio %.2f; image written in %.1f ms, %ju bytes (answers.txt "
        "%ju), %ju files\n",
        Median(plain), Median(captured), Median(captured) / Median(plain), Median(writes), imageBytes, answersBytes,
        imageFiles);
  }
  if (!replays.empty()) {
    std::printf("replay: gathering %.1f ms, replay of its capture %.1f ms (image opened included), ratio %.2f\n",
                Median(plain), Median(replays), Median(replays) / Median(plain));
  }
  return 0;
}
