#pragma once
// Runs a piece of work under a generous time bound. Work that is still
// running when the bound passes fails the test and ends the test program:
// a loop that hangs cannot be stopped from outside, and a hang must fail
// rather than stall the suite.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <future>
#include <thread>
#include <utility>

namespace fernwick::testing {

template <typename Work>
void FinishesWithin(std::chrono::seconds bound, Work work) {
  std::packaged_task<void()> task(std::move(work));
  std::future<void> done = task.get_future();
  std::thread(std::move(task)).detach();
  if (done.wait_for(bound) == std::future_status::timeout) {
    ADD_FAILURE() << "still running after " << bound.count() << " s";
    std::fflush(nullptr);
    std::_Exit(1);
  }
  done.get();  // rethrows what the work threw
}

}  // namespace fernwick::testing
