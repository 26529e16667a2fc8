#include "platform/recording/recording_process.h"

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
    }
  }
  return start;
}

}  // namespace fernwick::recording
