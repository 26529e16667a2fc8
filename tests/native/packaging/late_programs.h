#pragma once
// The processes of a server image, with each start, wait and end logged, and
// a fake for a program that never ends: the one whose command line holds
// `hung` answers every wait with a time-out (or `answer`), at once, and
// ending it fails unless `endable`.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/process_control.h"

namespace fernwick::testing {

using Log = std::vector<std::string>;

class LatePrograms : public platform::ProcessControl {
 public:
  LatePrograms(platform::ProcessControl& inner, Log& log, std::string hung,
               std::uint32_t answer = platform::kWaitTimeout, bool endable = true)
      : inner_(inner), log_(log), hung_(std::move(hung)), answer_(answer), endable_(endable) {}
  bool SetProcessPriority(std::uint32_t c) override { return inner_.SetProcessPriority(c); }
  platform::ProcessStart StartProcess(const std::string& commandLine, int windowStyle) override {
    log_.push_back("start " + std::to_string(windowStyle) + " " + commandLine);
    const auto started = inner_.StartProcess(commandLine, windowStyle);
    if (!hung_.empty() && commandLine.find(hung_) != std::string::npos) hungId_ = started.processId;
    return started;
  }
  std::uint32_t WaitForProcessId(std::uint32_t id, std::uint32_t timeoutMs) override {
    log_.push_back("wait " + (timeoutMs == platform::kInfinite ? std::string("INFINITE") : std::to_string(timeoutMs)));
    const std::uint32_t result = inner_.WaitForProcessId(id, timeoutMs);
    return id == hungId_ ? answer_ : result;
  }
  std::optional<std::uint32_t> ExitCodeOf(std::uint32_t id) override {
    return id == hungId_ ? std::nullopt : inner_.ExitCodeOf(id);
  }
  platform::EndedTree EndProcessTree(std::uint32_t id) override {
    log_.push_back("end tree");
    const platform::EndedTree ended = inner_.EndProcessTree(id);
    return id != hungId_ ? ended : endable_ ? endAnswer_ : platform::EndedTree::kNothing;
  }
  void ReleaseProcess(std::uint32_t id) override { inner_.ReleaseProcess(id); }
  // What ending the hung program reaches when it can be ended.
  void EndsOnly(platform::EndedTree answer) { endAnswer_ = answer; }

 private:
  platform::ProcessControl& inner_;
  Log& log_;
  std::string hung_;
  std::uint32_t answer_;
  bool endable_;
  std::uint32_t hungId_ = 0;
  platform::EndedTree endAnswer_ = platform::EndedTree::kWithItsPrograms;
};

}  // namespace fernwick::testing
