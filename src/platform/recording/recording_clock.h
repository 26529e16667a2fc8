#pragma once
// The clock, recorded: the first time it was read.
#include "platform/clock.h"
#include "platform/recording/capture.h"

namespace fernwick::recording {

class RecordingClock : public platform::Clock {
 public:
  RecordingClock(platform::Clock& real, Capture& capture) : real_(real), capture_(capture) {}
  platform::LocalTime Now() override {
    const platform::LocalTime now = real_.Now();
    if (!capture_.now) capture_.now = now;
    return now;
  }

 private:
  platform::Clock& real_;
  Capture& capture_;
};

}  // namespace fernwick::recording
