#include "platform/recording/recording_registry.h"

#include <vector>

#include "common/text.h"

namespace fernwick::recording {

CapturedKey* RecordingRegistry::KeyOf(platform::RegKey key) {
  const std::string* path = paths_.Of(key);
  if (path == nullptr) return nullptr;
  CapturedKey& captured = capture_.keys[ToUpper(*path)];
  if (captured.path.empty()) captured.path = *path;
  return &captured;
}

long RecordingRegistry::OpenKey(platform::RegKey parent, const std::string& subKey, platform::RegKey& opened) {
  const long code = real_.OpenKey(parent, subKey, opened);
  const auto path = paths_.Below(parent, subKey);
  if (!path) return code;
  if (code == platform::kErrorSuccess) paths_.Opened(opened, *path);
  CapturedKey& captured = capture_.keys[ToUpper(*path)];
  if (captured.path.empty()) captured.path = *path;
  if (!captured.openCode) captured.openCode = code;
  return code;
}

long RecordingRegistry::QueryValue(platform::RegKey key, const std::string& valueName, std::uint32_t& type,
                                   std::uint8_t* data, std::uint32_t& size) {
  const long code = real_.QueryValue(key, valueName, type, data, size);
  CapturedKey* captured = KeyOf(key);
  if (captured == nullptr) return code;
  const std::string upper = ToUpper(valueName);
  if (captured->values.count(upper) > 0) return code;
  CapturedValue value;
  value.name = valueName;
  if (code == platform::kErrorSuccess && data != nullptr) {
    value.type = type;
    value.bytes.assign(reinterpret_cast<const char*>(data), size);
  } else if (code != platform::kErrorSuccess && code != platform::kErrorMoreData) {
    value.code = code;
  } else {
    // The caller asked for the size only: the recording reads the whole value.
    std::vector<std::uint8_t> whole(size + 1);
    std::uint32_t wholeSize = static_cast<std::uint32_t>(whole.size());
    if (real_.QueryValue(key, valueName, value.type, whole.data(), wholeSize) != platform::kErrorSuccess) return code;
    value.bytes.assign(reinterpret_cast<const char*>(whole.data()), wholeSize);
  }
  captured->values.emplace(upper, std::move(value));
  return code;
}

long RecordingRegistry::EnumKey(platform::RegKey key, std::uint32_t index, char* name, std::uint32_t nameSize) {
  const long code = real_.EnumKey(key, index, name, nameSize);
  CapturedKey* captured = KeyOf(key);
  if (captured == nullptr || captured->subkeysComplete || index != captured->subkeys.size()) return code;
  if (code == platform::kErrorSuccess) {
    captured->subkeys.emplace_back(name);
  } else if (code == platform::kErrorNoMoreItems) {
    captured->subkeysComplete = true;
  } else if (code == platform::kErrorMoreData) {
    char whole[256] = {};  // a key name has at most 255 characters
    if (real_.EnumKey(key, index, whole, sizeof whole) == platform::kErrorSuccess)
      captured->subkeys.emplace_back(whole);
  }
  return code;
}

long RecordingRegistry::CloseKey(platform::RegKey key) {
  paths_.Closed(key);
  return real_.CloseKey(key);
}

}  // namespace fernwick::recording
