#pragma once
// Process control, recorded as far as the gathering depends on it: a start
// that failed, which of the gathering's batch files ran (their output is
// program output, see RecordingFiles), and how waiting for one of them
// answered when it did not simply end, and whether ending it then failed.
#include <map>

#include "platform/process_control.h"
#include "platform/recording/capture.h"
#include "platform/recording/recording_files.h"

namespace fernwick::recording {

class RecordingProcess : public platform::ProcessControl {
 public:
  RecordingProcess(platform::ProcessControl& real, Capture& capture, RecordingFiles& files)
      : real_(real), capture_(capture), files_(files) {}

  bool SetProcessPriority(std::uint32_t priorityClass) override { return real_.SetProcessPriority(priorityClass); }
  platform::ProcessStart StartProcess(const std::string& commandLine, int windowStyle) override;
  std::uint32_t WaitForProcessId(std::uint32_t processId, std::uint32_t timeoutMs) override;
  std::optional<std::uint32_t> ExitCodeOf(std::uint32_t processId) override { return real_.ExitCodeOf(processId); }
  platform::EndedTree EndProcessTree(std::uint32_t processId) override;
  void ReleaseProcess(std::uint32_t processId) override { real_.ReleaseProcess(processId); }

 private:
  platform::ProcessControl& real_;
  Capture& capture_;
  RecordingFiles& files_;
  std::map<std::uint32_t, std::string> batchFiles_;  // process id -> command line
};

}  // namespace fernwick::recording
