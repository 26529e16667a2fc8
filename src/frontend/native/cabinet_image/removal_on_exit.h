#pragma once
// The private folder a cabinet's image is unpacked into holds a customer's
// server: it goes on every way the command can end, not only when its
// owner's destructor runs. While a RemovalOnExit lives, SIGINT, SIGTERM,
// SIGHUP and SIGQUIT remove the folder and end the process with 128 + the
// signal's number, and an exception nobody catches removes it before the
// program aborts. Make it before any other thread starts (the signals are
// taken by a thread of its own, so every other thread must block them).
#include <filesystem>

namespace fernwick::native {

class RemovalOnExit {
 public:
  explicit RemovalOnExit(std::filesystem::path folder);
  ~RemovalOnExit();
  RemovalOnExit(const RemovalOnExit&) = delete;
  RemovalOnExit& operator=(const RemovalOnExit&) = delete;
};

}  // namespace fernwick::native
