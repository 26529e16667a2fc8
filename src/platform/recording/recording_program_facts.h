#pragma once
// The program's facts, recorded: its install folder, and the switches of
// its command line (what follows the program's name), which a replay uses
// unless it is given switches of its own. The own version belongs to the
// program that replays, not to the machine.
#include "platform/program_facts.h"
#include "platform/recording/capture.h"
#include "platform/recording/capture_texts.h"

namespace fernwick::recording {

class RecordingProgramFacts : public platform::ProgramFacts {
 public:
  RecordingProgramFacts(platform::ProgramFacts& real, Capture& capture) : real_(real), capture_(capture) {}
  std::string CommandLine() override {
    std::string line = real_.CommandLine();
    if (!capture_.switches) capture_.switches = SwitchesOf(line);
    return line;
  }
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
