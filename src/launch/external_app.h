#pragma once
// modCallExternalApp: the one way the program starts another program and
// waits for it. Below the report and Write To File, which both start
// programs through it.
#include <cstdint>
#include <string>

#include "platform/process_control.h"

namespace fernwick::launch {

// Starts the command line with the window style and waits for it at most
// `timeoutMs` (platform::kInfinite: without limit). A program that cannot be
// started raises the start error (53 "File not found" for a missing
// program) before any wait. A time-out leaves the program running. Answers
// the wait's result (0 ended, platform::kWaitTimeout, platform::kWaitFailed)
// and, through `processId`, the started program's id, which the process
// control holds until it is released.
std::uint32_t RunAndWait(platform::ProcessControl& process, const std::string& commandLine, int windowStyle,
                         std::uint32_t timeoutMs, std::uint32_t* processId = nullptr);

// The run-time error number of a failed start or file operation, from the
// platform's error code: 76 path not found, 70 permission denied, else 53
// file not found.
long ErrorNumberOf(std::uint32_t platformError);

// Waits until the process ends or the time-out passes. False only when the
// wait itself failed (for instance: the process had already ended and its
// id is gone); never raises.
bool WaitForProcess(platform::ProcessControl& process, std::uint32_t processId, std::uint32_t timeoutMs);

}  // namespace fernwick::launch
