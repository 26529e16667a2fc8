#pragma once
// The full path of each open registry key ("HKEY_LOCAL_MACHINE\SOFTWARE\X"),
// by the handle a registry gave out for it.
#include <map>
#include <optional>
#include <string>

#include "platform/registry.h"

namespace fernwick::recording {

class KeyPaths {
 public:
  // The path `subKey` names below `parent`; nullopt for a handle not known.
  std::optional<std::string> Below(platform::RegKey parent, const std::string& subKey) const {
    const std::string* base = nullptr;
    static const std::string kLocalMachine = "HKEY_LOCAL_MACHINE";
    static const std::string kClassesRoot = "HKEY_CLASSES_ROOT";
    if (parent == platform::kHkeyLocalMachine) {
      base = &kLocalMachine;
    } else if (parent == platform::kHkeyClassesRoot) {
      base = &kClassesRoot;
    } else if (const auto known = paths_.find(parent); known != paths_.end()) {
      base = &known->second;
    }
    if (base == nullptr) return std::nullopt;
    return subKey.empty() ? *base : *base + "\\" + subKey;
  }
  const std::string* Of(platform::RegKey key) const {
    const auto known = paths_.find(key);
    return known == paths_.end() ? nullptr : &known->second;
  }
  void Opened(platform::RegKey key, std::string path) { paths_[key] = std::move(path); }
  void Closed(platform::RegKey key) { paths_.erase(key); }

 private:
  std::map<platform::RegKey, std::string> paths_;
};

}  // namespace fernwick::recording
