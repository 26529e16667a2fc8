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
  // The batch file's path, quoted or not, ends the command line.
  std::string upper = ToUpper(commandLine);
  if (!upper.empty() && upper.back() == '"') upper.pop_back();
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

platform::EndedTree RecordingProcess::EndProcessTree(std::uint32_t processId) {
  const platform::EndedTree ended = real_.EndProcessTree(processId);
  if (const auto batch = batchFiles_.find(processId);
      batch != batchFiles_.end() && ended == platform::EndedTree::kNothing) {
    capture_.unended.insert(batch->second);
  }
  return ended;
}

}  // namespace fernwick::recording
