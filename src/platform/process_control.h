#pragma once
#include <cstdint>

namespace fernwick::platform {

inline constexpr std::uint32_t kBelowNormalPriorityClass = 0x4000;

class ProcessControl {
 public:
  virtual ~ProcessControl() = default;
  // Opens the own process with PROCESS_SET_INFORMATION and sets its class.
  virtual bool SetProcessPriority(std::uint32_t priorityClass) = 0;
};

}  // namespace fernwick::platform
