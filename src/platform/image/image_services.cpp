#include "platform/image/image_services.h"

#include <cstdio>
#include <ctime>

#include "common/text.h"
#include "platform/image/not_captured.h"
#include "platform/own_version.h"

namespace fernwick::image {

ImageClock::ImageClock(const std::string& fixedTime, bool strict) : strict_(strict) {
  platform::LocalTime t;
  if (std::sscanf(fixedTime.c_str(), "%d-%d-%d %d:%d:%d", &t.year, &t.month, &t.day, &t.hour, &t.minute, &t.second) ==
      6) {
    fixed_ = true;
    time_ = t;
  }
}

platform::LocalTime ImageClock::Now() {
  if (fixed_) return time_;
  if (strict_) throw NotCaptured("clock");
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  return {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec};
}

platform::OwnVersion ImageProgramFacts::Version() {
  return platform::kOwnVersion;
}

int ImageUserInterface::MessageBox(const std::string& text, const std::string& title, unsigned /*buttons*/) {
  shown.push_back(text);
  std::fprintf(stderr, "[%s] %s\n", title.c_str(), text.c_str());
  return platform::kIdOk;
}

bool ImageUserInterface::SetClipboardText(const std::string& text) {
  clipboard = text;
  return true;
}

std::intptr_t ImageUserInterface::RunShellExecute(const std::string& verb, const std::string& file,
                                                  const std::string& parameters, const std::string& directory,
                                                  int showCommand) {
  shellCalls.push_back({verb, file, parameters, directory, showCommand});
  return 42;
}

namespace {

// "C:\Program Files\Fernwick\si.bat" -> "SI"
std::string ProgramName(std::string path) {
  if (const auto slash = path.find_last_of('\\'); slash != std::string::npos) path.erase(0, slash + 1);
  if (const auto dot = path.find_last_of('.'); dot != std::string::npos) path.erase(dot);
  return ToUpper(path);
}

}  // namespace

void ImageProcessControl::AddExitingProgram(const std::string& name, Program run, bool needsFile) {
  programs_[ToUpper(name)] = {std::move(run), needsFile};
}

bool ImageProcessControl::SetProcessPriority(std::uint32_t cls) {
  priorityClass = cls;
  return true;
}

platform::ProcessStart ImageProcessControl::StartProcess(const std::string& commandLine, int windowStyle) {
  if (const auto failed = failedStarts_.find(commandLine); failed != failedStarts_.end()) return {0, failed->second};
  std::vector<std::string> candidates;
  if (!commandLine.empty() && commandLine.front() == '"') {
    const auto close = commandLine.find('"', 1);
    candidates.push_back(commandLine.substr(1, close == std::string::npos ? std::string::npos : close - 1));
  } else {
    for (std::size_t blank = commandLine.find(' ');; blank = commandLine.find(' ', blank + 1)) {
      candidates.push_back(commandLine.substr(0, blank));
      if (blank == std::string::npos) break;
    }
  }
  for (const std::string& candidate : candidates) {
    auto known = programs_.find(ProgramName(candidate));
    const bool exists = fileExists_ && (fileExists_(candidate) || fileExists_(candidate + ".exe"));
    if (known != programs_.end() && known->second.needsFile && !exists) known = programs_.end();
    if (known == programs_.end() && !exists) continue;
    started.push_back({commandLine, windowStyle});
    exitCodes_[nextProcessId_] = known != programs_.end() ? known->second.run(commandLine) : 0;
    commandLines_[nextProcessId_] = commandLine;
    return {nextProcessId_++, 0};
  }
  return {0, 2};
}

std::uint32_t ImageProcessControl::WaitForProcessId(std::uint32_t processId, std::uint32_t /*timeoutMs*/) {
  const auto command = commandLines_.find(processId);
  if (command == commandLines_.end()) return platform::kWaitFailed;
  const auto wait = waits_.find(command->second);
  return wait == waits_.end() ? 0 : wait->second;
}

std::optional<std::uint32_t> ImageProcessControl::ExitCodeOf(std::uint32_t processId) {
  const auto code = exitCodes_.find(processId);
  if (code == exitCodes_.end()) return std::nullopt;
  return code->second;
}

platform::EndedTree ImageProcessControl::EndProcessTree(std::uint32_t processId) {
  const auto command = commandLines_.find(processId);
  if (exitCodes_.count(processId) == 0 || command == commandLines_.end() || unended_.count(command->second) != 0) {
    return platform::EndedTree::kNothing;
  }
  return platform::EndedTree::kWithItsPrograms;
}

void ImageProcessControl::ReleaseProcess(std::uint32_t processId) {
  exitCodes_.erase(processId);
}

}  // namespace fernwick::image
