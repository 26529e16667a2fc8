#pragma once
// The own process, and the programs the gathering and the packaging start.
#include <cstdint>
#include <optional>
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

// What ending a program reached.
enum class EndedTree {
  kNothing,          // it could not be ended (or is not one this control started)
  kProgramAlone,     // the program was ended; the programs it started could not be reached and may run on
  kWithItsPrograms,  // the program and every program it started were ended
};

class ProcessControl {
 public:
  virtual ~ProcessControl() = default;
  // Opens the own process with PROCESS_SET_INFORMATION and sets its class.
  virtual bool SetProcessPriority(std::uint32_t priorityClass) = 0;
  // Starts the command line, unchanged, as a new process with the window
  // style; returns at once. The control keeps hold of the started process
  // (its handle, on Windows) until ReleaseProcess, so that its id cannot be
  // given to another process meanwhile.
  virtual ProcessStart StartProcess(const std::string& commandLine, int windowStyle) = 0;
  // Waits for the process for at most `timeoutMs`: a process this control
  // started and still holds is waited for through what it holds; any other
  // id is opened with SYNCHRONIZE access (inheritable) for the wait. The
  // wait's result: 0 ended, 0x102 timed out, kWaitFailed when the wait
  // failed or the process could not be opened.
  virtual std::uint32_t WaitForProcessId(std::uint32_t processId, std::uint32_t timeoutMs) = 0;
  // The exit code of a process this control started and still holds, once
  // it has ended; nullopt while it runs or when it is not held.
  virtual std::optional<std::uint32_t> ExitCodeOf(std::uint32_t /*processId*/) { return std::nullopt; }
  // Ends a process this control started and still holds, together with
  // every program it started since where the platform could keep them
  // together, and waits briefly until they are gone. Never opens a process
  // by its id: an id whose process is no longer held ends nothing.
  virtual EndedTree EndProcessTree(std::uint32_t processId) = 0;
  // Lets go of a started process; its id means nothing to the control any more.
  virtual void ReleaseProcess(std::uint32_t /*processId*/) {}
};

}  // namespace fernwick::platform
