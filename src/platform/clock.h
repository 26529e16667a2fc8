#pragma once

namespace fernwick::platform {

struct LocalTime {
  int year = 0;
  int month = 0;
  int day = 0;
  int hour = 0;
  int minute = 0;
  int second = 0;
};

class Clock {
 public:
  virtual ~Clock() = default;
  // The machine's local date and time.
  virtual LocalTime Now() = 0;
};

}  // namespace fernwick::platform
