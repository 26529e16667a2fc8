#include "frontend/native/cabinet_image/removal_on_exit.h"

#include <pthread.h>
#include <signal.h>
#include <unistd.h>

#include <atomic>
#include <exception>
#include <mutex>
#include <thread>

namespace fernwick::native {
namespace {

std::mutex guard;
std::filesystem::path watched;  // empty: nothing to remove
std::terminate_handler previousTerminate = nullptr;
bool watcherStarted = false;
std::atomic<bool> ending{false};  // an ending signal came

sigset_t EndingSignals() {
  sigset_t set;
  sigemptyset(&set);
  for (const int signal : {SIGINT, SIGTERM, SIGHUP, SIGQUIT}) sigaddset(&set, signal);
  return set;
}

void RemoveWatched() {
  const std::lock_guard<std::mutex> lock(guard);
  if (watched.empty()) return;
  std::error_code ec;
  std::filesystem::remove_all(watched, ec);
  watched.clear();
}

// Waits for an ending signal, outside any signal handler, so that the
// folder can be removed with the ordinary library.
void Watch() {
  const sigset_t set = EndingSignals();
  int signal = 0;
  while (sigwait(&set, &signal) != 0) {
  }
  // A writer that takes the lock from now on waits for the end; one that
  // holds it finishes its file first.
  ending = true;
  RemoveWatched();
  ::_exit(128 + signal);
}

void RemoveAndTerminate() {
  RemoveWatched();
  if (previousTerminate != nullptr) previousTerminate();
  std::abort();
}

void TakeSignals() {
  const sigset_t set = EndingSignals();
  pthread_sigmask(SIG_BLOCK, &set, nullptr);
  if (!watcherStarted) {
    watcherStarted = true;
    std::thread(Watch).detach();
    previousTerminate = std::set_terminate(RemoveAndTerminate);
  }
}

}  // namespace

std::unique_lock<std::mutex> HoldRemoval() {
  std::unique_lock<std::mutex> lock(guard);
  if (ending) {
    lock.unlock();
    for (;;) pause();  // the signal's thread ends the process
  }
  return lock;
}

RemovalOnExit::RemovalOnExit(std::filesystem::path folder) : folder_(std::move(folder)) {
  {
    const std::lock_guard<std::mutex> lock(guard);
    watched = folder_;
  }
  TakeSignals();
}

RemovalOnExit::RemovalOnExit(const std::function<std::filesystem::path()>& make) {
  TakeSignals();
  const auto lock = HoldRemoval();
  folder_ = make();
  watched = folder_;
}

RemovalOnExit::~RemovalOnExit() {
  const std::lock_guard<std::mutex> lock(guard);
  watched.clear();
}

}  // namespace fernwick::native
