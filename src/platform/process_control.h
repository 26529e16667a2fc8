#pragma once
// The own process, and the programs the gathering and the packaging start.
#include <cstdint>
#include <string>

namespace fernwick::platform {

inline constexpr std::uint32_t kBelowNormalPriorityClass = 0x4000;

// Window styles of a started program, as the callers pass them.
inline constexpr int kWindowHidden = 0;
inline constexpr int kWindowNormalFocus = 1;
inline constexpr int kWindowMinimizedFocus = 2;

// Wait without limit.
inline constexpr std::uint32_t kInfinite = 0xFFFFFFFF;
// What a wait answers when it failed (WAIT_FAILED).
inline constexpr std::uint32_t kWaitFailed = 0xFFFFFFFF;
// What a wait answers when the time-out passed first (WAIT_TIMEOUT).
inline constexpr std::uint32_t kWaitTimeout = 0x102;

struct ProcessStart {
  std::uint32_t processId = 0;
  // The platform's error code (2 file not found, ...); 0 when the program started.
  std::uint32_t error = 0;
};

class ProcessControl {
 public:
  virtual ~ProcessControl() = default;
  // Opens the own process with PROCESS_SET_INFORMATION and sets its class.
  virtual bool SetProcessPriority(std::uint32_t priorityClass) = 0;
  // Starts the command line, unchanged, as a new process with the window
  // style; returns at once.
  virtual ProcessStart StartProcess(const std::string& commandLine, int windowStyle) = 0;
  // Opens the process by id with SYNCHRONIZE access (inheritable), waits on
  // it for at most `timeoutMs` and closes it. The wait's result: 0 ended,
  // 0x102 timed out, kWaitFailed when the wait failed or the process could
  // not be opened.
  virtual std::uint32_t WaitForProcessId(std::uint32_t processId, std::uint32_t timeoutMs) = 0;
  // Ends the process started last with this id together with every program
  // it started since, and waits briefly until they are gone. Where the
  // platform could not keep the programs together, ends the process alone.
  // False when nothing could be ended.
  virtual bool EndProcessTree(std::uint32_t processId) = 0;
};

}  // namespace fernwick::platform
