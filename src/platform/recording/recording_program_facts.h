#pragma once
// The program's facts, recorded: its install folder. The command line and
// the own version belong to the program that replays, not to the machine.
#include "platform/program_facts.h"
#include "platform/recording/capture.h"

namespace fernwick::recording {

class RecordingProgramFacts : public platform::ProgramFacts {
 public:
  RecordingProgramFacts(platform::ProgramFacts& real, Capture& capture) : real_(real), capture_(capture) {}
  std::string CommandLine() override { return real_.CommandLine(); }
  std::string InstallFolder() override {
    std::string folder = real_.InstallFolder();
    if (!capture_.installFolder) capture_.installFolder = folder;
    return folder;
  }
  platform::OwnVersion Version() override { return real_.Version(); }

 private:
  platform::ProgramFacts& real_;
  Capture& capture_;
};

}  // namespace fernwick::recording
