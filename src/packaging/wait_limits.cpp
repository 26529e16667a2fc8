#include "packaging/wait_limits.h"

#include "common/runtime_error.h"
#include "packaging/external_app.h"

namespace fernwick::packaging {

std::string LimitText(std::uint32_t milliseconds) {
  const std::uint32_t seconds = milliseconds / 1000;
  if (seconds >= 600 && seconds % 60 == 0) return std::to_string(seconds / 60) + " minutes";
  return std::to_string(seconds) + " seconds";
}

void RunAndWaitWithin(platform::ProcessControl& process, const std::string& commandLine, const WaitLimit& limit,
                      MessageBoxes& record) {
  std::uint32_t processId = 0;
  if (RunAndWait(process, commandLine, platform::kWindowHidden, limit.milliseconds, &processId) !=
      platform::kWaitTimeout) {
    return;
  }
  const std::string late = std::string(limit.program) + " did not end within " + LimitText(limit.milliseconds);
  if (!limit.endAtLimit) {
    record.RecordLostPart(late + "; Write To File went on while it still ran");
    return;
  }
  const bool ended = process.EndProcessTree(processId);
  throw RuntimeError(err::kWaitTimedOut,
                     late + (ended ? " and was ended with the programs it started" : " and could not be ended"));
}

void RunCaptureBatch(platform::ProcessControl& process, const std::string& commandLine, const WaitLimit& limit,
                     MessageBoxes& record) {
  try {
    RunAndWaitWithin(process, commandLine, limit, record);
  } catch (const RuntimeError& e) {
    if (e.Number() == err::kWaitTimedOut) record.RecordLostPart(e.Description());
    throw;
  }
}

}  // namespace fernwick::packaging
