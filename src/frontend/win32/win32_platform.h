#pragma once
// The Windows platform bundle of the program.
#include <memory>

#include "platform/platform.h"
#include "platform/win32/win32_services.h"

namespace fernwick::win32 {

class Win32Platform {
 public:
  Win32Platform();
  ~Win32Platform();
  Win32Platform(const Win32Platform&) = delete;
  Win32Platform& operator=(const Win32Platform&) = delete;

  platform::Platform& Get() { return *bundle_; }
  Win32UserInterface& Ui();

 private:
  struct Services;
  std::unique_ptr<Services> services_;
  std::unique_ptr<platform::Platform> bundle_;
};

}  // namespace fernwick::win32
