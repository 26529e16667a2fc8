#include "platform/image/captured_registry.h"

#include <cstring>

#include "platform/image/not_captured.h"

namespace fernwick::image {

long CapturedRegistry::OpenKey(platform::RegKey parent, const std::string& subKey, platform::RegKey& opened) {
  const auto path = paths_.Below(parent, subKey);
  if (path) {
    const auto recorded = answers_.keyCodes.find(ToUpper(*path));
    if (recorded != answers_.keyCodes.end()) return recorded->second;
  }
  const long code = exports_.OpenKey(parent, subKey, opened);
  if (code == platform::kErrorSuccess && path) paths_.Opened(opened, *path);
  if (code == platform::kErrorFileNotFound && path && strict_) throw NotCaptured("registry key " + ShortKeyName(*path));
  return code;
}

long CapturedRegistry::QueryValue(platform::RegKey key, const std::string& valueName, std::uint32_t& type,
                                  std::uint8_t* data, std::uint32_t& size) {
  const long code = exports_.QueryValue(key, valueName, type, data, size);
  const std::string* path = paths_.Of(key);
  if (code != platform::kErrorFileNotFound || path == nullptr) return code;
  const auto recorded = answers_.valueCodes.find(ToUpper(*path) + "\n" + ToUpper(valueName));
  if (recorded != answers_.valueCodes.end()) return recorded->second;
  if (strict_) {
    throw NotCaptured("registry value " + ShortKeyName(*path) + "\\" + (valueName.empty() ? "(Default)" : valueName));
  }
  return code;
}

long CapturedRegistry::EnumKey(platform::RegKey key, std::uint32_t index, char* name, std::uint32_t nameSize) {
  const std::string* path = paths_.Of(key);
  if (path == nullptr) return exports_.EnumKey(key, index, name, nameSize);
  const auto recorded = answers_.subkeys.find(ToUpper(*path));
  if (recorded == answers_.subkeys.end()) {
    if (strict_) throw NotCaptured("registry subkeys of " + ShortKeyName(*path));
    return exports_.EnumKey(key, index, name, nameSize);
  }
  const auto& [complete, names] = recorded->second;
  if (index < names.size()) {
    const std::string_view found = names[index];
    if (found.size() + 1 > nameSize) return platform::kErrorMoreData;
    std::memcpy(name, found.data(), found.size());
    name[found.size()] = '\0';
    return platform::kErrorSuccess;
  }
  if (complete || !strict_) return platform::kErrorNoMoreItems;
  throw NotCaptured("registry subkey " + std::to_string(index) + " of " + ShortKeyName(*path));
}

long CapturedRegistry::CloseKey(platform::RegKey key) {
  paths_.Closed(key);
  return exports_.CloseKey(key);
}

}  // namespace fernwick::image
