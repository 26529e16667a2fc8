#pragma once
// The registry, recorded: keys opened, values queried (the whole value, also
// when the caller asked for its size only) and subkeys enumerated.
#include "platform/recording/capture.h"
#include "platform/recording/key_paths.h"
#include "platform/registry.h"

namespace fernwick::recording {

class RecordingRegistry : public platform::Registry {
 public:
  RecordingRegistry(platform::Registry& real, Capture& capture) : real_(real), capture_(capture) {}

  long OpenKey(platform::RegKey parent, const std::string& subKey, platform::RegKey& opened) override;
  long QueryValue(platform::RegKey key, const std::string& valueName, std::uint32_t& type, std::uint8_t* data,
                  std::uint32_t& size) override;
  long EnumKey(platform::RegKey key, std::uint32_t index, char* name, std::uint32_t nameSize) override;
  long CloseKey(platform::RegKey key) override;

 private:
  CapturedKey* KeyOf(platform::RegKey key);

  platform::Registry& real_;
  Capture& capture_;
  KeyPaths paths_;
};

}  // namespace fernwick::recording
