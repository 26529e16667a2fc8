#include "platform/image/registry_double.h"

#include <cstring>
#include <iterator>

namespace fernwick::image {
namespace {

constexpr long kErrorBadPathname = 161;

std::vector<std::string> SplitKeyPath(const std::string& path, bool& ok) {
  std::vector<std::string> parts;
  ok = true;
  if (path.empty()) return parts;
  if (path.front() == '\\') {
    ok = false;
    return parts;
  }
  std::size_t start = 0;
  while (start <= path.size()) {
    const std::size_t end = path.find('\\', start);
    const std::string part = path.substr(start, end == std::string::npos ? std::string::npos : end - start);
    if (end == std::string::npos) {
      if (part.find('\0') != std::string::npos) ok = false;  // Windows names hold no NUL
      if (!part.empty()) parts.push_back(part);              // one trailing backslash is tolerated
      break;
    }
    if (part.empty() || part.find('\0') != std::string::npos) {
      ok = false;
      return parts;
    }
    parts.push_back(part);
    start = end + 1;
  }
  return parts;
}

}  // namespace

RegistryDouble::RegistryDouble() = default;

RegistryDouble::Node::~Node() {
  // Children are detached onto a work list before they die, so each node's
  // own destructor finds no subkeys and a deep chain needs no deep stack.
  std::vector<std::unique_ptr<Node>> pending;
  for (auto& entry : subkeys) pending.push_back(std::move(entry.second));
  subkeys.clear();
  while (!pending.empty()) {
    std::unique_ptr<Node> node = std::move(pending.back());
    pending.pop_back();
    for (auto& entry : node->subkeys) pending.push_back(std::move(entry.second));
    node->subkeys.clear();
  }
}

RegistryDouble::Node* RegistryDouble::HiveOf(const std::string& path, std::string& rest) {
  const auto slash = path.find('\\');
  const std::string hive = path.substr(0, slash);
  rest = slash == std::string::npos ? std::string() : path.substr(slash + 1);
  if (EqualsNoCase(hive, "HKEY_LOCAL_MACHINE") || EqualsNoCase(hive, "HKLM")) return &localMachine_;
  if (EqualsNoCase(hive, "HKEY_CLASSES_ROOT") || EqualsNoCase(hive, "HKCR")) return &classesRoot_;
  return nullptr;
}

RegistryDouble::Node* RegistryDouble::Find(Node* from, const std::string& relativePath, bool create) {
  bool ok = true;
  const auto parts = SplitKeyPath(relativePath, ok);
  if (!ok) return nullptr;
  Node* node = from;
  for (const auto& part : parts) {
    auto it = node->subkeys.find(part);
    if (it == node->subkeys.end()) {
      if (!create) return nullptr;
      it = node->subkeys.emplace(part, std::make_unique<Node>()).first;
    }
    node = it->second.get();
  }
  return node;
}

RegistryDouble::Node* RegistryDouble::NodeOf(platform::RegKey key) {
  if (key == platform::kHkeyLocalMachine) return &localMachine_;
  if (key == platform::kHkeyClassesRoot) return &classesRoot_;
  const auto it = handles_.find(key);
  return it == handles_.end() ? nullptr : it->second;
}

bool RegistryDouble::CreateKey(const std::string& path) {
  std::string rest;
  Node* hive = HiveOf(path, rest);
  return hive != nullptr && Find(hive, rest, true) != nullptr;
}

bool RegistryDouble::DeleteKey(const std::string& path) {
  std::string rest;
  Node* hive = HiveOf(path, rest);
  if (hive == nullptr || rest.empty()) return false;
  const auto slash = rest.find_last_of('\\');
  Node* parent = slash == std::string::npos ? hive : Find(hive, rest.substr(0, slash), false);
  if (parent == nullptr) return false;
  const std::string leaf = slash == std::string::npos ? rest : rest.substr(slash + 1);
  return parent->subkeys.erase(leaf) > 0;
}

bool RegistryDouble::SetValue(const std::string& keyPath, const std::string& valueName, StoredValue value) {
  std::string rest;
  Node* hive = HiveOf(keyPath, rest);
  Node* node = hive == nullptr ? nullptr : Find(hive, rest, true);
  if (node == nullptr) return false;
  node->values[valueName] = std::move(value);
  return true;
}

bool RegistryDouble::DeleteValue(const std::string& keyPath, const std::string& valueName) {
  std::string rest;
  Node* hive = HiveOf(keyPath, rest);
  Node* node = hive == nullptr ? nullptr : Find(hive, rest, false);
  return node != nullptr && node->values.erase(valueName) > 0;
}

void RegistryDouble::SetString(const std::string& keyPath, const std::string& valueName, const std::string& text) {
  StoredValue value{platform::kRegSz, std::vector<std::uint8_t>(text.begin(), text.end())};
  value.data.push_back(0);
  SetValue(keyPath, valueName, std::move(value));
}

void RegistryDouble::SetDword(const std::string& keyPath, const std::string& valueName, std::uint32_t number) {
  StoredValue value{platform::kRegDword, {}};
  for (int i = 0; i < 4; ++i) value.data.push_back(static_cast<std::uint8_t>(number >> (8 * i)));
  SetValue(keyPath, valueName, std::move(value));
}

long RegistryDouble::OpenKey(platform::RegKey parent, const std::string& subKey, platform::RegKey& opened) {
  Node* from = NodeOf(parent);
  if (from == nullptr) return platform::kErrorInvalidHandle;
  bool ok = true;
  SplitKeyPath(subKey, ok);
  if (!ok) return kErrorBadPathname;
  Node* node = Find(from, subKey, false);
  if (node == nullptr) return platform::kErrorFileNotFound;
  opened = nextHandle_++;
  handles_[opened] = node;
  return platform::kErrorSuccess;
}

long RegistryDouble::QueryValue(platform::RegKey key, const std::string& valueName, std::uint32_t& type,
                                std::uint8_t* data, std::uint32_t& size) {
  Node* node = NodeOf(key);
  if (node == nullptr) return platform::kErrorInvalidHandle;
  const auto it = node->values.find(valueName);
  if (it == node->values.end()) return platform::kErrorFileNotFound;
  const StoredValue& value = it->second;
  type = value.type;
  const auto needed = static_cast<std::uint32_t>(value.data.size());
  if (data == nullptr || size < needed) {
    size = needed;
    return data == nullptr ? platform::kErrorSuccess : platform::kErrorMoreData;
  }
  if (needed > 0) std::memcpy(data, value.data.data(), needed);
  size = needed;
  return platform::kErrorSuccess;
}

long RegistryDouble::EnumKey(platform::RegKey key, std::uint32_t index, char* name, std::uint32_t nameSize) {
  Node* node = NodeOf(key);
  if (node == nullptr) return platform::kErrorInvalidHandle;
  if (index >= node->subkeys.size()) return platform::kErrorNoMoreItems;
  const std::string& found = std::next(node->subkeys.begin(), index)->first;
  if (found.size() + 1 > nameSize) return platform::kErrorMoreData;
  std::memcpy(name, found.c_str(), found.size() + 1);
  return platform::kErrorSuccess;
}

long RegistryDouble::CloseKey(platform::RegKey key) {
  return handles_.erase(key) > 0 ? platform::kErrorSuccess : platform::kErrorInvalidHandle;
}

}  // namespace fernwick::image
