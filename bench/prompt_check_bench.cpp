// prompt_check_bench: how the prompt check compares with the least any
// check of a prompt tree must do.
//
// Generates a server image whose prompt tree has LANGUAGES language folders
// of PROMPTS prompts each, nested as the product lays them out (each
// language folder holds a quarter of its prompts and the subfolders
// Conversation, Conversation\Phrases and System the other quarters, each
// folder with its own Prompt.ini), with one prompt in a hundred missing
// (--missing). It then times, through the image's file system:
//   floor: one walk that lists each folder, reads each index file and looks
//          for each WAV file once;
//   ours:  VerifyPromptSet from the prompts folder with a fresh budget.
// Each is run three times after a warm-up walk; the best time counts. The
// last line is the result:
//   prompt check: floor F ms, ours O ms, ratio R, peak P MB
// (peak = the process's peak resident memory).
//
// Usage: prompt_check_bench [--languages N] [--prompts N] [--missing PER_MILLE] [--dir FOLDER]
// Defaults: 60 languages, 2000 prompts, 10 per mille missing, a fresh folder
// below /tmp that is removed at the end. With 1% missing the budget runs out
// after a few languages and the check stops descending; --missing 0 makes
// it walk and re-check the whole tree.
#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "platform/image/image_file_system.h"
#include "report/prompt_index_file.h"
#include "report/prompt_set_verification.h"
#include "platform/no_window.h"

namespace {

namespace fs = std::filesystem;
using fernwick::image::ImageFileSystem;

const std::string kPrompts = "C:\\Voxtra\\Localize\\Prompts";
const char* const kSubfolders[] = {"", "\\Conversation", "\\Conversation\\Phrases", "\\System"};

struct Options {
  int languages = 60;
  int prompts = 2000;
  int missingPerMille = 10;
  fs::path dir;
};

std::string LanguageName(int index) {
  return std::string{static_cast<char>('A' + index / 26 % 26), static_cast<char>('A' + index % 26), 'X'};
}

void WriteFile(const fs::path& path, const std::string& content) {
  std::ofstream out(path, std::ios::binary);
  out << content;
}

// Returns how many prompts are missing.
int GenerateTree(const fs::path& imageRoot, const Options& options) {
  const fs::path prompts = imageRoot / "drives" / "C" / "Voxtra" / "Localize" / "Prompts";
  int missing = 0;
  int serial = 0;
  for (int language = 0; language < options.languages; ++language) {
    const int perFolder = options.prompts / 4;
    for (int part = 0; part < 4; ++part) {
      std::string relative = kSubfolders[part];
      std::replace(relative.begin(), relative.end(), '\\', '/');
      const fs::path folder = prompts / LanguageName(language) / relative.substr(relative.empty() ? 0 : 1);
      fs::create_directories(folder);
      std::string index = "; prompts of the bench tree\r\n";
      const int count = part == 3 ? options.prompts - 3 * perFolder : perFolder;
      for (int i = 0; i < count; ++i, ++serial) {
        const std::string name = "Prompt_" + std::to_string(part) + "_" + std::to_string(i);
        index += "[" + name + "]\r\nDescription=prompt " + std::to_string(i) + "\r\n";
        if (options.missingPerMille > 0 && serial % 1000 < options.missingPerMille) {
          ++missing;  // never installed
        } else {
          WriteFile(folder / (name + ".wav"), "");
        }
      }
      WriteFile(folder / "Prompt.ini", index);
    }
  }
  return missing;
}

// The least a check can do: every folder listed, every index file read and
// parsed, every WAV file looked for, once each.
long FloorWalk(fernwick::platform::FileSystem& files, const std::string& folder) {
  long missing = 0;
  const auto listing = files.ListFolder(folder);
  if (!listing) return 0;
  for (const auto& file : listing->files) {
    if (file != "Prompt.ini") continue;
    const auto bytes = files.ReadWholeFile(folder + "\\" + file);
    for (const auto& name : fernwick::report::PromptNames(fernwick::report::PromptIndexLines(*bytes))) {
      if (!files.FileExists(folder + "\\" + name + ".wav")) ++missing;
    }
  }
  for (const auto& sub : listing->folders) missing += FloorWalk(files, folder + "\\" + sub);
  return missing;
}

double BestOfThree(const std::function<void()>& run) {
  double best = 1e300;
  for (int i = 0; i < 3; ++i) {
    const auto start = std::chrono::steady_clock::now();
    run();
    const std::chrono::duration<double, std::milli> took = std::chrono::steady_clock::now() - start;
    best = std::min(best, took.count());
  }
  return best;
}

bool ParseOptions(int argc, char** argv, Options& options) {
  for (int i = 1; i + 1 < argc; i += 2) {
    const std::string flag = argv[i];
    if (flag == "--languages") {
      options.languages = std::atoi(argv[i + 1]);
    } else if (flag == "--prompts") {
      options.prompts = std::atoi(argv[i + 1]);
    } else if (flag == "--missing") {
      options.missingPerMille = std::atoi(argv[i + 1]);
    } else if (flag == "--dir") {
      options.dir = argv[i + 1];
    } else {
      return false;
    }
  }
  return argc % 2 == 1 && options.languages > 0 && options.languages <= 676 && options.prompts >= 4 &&
         options.missingPerMille >= 0 && options.missingPerMille <= 1000;
}

}  // namespace

int main(int argc, char** argv) {
  Options options;
  if (!ParseOptions(argc, argv, options)) {
    std::fprintf(stderr,
                 "usage: prompt_check_bench [--languages N] [--prompts N] [--missing PER_MILLE] [--dir FOLDER]\n");
    return 2;
  }
  const bool ownFolder = options.dir.empty();
  if (ownFolder) options.dir = fs::temp_directory_path() / ("prompt_check_bench." + std::to_string(getpid()));
  fs::remove_all(options.dir);
  const int missing = GenerateTree(options.dir / "image", options);
  std::printf("tree: %d languages x %d prompts, %d missing\n", options.languages, options.prompts, missing);

  ImageFileSystem files(options.dir / "image", options.dir / "out", "C:\\");
  fernwick::platform::NoWindow window;
  long floorMissing = FloorWalk(files, kPrompts);  // warm-up: the tree is in the page cache for both
  const double floorMs = BestOfThree([&] { floorMissing = FloorWalk(files, kPrompts); });
  std::string block;
  std::int16_t budgetLeft = 0;
  const double oursMs = BestOfThree([&] {
    fernwick::report::PromptCheckState state;
    state.iPromptListBudget = 30000;
    fernwick::report::PromptSetCheck check(files, window, state);
    block = check.VerifyPromptSet(kPrompts, "Prompt.ini").text;
    budgetLeft = state.iPromptListBudget;
  });
  if (ownFolder) fs::remove_all(options.dir);

  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  const double peakMb = static_cast<double>(usage.ru_maxrss) / 1024.0;
  std::printf("floor found %ld missing; the check's block has %zu characters, budget left %d\n", floorMissing,
              block.size(), budgetLeft);
  std::printf("prompt check: floor %.0f ms, ours %.0f ms, ratio %.2f, peak %.0f MB\n", floorMs, oursMs,
              oursMs / floorMs, peakMb);
  return floorMissing == missing ? 0 : 1;
}
