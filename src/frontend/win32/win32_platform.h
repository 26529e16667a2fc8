#pragma once
// The Windows platform bundle of the program. It records what the program
// reads (recording::Recorder), so that Write To File can pack the server
// image of the gathering.
#include <memory>

#include "platform/platform.h"
#include "platform/win32/win32_services.h"

namespace fernwick::recording {
class Recorder;
}

namespace fernwick::win32 {

class Win32Platform {
 public:
  Win32Platform();
  ~Win32Platform();
  Win32Platform(const Win32Platform&) = delete;
  Win32Platform& operator=(const Win32Platform&) = delete;

  // The recording bundle, which the program runs on.
  platform::Platform& Get();
  Win32UserInterface& Ui();

 private:
  struct Services;
  std::unique_ptr<Services> services_;
  std::unique_ptr<platform::Platform> bundle_;
  std::unique_ptr<recording::Recorder> recorder_;
};

}  // namespace fernwick::win32
