// The folder a cabinet's image is unpacked into goes however the command
// ends: a signal that ends it, or an exception nobody catches. Each case
// runs in a child process of its own, which ends as the command would.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <thread>

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

}  // namespace
}  // namespace fernwick::native
