#include "launch/wait_limits.h"

#include "common/runtime_error.h"
#include "launch/external_app.h"

namespace fernwick::launch {

std::string LimitText(std::uint32_t milliseconds) {
  const std::uint32_t seconds = milliseconds / 1000;
  if (seconds >= 600 && seconds % 60 == 0) return std::to_string(seconds / 60) + " minutes";
  return std::to_string(seconds) + " seconds";
}

namespace {

// The record names exactly what was ended: without a job (Windows before 8
// inside a job that forbids breakaway) only the program itself is.
std::string EndedText(platform::EndedTree ended) {
  switch (ended) {
    case platform::EndedTree::kWithItsPrograms: return " and was ended with the programs it started";
    case platform::EndedTree::kProgramAlone:
      return " and was ended; the programs it started could not be ended with it and may still run";
    case platform::EndedTree::kNothing: break;
  }
  return " and could not be ended";
}

}  // namespace

ProgramEnd RunWithin(platform::ProcessControl& process, const std::string& commandLine, const WaitLimit& limit,
                     MessageBoxes& record) {
  std::uint32_t processId = 0;
  const std::uint32_t wait = RunAndWait(process, commandLine, platform::kWindowHidden, limit.milliseconds, &processId);
  ProgramEnd end;
  if (wait == platform::kWaitTimeout) {
    end.late = std::string(limit.program) + " did not end within " + LimitText(limit.milliseconds);
    if (limit.endAtLimit) {
      end.how = ProgramEnd::How::kEndedAtLimit;
      end.late += EndedText(process.EndProcessTree(processId));
    } else {
      end.how = ProgramEnd::How::kLeftRunning;
      end.late += "; Write To File went on while it still ran";
      record.RecordLostPart(end.late);
    }
  } else if (wait == platform::kWaitFailed) {
    end.how = ProgramEnd::How::kWaitFailed;
  } else {
    end.exitCode = process.ExitCodeOf(processId);
  }
  process.ReleaseProcess(processId);
  return end;
}

ProgramEnd RunAndWaitWithin(platform::ProcessControl& process, const std::string& commandLine, const WaitLimit& limit,
                            MessageBoxes& record) {
  ProgramEnd end = RunWithin(process, commandLine, limit, record);
  if (end.how == ProgramEnd::How::kEndedAtLimit) throw RuntimeError(err::kWaitTimedOut, end.late);
  return end;
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

}  // namespace fernwick::launch
