#include "launch/external_app.h"

#include "common/runtime_error.h"

namespace fernwick::launch {

long ErrorNumberOf(std::uint32_t platformError) {
  switch (platformError) {
    case 3: return err::kPathNotFound;       // ERROR_PATH_NOT_FOUND
    case 5: return err::kPermissionDenied;   // ERROR_ACCESS_DENIED
    case 32: return err::kPermissionDenied;  // ERROR_SHARING_VIOLATION
    default: return err::kFileNotFound;
  }
}

namespace {

std::uint32_t WaitResult(platform::ProcessControl& process, std::uint32_t processId, std::uint32_t timeoutMs) {
  try {
    return process.WaitForProcessId(processId, timeoutMs);
  } catch (const std::exception&) {
    return platform::kWaitFailed;
  }
}

}  // namespace

std::uint32_t RunAndWait(platform::ProcessControl& process, const std::string& commandLine, int windowStyle,
                         std::uint32_t timeoutMs, std::uint32_t* processId) {
  const platform::ProcessStart started = process.StartProcess(commandLine, windowStyle);
  if (started.error != 0) Raise(ErrorNumberOf(started.error));
  if (processId != nullptr) *processId = started.processId;
  return WaitResult(process, started.processId, timeoutMs);
}

bool WaitForProcess(platform::ProcessControl& process, std::uint32_t processId, std::uint32_t timeoutMs) {
  return WaitResult(process, processId, timeoutMs) != platform::kWaitFailed;
}

}  // namespace fernwick::launch
