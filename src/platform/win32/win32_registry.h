#pragma once
#include "platform/registry.h"

namespace fernwick::win32 {

// The registry through advapi32, read only.
class Win32Registry : public platform::Registry {
 public:
  long OpenKey(platform::RegKey parent, const std::string& subKey, platform::RegKey& opened) override;
  long QueryValue(platform::RegKey key, const std::string& valueName, std::uint32_t& type, std::uint8_t* data,
                  std::uint32_t& size) override;
  long EnumKey(platform::RegKey key, std::uint32_t index, char* name, std::uint32_t nameSize) override;
  long CloseKey(platform::RegKey key) override;
};

}  // namespace fernwick::win32
