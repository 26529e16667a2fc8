#include "platform/recording/recording_process.h"

#include <exception>

#include "common/text.h"

namespace fernwick::recording {

platform::ProcessStart RecordingProcess::StartProcess(const std::string& commandLine, int windowStyle) {
  const platform::ProcessStart start = real_.StartProcess(commandLine, windowStyle);
  if (start.error != 0) {
    capture_.failedStarts.emplace(commandLine, start.error);
    return start;
  }
  const std::string upper = ToUpper(commandLine);
  for (const GatheringProgram& program : kGatheringPrograms) {
    std::string tail(1, '\\');
    tail += ToUpper(program.name);
    tail += ".BAT";
    if (upper.size() >= tail.size() && upper.compare(upper.size() - tail.size(), tail.size(), tail) == 0) {
      files_.ProgramStarted(program);
      batchFiles_[start.processId] = commandLine;
    }
  }
  return start;
}

std::uint32_t RecordingProcess::WaitForProcessId(std::uint32_t processId, std::uint32_t timeoutMs) {
  const auto batch = batchFiles_.find(processId);
  std::uint32_t answer = platform::kWaitFailed;
  try {
    answer = real_.WaitForProcessId(processId, timeoutMs);
  } catch (const std::exception&) {
    if (batch != batchFiles_.end()) capture_.waits.emplace(batch->second, answer);
    throw;
  }
  if (batch != batchFiles_.end() && answer != 0) capture_.waits.emplace(batch->second, answer);
  return answer;
}

bool RecordingProcess::EndProcessTree(std::uint32_t processId) {
  const bool ended = real_.EndProcessTree(processId);
  if (const auto batch = batchFiles_.find(processId); batch != batchFiles_.end() && !ended) {
    capture_.unended.insert(batch->second);
  }
  return ended;
}

}  // namespace fernwick::recording
