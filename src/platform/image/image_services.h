#pragma once
// The small services of a server image: clock, program facts, user
// interface and process control.
#include <string>
#include <vector>

#include "platform/clock.h"
#include "platform/process_control.h"
#include "platform/program_facts.h"
#include "platform/user_interface.h"

namespace fernwick::image {

class ImageClock : public platform::Clock {
 public:
  // "YYYY-MM-DD HH:MM:SS"; empty means the host's local time.
  explicit ImageClock(const std::string& fixedTime);
  platform::LocalTime Now() override;

 private:
  bool fixed_ = false;
  platform::LocalTime time_;
};

class ImageProgramFacts : public platform::ProgramFacts {
 public:
  ImageProgramFacts(std::string commandLine, std::string installFolder)
      : commandLine_(std::move(commandLine)), installFolder_(std::move(installFolder)) {}
  std::string CommandLine() override { return commandLine_; }
  std::string InstallFolder() override { return installFolder_; }
  platform::OwnVersion Version() override;

 private:
  std::string commandLine_;
  std::string installFolder_;
};

class ImageUserInterface : public platform::UserInterface {
 public:
  int MessageBox(const std::string& text, const std::string& title, unsigned buttons) override;
  bool SetClipboardText(const std::string& text) override;

  std::vector<std::string> shown;
  std::string clipboard;
};

class ImageProcessControl : public platform::ProcessControl {
 public:
  bool SetProcessPriority(std::uint32_t priorityClass) override;
  std::uint32_t priorityClass = 0;
};

}  // namespace fernwick::image
