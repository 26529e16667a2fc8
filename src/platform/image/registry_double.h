#pragma once
// The registry of a server image: an in-memory tree that answers the four
// registry operations with the codes and the ordering of a real registry.
// Values are held as RegQueryValueExA returns them (strings in ANSI bytes
// with their terminating NUL).
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "common/text.h"
#include "platform/registry.h"

namespace fernwick::image {

// Windows nests keys at most this deep below a hive.
constexpr std::size_t kMaxKeyDepth = 512;

struct StoredValue {
  std::uint32_t type = platform::kRegNone;
  std::vector<std::uint8_t> data;
};

class RegistryDouble : public platform::Registry {
 public:
  RegistryDouble();

  // Building the tree (the .reg loader and tests use these).
  // `path` starts with the hive name, e.g. "HKEY_LOCAL_MACHINE\SOFTWARE\x".
  // False when the hive is not one the double holds.
  bool CreateKey(const std::string& path);
  bool DeleteKey(const std::string& path);
  bool SetValue(const std::string& keyPath, const std::string& valueName, StoredValue value);
  bool DeleteValue(const std::string& keyPath, const std::string& valueName);

  // Convenience for tests.
  void SetString(const std::string& keyPath, const std::string& valueName, const std::string& text);
  void SetDword(const std::string& keyPath, const std::string& valueName, std::uint32_t value);

  long OpenKey(platform::RegKey parent, const std::string& subKey, platform::RegKey& opened) override;
  long QueryValue(platform::RegKey key, const std::string& valueName, std::uint32_t& type, std::uint8_t* data,
                  std::uint32_t& size) override;
  long EnumKey(platform::RegKey key, std::uint32_t index, char* name, std::uint32_t nameSize) override;
  long CloseKey(platform::RegKey key) override;

  // Number of handles given out and not closed yet.
  std::size_t OpenHandleCount() const { return handles_.size(); }

 private:
  struct NoCaseLess {
    bool operator()(const std::string& a, const std::string& b) const { return LessNoCase(a, b); }
  };
  struct Node {
    Node() = default;
    ~Node();  // frees the subtree without one stack frame per level
    Node(Node&&) = default;
    Node& operator=(Node&&) = default;
    std::map<std::string, std::unique_ptr<Node>, NoCaseLess> subkeys;
    std::map<std::string, StoredValue, NoCaseLess> values;
  };

  Node* Find(Node* from, const std::string& relativePath, bool create);
  Node* NodeOf(platform::RegKey key);
  Node* HiveOf(const std::string& path, std::string& rest);

  Node localMachine_;
  Node classesRoot_;
  std::map<platform::RegKey, Node*> handles_;
  platform::RegKey nextHandle_ = 0x1000;
};

}  // namespace fernwick::image
