#pragma once
// The private folder a cabinet's image is unpacked into holds a customer's
// server: it goes on every way the command can end, not only when its
// owner's destructor runs. While a RemovalOnExit lives, SIGINT, SIGTERM,
// SIGHUP and SIGQUIT remove the folder and end the process with 128 + the
// signal's number, and an exception nobody catches removes it before the
// program aborts. Make it before any other thread starts (the signals are
// taken by a thread of its own, so every other thread must block them).
// What writes into the folder holds HoldRemoval() while it writes: the
// folder is removed only between two writes, and no write follows.
#include <filesystem>
#include <functional>
#include <mutex>

namespace fernwick::native {

class RemovalOnExit {
 public:
  explicit RemovalOnExit(std::filesystem::path folder);
  // Takes the signals first, then makes the folder with `make`: a signal
  // that comes while it is being made removes it too.
  explicit RemovalOnExit(const std::function<std::filesystem::path()>& make);
  ~RemovalOnExit();
  RemovalOnExit(const RemovalOnExit&) = delete;
  RemovalOnExit& operator=(const RemovalOnExit&) = delete;

  const std::filesystem::path& Folder() const { return folder_; }

 private:
  std::filesystem::path folder_;
};

// While the lock lives the watched folder is not removed. Once an ending
// signal has come, it never returns: the process ends without another
// write into the folder.
std::unique_lock<std::mutex> HoldRemoval();

}  // namespace fernwick::native
