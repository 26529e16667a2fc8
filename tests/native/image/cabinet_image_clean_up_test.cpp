// The folder a cabinet's image is unpacked into goes however the command
// ends: a signal that ends it, or an exception nobody catches. Each case
// runs in a child process of its own, which ends as the command would.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <thread>

#include "cabmaker/gcab/gcab_writer.h"
#include "frontend/native/cabinet_image/cabinet_image.h"
#include "frontend/native/cabinet_image/removal_on_exit.h"
#include "native/odbc/scratch_folder.h"

namespace fernwick::native {
namespace {

enum class Ending { Interrupt, Terminate, HangUp, UncaughtException };

// The child's wait status after it made the folder's guard and ended so.
int EndChild(const std::filesystem::path& folder, Ending ending) {
  const pid_t child = fork();
  if (child == 0) {
    RemovalOnExit removal(folder);
    switch (ending) {
      case Ending::Interrupt: kill(getpid(), SIGINT); break;
      case Ending::Terminate: kill(getpid(), SIGTERM); break;
      case Ending::HangUp: kill(getpid(), SIGHUP); break;
      case Ending::UncaughtException:
        std::thread([] { throw std::runtime_error("nobody catches this"); }).join();
        break;
    }
    pause();  // the signal's thread ends the process
    _exit(99);
  }
  int status = 0;
  waitpid(child, &status, 0);
  return status;
}

TEST(CabinetImageCleanUp, TheFolderGoesOnEverySignalThatEndsTheCommand) {
  const struct {
    Ending ending;
    int exitCode;
  } cases[] = {{Ending::Interrupt, 128 + SIGINT}, {Ending::Terminate, 128 + SIGTERM}, {Ending::HangUp, 128 + SIGHUP}};
  for (const auto& c : cases) {
    testing::ScratchFolder scratch;
    const auto folder = scratch.Path() / "fernwick-cab-test";
    std::filesystem::create_directories(folder / "drives" / "C");
    std::ofstream(folder / "image.ini") << "[capture]\n";
    const int status = EndChild(folder, c.ending);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), c.exitCode);
    EXPECT_FALSE(std::filesystem::exists(folder));
  }
}

TEST(CabinetImageCleanUp, TheFolderGoesOnAnExceptionNobodyCatches) {
  testing::ScratchFolder scratch;
  const auto folder = scratch.Path() / "fernwick-cab-test";
  std::filesystem::create_directories(folder / "registry");
  const int status = EndChild(folder, Ending::UncaughtException);
  EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGABRT);
  EXPECT_FALSE(std::filesystem::exists(folder));
}

// A VoxtraInfo.cab whose ServerImage.cab holds a capture of `files` prompt
// files, written into `folder`.
std::filesystem::path ManyFileCabinet(const std::filesystem::path& folder, int files) {
  cabmaker::CabinetPlan image;
  image.folders.emplace_back();
  const auto add = [&](const std::string& name, const std::string& bytes) {
    const auto host = folder / "image" / std::to_string(image.folders[0].size());
    std::filesystem::create_directories(host.parent_path());
    std::ofstream(host, std::ios::binary) << bytes;
    image.folders[0].push_back({host.string(), name, bytes.size(), 0, false, name});
  };
  add("image.ini", "[capture]\r\nRecordedBy=Fernwick 2.0.4\r\n");
  for (int i = 0; i < files; ++i) add("drives\\C\\Voxtra\\Prompts\\p" + std::to_string(i) + ".wav", "RIFF");
  std::string failed;
  const auto asIs = [](const std::string& source) { return source; };
  const auto inner = folder / "ServerImage.cab";
  EXPECT_EQ(cabmaker::WriteCabinetWithGcab(image, inner.string(), asIs, failed), "");
  cabmaker::CabinetPlan outer;
  outer.folders = {{{inner.string(), "ServerImage.cab", std::filesystem::file_size(inner), 0, false, ""}}};
  const auto cabinet = folder / "VoxtraInfo.cab";
  EXPECT_EQ(cabmaker::WriteCabinetWithGcab(outer, cabinet.string(), asIs, failed), "");
  return cabinet;
}

// A child that unpacks the cabinet into a temporary folder below `temp`,
// ended by `signal` after `delay` (none: it ends by itself); its wait status.
int UnpackInChild(const std::filesystem::path& cabinet, const std::filesystem::path& temp, int signal,
                  std::chrono::microseconds delay) {
  const pid_t child = fork();
  if (child == 0) {
    setenv("TMPDIR", temp.c_str(), 1);
    { CabinetImage image(cabinet); }
    _exit(0);
  }
  if (signal != 0) {
    std::this_thread::sleep_for(delay);
    kill(child, signal);
  }
  int status = 0;
  waitpid(child, &status, 0);
  return status;
}

// Signals at many moments of an unpack, from before the folder is made to
// after the last file: whichever moment, nothing of the image is left, and
// a signal that came while the folder was watched ends the command with
// 128 + the signal.
TEST(CabinetImageCleanUp, NothingIsLeftWhateverMomentOfTheUnpackASignalComes) {
  testing::ScratchFolder scratch;
  const auto cabinet = ManyFileCabinet(scratch.Path() / "cab", 300);
  const auto temp = scratch.Path() / "tmp";
  std::filesystem::create_directories(temp);
  const auto start = std::chrono::steady_clock::now();
  ASSERT_EQ(UnpackInChild(cabinet, temp, 0, {}), 0);
  const auto whole = std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() - start);
  ASSERT_TRUE(std::filesystem::is_empty(temp));
  constexpr int kMoments = 6;
  const int signals[] = {SIGTERM, SIGINT, SIGHUP};
  int byTheWatcher = 0;
  for (int i = 0; i < kMoments; ++i) {
    const int signal = signals[i % 3];
    const int status = UnpackInChild(cabinet, temp, signal, whole * i / kMoments);
    EXPECT_TRUE(std::filesystem::is_empty(temp)) << "signal " << signal << " at " << i << "/" << kMoments;
    if (WIFEXITED(status) && WEXITSTATUS(status) == 128 + signal) ++byTheWatcher;
    std::error_code ec;
    for (const auto& left : std::filesystem::directory_iterator(temp, ec)) std::filesystem::remove_all(left.path());
  }
  EXPECT_GT(byTheWatcher, 0);
}

}  // namespace
}  // namespace fernwick::native
