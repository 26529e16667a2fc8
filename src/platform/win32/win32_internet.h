#pragma once
// HTTP downloads through WinINet.
#include "platform/internet.h"

namespace fernwick::win32 {

class Win32Internet : public platform::Internet {
 public:
  std::unique_ptr<platform::InternetUrl> OpenUrl(const std::string& agent, std::uint32_t accessType,
                                                 const std::string& url, std::uint32_t flags,
                                                 std::uint32_t& error) override;
};

}  // namespace fernwick::win32
