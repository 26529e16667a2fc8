#include "platform/image/query_time_limit.h"

namespace fernwick::image {
namespace {

// How often a statement past its limit is cancelled again.
constexpr std::chrono::milliseconds kCancelAgain{20};

bool WaitOnClock(std::condition_variable& ended, std::unique_lock<std::mutex>& lock, std::chrono::milliseconds time,
                 const std::function<bool()>& hasEnded) {
  return ended.wait_for(lock, time, hasEnded);
}

}  // namespace

QueryTimeLimit::QueryTimeLimit(std::chrono::milliseconds limit, Wait wait)
    : limit_(limit), wait_(wait ? std::move(wait) : Wait(WaitOnClock)) {}

QueryTimeLimit::~QueryTimeLimit() {
  Ended();
}

void QueryTimeLimit::Started(std::function<void()> cancel) {
  Ended();
  std::lock_guard<std::mutex> lock(mutex_);
  hasEnded_ = false;
  passed_ = false;
  watcher_ = std::thread([this, cancel = std::move(cancel)] {
    std::unique_lock<std::mutex> held(mutex_);
    const std::function<bool()> hasEnded = [this] { return hasEnded_; };
    if (wait_(ended_, held, limit_, hasEnded)) return;
    passed_ = true;
    // The mutex is held while cancelling: Ended() cannot return, and so the
    // statement cannot be freed, while a cancel is under way.
    do {
      cancel();
    } while (!ended_.wait_for(held, kCancelAgain, hasEnded));
  });
}

void QueryTimeLimit::Ended() {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    hasEnded_ = true;
  }
  ended_.notify_all();
  if (watcher_.joinable()) watcher_.join();
}

bool QueryTimeLimit::Passed() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return passed_;
}

}  // namespace fernwick::image
