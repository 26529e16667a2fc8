#pragma once
// Workstation facts through GetVersionExA and netapi32.
#include "platform/workstation.h"

namespace fernwick::win32 {

class Win32Workstation : public platform::Workstation {
 public:
  std::uint32_t OsPlatformId() override;
  std::uint32_t GetInfo102(platform::WkstaInfo102& info) override;
  std::uint32_t GetUserInfo1(platform::WkstaUserInfo1& info) override;
};

}  // namespace fernwick::win32
