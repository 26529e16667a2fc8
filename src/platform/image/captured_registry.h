#pragma once
// The registry of an image with recorded answers: the registry double
// answers what its exports hold; a key or value it lacks answers the code
// recorded for it (not found, access denied, ...), and subkeys enumerate as
// recorded, in their recorded order. In a `strict` (captured) image, a
// question with no recorded answer is "not captured".
#include "platform/image/recorded_answers.h"
#include "platform/image/registry_double.h"
#include "platform/recording/key_paths.h"

namespace fernwick::image {

class CapturedRegistry : public platform::Registry {
 public:
  CapturedRegistry(RegistryDouble& exports, const RecordedAnswers& answers, bool strict)
      : exports_(exports), answers_(answers), strict_(strict) {}

  long OpenKey(platform::RegKey parent, const std::string& subKey, platform::RegKey& opened) override;
  long QueryValue(platform::RegKey key, const std::string& valueName, std::uint32_t& type, std::uint8_t* data,
                  std::uint32_t& size) override;
  long EnumKey(platform::RegKey key, std::uint32_t index, char* name, std::uint32_t nameSize) override;
  long CloseKey(platform::RegKey key) override;

 private:
  RegistryDouble& exports_;
  const RecordedAnswers& answers_;
  bool strict_;
  recording::KeyPaths paths_;
};

}  // namespace fernwick::image
