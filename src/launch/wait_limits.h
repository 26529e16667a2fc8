#pragma once
// How long the program waits for each program it starts, in one table, and
// what happens when one outlives its limit.
#include <cstdint>
#include <optional>
#include <string>

#include "common/message_boxes.h"
#include "platform/process_control.h"

namespace fernwick::launch {

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

// How a program started within its limit ended.
struct ProgramEnd {
  enum class How {
    kExited,        // it ended by itself; `exitCode` when the platform told it
    kEndedAtLimit,  // it outlived its limit and was ended (or could not be): see `late`
    kLeftRunning,   // it outlived a limit it is left running at
    kWaitFailed,    // the wait failed; how it ended is unknown
  };
  How how = How::kExited;
  std::optional<std::uint32_t> exitCode;
  // For a program that outlived its limit: the line that says so, and
  // exactly what was ended.
  std::string late;

  bool ExitedWith(std::uint32_t code) const { return how == How::kExited && exitCode == code; }
};

// RunAndWait hidden, within the limit. A program that cannot be started
// raises the start error. One that outlives a limit it is ended at is ended
// with its children where the platform can; one left running is recorded in
// `record` as a lost part. Never raises for a time-out.
ProgramEnd RunWithin(platform::ProcessControl& process, const std::string& commandLine, const WaitLimit& limit,
                     MessageBoxes& record);

// As RunWithin, but a program ended at its limit raises err::kWaitTimedOut
// with the description of `ProgramEnd::late`.
ProgramEnd RunAndWaitWithin(platform::ProcessControl& process, const std::string& commandLine, const WaitLimit& limit,
                            MessageBoxes& record);

// The gathering's capture batch files (si.bat, ipconfigdump.bat): as
// RunAndWaitWithin, and an ended one is recorded too, since the report's
// error line reaches no record of its own.
void RunCaptureBatch(platform::ProcessControl& process, const std::string& commandLine, const WaitLimit& limit,
                     MessageBoxes& record);

}  // namespace fernwick::launch
