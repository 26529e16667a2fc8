// The replay of captures shaped to cost the most per question, each at two
// sizes: a cost per question that stays flat while the size grows is time
// linear in the capture.
//   fan-out    FOLDERS folders listed alike (one `listing` line of NAMES
//              names, the other folders `samelisting` lines naming it); each
//              folder is listed and each of its names asked about
//   one folder a folder of N files the image holds, listed; each file is
//              asked about, in its own spelling and in capitals, and N names
//              it does not hold
// Usage: replay_bench [RUNS]   (build it optimised: scripts/build.sh release)
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

#include "common/text.h"
#include "platform/image/server_image.h"

namespace {
namespace fs = std::filesystem;

// Pieces appended in turn ("literal" + std::string trips GCC 12's
// overlapping-copy warning at -O3).
std::string Cat(std::initializer_list<std::string_view> pieces) {
  std::string out;
  for (const std::string_view piece : pieces) out += piece;
  return out;
}

template <typename Number>
std::string N(Number number) {
  return std::to_string(number);
}

void WriteCaptureFrame(const fs::path& root) {
  fs::create_directories(root / "registry");
  std::ofstream(root / "image.ini") << "[capture]\nRecordedBy=Fernwick 2.0.4\n";
  std::ofstream(root / "registry" / "capture.reg") << "REGEDIT4\n";
}

// Questions asked, and the milliseconds they took, median of `runs`.
struct Figure {
  std::size_t questions = 0;
  double milliseconds = 0;
};

Figure Time(const fs::path& root, const fs::path& out, int runs,
            const std::function<std::size_t(fernwick::platform::FileSystem&)>& ask) {
  std::vector<double> times;
  std::size_t questions = 0;
  for (int run = 0; run < runs; ++run) {
    const auto start = std::chrono::steady_clock::now();
    fernwick::image::ServerImage image(root, out / std::to_string(run), "Fernwick.exe");
    questions = ask(image.Platform().files);
    times.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
  }
  std::sort(times.begin(), times.end());
  return {questions, times[times.size() / 2]};
}

Figure FanOut(const fs::path& scratch, int folders, int names, int runs) {
  const fs::path root = scratch / Cat({"fanout-", N(folders), "x", N(names)});
  WriteCaptureFrame(root);
  std::string answers = Cat({"listing\tC:\\\\P\\\\L0\t", N(names)});
  for (int n = 0; n < names; ++n) answers += Cat({"\tp", N(n), ".wav"});
  answers += "\n";
  for (int f = 0; f < folders; ++f) {
    fs::create_directories(root / "drives" / "C" / "P" / Cat({"L", N(f)}));
    if (f > 0) answers += Cat({"samelisting\tC:\\\\P\\\\L", N(f), "\tC:\\\\P\\\\L0\n"});
  }
  std::ofstream(root / "answers.txt") << answers;
  return Time(root, scratch / "out", runs, [&](fernwick::platform::FileSystem& files) {
    std::size_t questions = 0;
    for (int f = 0; f < folders; ++f) {
      const std::string folder = Cat({"C:\\P\\L", N(f)});
      if (!files.ListFolder(folder)) std::abort();
      ++questions;
      for (int n = 0; n < names; ++n, ++questions) {
        if (!files.FileExists(Cat({folder, "\\p", N(n), ".wav"}))) std::abort();
      }
    }
    return questions;
  });
}

Figure OneFolder(const fs::path& scratch, int count, int runs) {
  const fs::path root = scratch / Cat({"onefolder-", N(count)});
  WriteCaptureFrame(root);
  const fs::path folder = root / "drives" / "C" / "Big";
  fs::create_directories(folder);
  std::string answers = Cat({"listing\tC:\\\\Big\t", N(count)});
  for (int n = 0; n < count; ++n) {
    const std::string name = Cat({"h", N(n), ".wav"});
    std::ofstream(folder / name);
    answers += Cat({"\t", name});
  }
  std::ofstream(root / "answers.txt") << answers << "\n";
  return Time(root, scratch / "out", runs, [&](fernwick::platform::FileSystem& files) {
    std::size_t questions = 0;
    for (int n = 0; n < count; ++n, questions += 3) {
      const std::string name = Cat({"C:\\Big\\h", N(n), ".wav"});
      if (!files.FileExists(name) || !files.FileExists(fernwick::ToUpper(name))) std::abort();
      if (files.FileExists(Cat({"C:\\Big\\q", N(n), ".wav"}))) std::abort();
    }
    return questions;
  });
}

void Print(const char* name, const std::string& size, const Figure& figure) {
  std::printf("%-10s %-12s %9zu questions %10.1f ms %8.2f us per question\n", name, size.c_str(), figure.questions,
              figure.milliseconds, figure.milliseconds * 1000 / static_cast<double>(figure.questions));
}

}  // namespace

int main(int argc, char** argv) {
  const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 3;
  const fs::path scratch = fs::temp_directory_path() / Cat({"replay_bench.", N(::getpid())});
  for (const auto& [folders, names] : {std::pair{50, 2000}, std::pair{200, 20000}}) {
    Print("fan-out", Cat({N(folders), "x", N(names)}), FanOut(scratch, folders, names, runs));
  }
  for (const int count : {5000, 20000}) Print("one folder", std::to_string(count), OneFolder(scratch, count, runs));
  fs::remove_all(scratch);
  return 0;
}
