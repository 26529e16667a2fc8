#pragma once
// How long the program waits for each program it starts, in one table, and
// what happens when one outlives its limit.
#include <cstdint>
#include <string>

#include "common/message_boxes.h"
#include "platform/process_control.h"

namespace fernwick::packaging {

struct WaitLimit {
  const char* program;  // as the error line names it
  std::uint32_t milliseconds;
  // Ended with the programs it started when the limit passes; otherwise left
  // running while the caller goes on.
  bool endAtLimit;
};

namespace limits {
inline constexpr WaitLimit kSystemInfoBatch{"si.bat", 180000, true};
inline constexpr WaitLimit kIpConfigBatch{"ipconfigdump.bat", 180000, true};
inline constexpr WaitLimit kEventLogDumper{"dumpel", 15 * 60000, true};  // per log
inline constexpr WaitLimit kServiceList{"Tabulex", 30000, false};
inline constexpr WaitLimit kSwitchReport{"media.bat", 30000, false};
inline constexpr WaitLimit kCabinetBuilder{"cabmaker", 15 * 60000, true};
}  // namespace limits

// "180 seconds", "15 minutes".
std::string LimitText(std::uint32_t milliseconds);

// RunAndWait hidden, within the limit. A program that outlives a limit it is
// ended at is ended with its children, and raises err::kWaitTimedOut with a
// description naming the program and the limit; one left running is
// recorded in `record` as a lost part, and the call returns.
void RunAndWaitWithin(platform::ProcessControl& process, const std::string& commandLine, const WaitLimit& limit,
                      MessageBoxes& record);

// The gathering's capture batch files (si.bat, ipconfigdump.bat): as
// RunAndWaitWithin, and an ended one is recorded too, since the report's
// error line reaches no record of its own.
void RunCaptureBatch(platform::ProcessControl& process, const std::string& commandLine, const WaitLimit& limit,
                     MessageBoxes& record);

}  // namespace fernwick::packaging
