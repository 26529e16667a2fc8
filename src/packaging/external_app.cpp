#include "packaging/external_app.h"

#include "common/runtime_error.h"

namespace fernwick::packaging {

long ErrorNumberOf(std::uint32_t platformError) {
  switch (platformError) {
    case 3: return err::kPathNotFound;       // ERROR_PATH_NOT_FOUND
    case 5: return err::kPermissionDenied;   // ERROR_ACCESS_DENIED
    case 32: return err::kPermissionDenied;  // ERROR_SHARING_VIOLATION
    default: return err::kFileNotFound;
  }
}

void RunAndWait(platform::ProcessControl& process, const std::string& commandLine, int windowStyle,
                std::uint32_t timeoutMs) {
  const platform::ProcessStart started = process.StartProcess(commandLine, windowStyle);
  if (started.error != 0) Raise(ErrorNumberOf(started.error));
  WaitForProcess(process, started.processId, timeoutMs);
}

bool WaitForProcess(platform::ProcessControl& process, std::uint32_t processId, std::uint32_t timeoutMs) {
  try {
    return process.WaitForProcessId(processId, timeoutMs) != platform::kWaitFailed;
  } catch (const std::exception&) {
    return false;
  }
}

}  // namespace fernwick::packaging
