#pragma once
// The small services of a server image: clock, program facts, user
// interface and process control.
#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <type_traits>
#include <vector>

#include "platform/clock.h"
#include "platform/process_control.h"
#include "platform/program_facts.h"
#include "platform/user_interface.h"

namespace fernwick::image {

class ImageClock : public platform::Clock {
 public:
  // "YYYY-MM-DD HH:MM:SS"; empty means the host's local time.
  // A `strict` (captured) image without a time has no clock: reading it is
  // "not captured".
  explicit ImageClock(const std::string& fixedTime, bool strict = false);
  platform::LocalTime Now() override;

 private:
  bool fixed_ = false;
  bool strict_ = false;
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
  // The image has no one to pick a folder: the picker answers `browseAnswer`.
  std::string BrowseForFolder() override { return browseAnswer; }
  std::intptr_t RunShellExecute(const std::string& verb, const std::string& file, const std::string& parameters,
                                const std::string& directory, int showCommand) override;
  void SetWaitPointer(bool busy) override { waitPointer = busy; }

  struct ShellCall {
    std::string verb, file, parameters, directory;
    int showCommand = 0;
  };
  std::vector<std::string> shown;
  std::string clipboard;
  std::string browseAnswer;
  std::vector<ShellCall> shellCalls;
  bool waitPointer = false;
};

// Programs started on an image do not run: each program the image knows is
// a function that writes what the real one would (into the output overlay),
// at once, before the start returns.
class ImageProcessControl : public platform::ProcessControl {
 public:
  // Runs the program at its start; answers its exit code.
  using Program = std::function<std::uint32_t(const std::string& commandLine)>;
  using FileExists = std::function<bool(const std::string& windowsPath)>;

  explicit ImageProcessControl(FileExists fileExists) : fileExists_(std::move(fileExists)) {}

  // What starting a program whose file name is `name` (no folder, no
  // extension, any case: "si", "dumpel") does. A program that `needsFile`
  // starts only where its file is in the image (a batch file the program
  // copies there itself, say); the others stand for programs an image does
  // not carry.
  // `run` answers the exit code, or nothing for a program that always exits with 0.
  template <typename Run>
  void AddProgram(const std::string& name, Run run, bool needsFile = false) {
    if constexpr (std::is_void_v<std::invoke_result_t<Run&, const std::string&>>) {
      AddExitingProgram(
          name,
          [run = std::move(run)](const std::string& commandLine) mutable {
            run(commandLine);
            return std::uint32_t{0};
          },
          needsFile);
    } else {
      AddExitingProgram(name, Program(std::move(run)), needsFile);
    }
  }
  void AddExitingProgram(const std::string& name, Program run, bool needsFile);
  // Starting exactly this command line fails with `error` (a recorded start).
  void FailStart(const std::string& commandLine, std::uint32_t error) { failedStarts_[commandLine] = error; }
  // Waiting for a program started with exactly this command line answers
  // `answer` (a recorded wait: 0x102 the limit passed, kWaitFailed), after
  // the program wrote what it writes; ending it fails (a recorded end).
  void AnswerWait(const std::string& commandLine, std::uint32_t answer) { waits_[commandLine] = answer; }
  void FailEnd(const std::string& commandLine) { unended_.insert(commandLine); }

  bool SetProcessPriority(std::uint32_t priorityClass) override;
  // Resolves the program as CreateProcess does with an unquoted path: the
  // command line's blank-separated prefixes, shortest first. A program the
  // image knows runs; a file that exists but is unknown starts and does
  // nothing; anything else fails with 2 (file not found).
  platform::ProcessStart StartProcess(const std::string& commandLine, int windowStyle) override;
  // Every program of the image has ended by the time anyone waits, but for
  // one whose wait was recorded otherwise.
  std::uint32_t WaitForProcessId(std::uint32_t processId, std::uint32_t timeoutMs) override;
  // What the program answered, for a started id that is not released.
  std::optional<std::uint32_t> ExitCodeOf(std::uint32_t processId) override;
  // Nothing runs on, so there is nothing to end: the whole tree for a
  // started id, but for one whose end was recorded as failed.
  platform::EndedTree EndProcessTree(std::uint32_t processId) override;
  void ReleaseProcess(std::uint32_t processId) override;

  struct Started {
    std::string commandLine;
    int windowStyle = 0;
  };
  std::uint32_t priorityClass = 0;
  std::vector<Started> started;  // every start that succeeded, in order

 private:
  FileExists fileExists_;
  struct KnownProgram {
    Program run;
    bool needsFile = false;
  };
  std::map<std::string, KnownProgram> programs_;
  std::map<std::string, std::uint32_t> failedStarts_;
  std::map<std::string, std::uint32_t> waits_;
  std::set<std::string> unended_;
  std::map<std::uint32_t, std::string> commandLines_;  // process id -> command line, of each start
  std::map<std::uint32_t, std::uint32_t> exitCodes_;   // process id -> exit code, until released
  std::uint32_t nextProcessId_ = 0x1000;
};

}  // namespace fernwick::image
