#pragma once
// A time limit on each query of an image's database: the SQL is the
// gathering's own, but a view the image's script defines runs inside it,
// and may never end. Past the limit the statement is cancelled, again and
// again until it ends (a cancel that comes between two steps of the
// statement may go unseen), and the query fails.
#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>

#include "platform/odbc/odbc_database.h"

namespace fernwick::image {

class QueryTimeLimit : public odbc::QueryWatch {
 public:
  // Waits on `ended` under `lock` for at most `time`; true when the query
  // ended in that time. The default waits on the condition variable with
  // the steady clock; tests make the limit pass at once.
  using Wait = std::function<bool(std::condition_variable& ended, std::unique_lock<std::mutex>& lock,
                                  std::chrono::milliseconds time, const std::function<bool()>& hasEnded)>;

  explicit QueryTimeLimit(std::chrono::milliseconds limit, Wait wait = {});
  ~QueryTimeLimit() override;
  QueryTimeLimit(const QueryTimeLimit&) = delete;
  QueryTimeLimit& operator=(const QueryTimeLimit&) = delete;

  void Started(std::function<void()> cancel) override;
  void Ended() override;
  // Whether the last query passed the limit and was cancelled.
  bool Passed() const;
  std::chrono::milliseconds Limit() const { return limit_; }
  // The limit of the queries started from now on.
  void SetLimit(std::chrono::milliseconds limit) { limit_ = limit; }

 private:
  std::chrono::milliseconds limit_;
  Wait wait_;
  mutable std::mutex mutex_;
  std::condition_variable ended_;
  bool hasEnded_ = true;
  bool passed_ = false;
  std::thread watcher_;
};

}  // namespace fernwick::image
