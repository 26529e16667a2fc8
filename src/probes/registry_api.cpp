#include "probes/registry_api.h"

#include <array>
#include <cstring>
#include <optional>

#include "common/conversions.h"
#include "common/runtime_error.h"

namespace fernwick::probes {
namespace {

// Closes a key this module opened, on every path out.
class OpenKey {
 public:
  OpenKey(platform::Registry& registry, RegKey hive, const std::string& path) : registry_(registry) {
    ok_ = registry_.OpenKey(hive, path, key_) == platform::kErrorSuccess;
  }
  ~OpenKey() {
    if (ok_) registry_.CloseKey(key_);
  }
  OpenKey(const OpenKey&) = delete;
  OpenKey& operator=(const OpenKey&) = delete;

  bool Ok() const { return ok_; }
  RegKey Key() const { return key_; }

 private:
  platform::Registry& registry_;
  RegKey key_ = 0;
  bool ok_ = false;
};

constexpr std::uint32_t kStringBufferSize = 1024;
constexpr std::uint32_t kBytesBufferSize = 4096;
constexpr std::uint32_t kSubkeyNameSize = 260;
constexpr std::uint32_t kEnumerationLimit = 1000000;

}  // namespace

bool RegKeyExists(platform::Registry& registry, RegKey hive, const std::string& keyPath) {
  return OpenKey(registry, hive, keyPath).Ok();
}

std::uint32_t RegGetValueType(platform::Registry& registry, RegKey hive, const std::string& keyPath,
                              const std::string& valueName) {
  OpenKey key(registry, hive, keyPath);
  if (!key.Ok()) return 0;
  std::array<std::uint8_t, 4> data{};
  std::uint32_t size = data.size();
  std::uint32_t type = 0;
  const long rc = registry.QueryValue(key.Key(), valueName, type, data.data(), size);
  return rc == platform::kErrorFileNotFound ? 0 : type;
}

RegValue RegGetValue(platform::Registry& registry, RegKey hive, const std::string& keyPath,
                     const std::string& valueName, std::int16_t kind, const RegValue& defaultValue) {
  RegValue result = defaultValue;
  OpenKey key(registry, hive, keyPath);
  if (!key.Ok()) return result;
  std::uint32_t type = 0;
  switch (static_cast<RegKind>(kind)) {
    case RegKind::String: {
      std::string buffer(kStringBufferSize, ' ');
      std::uint32_t size = kStringBufferSize;
      if (registry.QueryValue(key.Key(), valueName, type, reinterpret_cast<std::uint8_t*>(buffer.data()), size) ==
          platform::kErrorSuccess) {
        // The data without its terminating NUL; a value stored without one
        // loses its last character, as the runtime's wrapper always did.
        result = buffer.substr(0, size == 0 ? 0 : size - 1);
      }
      break;
    }
    case RegKind::Bytes: {
      std::vector<std::uint8_t> buffer(kBytesBufferSize);
      std::uint32_t size = kBytesBufferSize;
      if (registry.QueryValue(key.Key(), valueName, type, buffer.data(), size) == platform::kErrorSuccess) {
        if (size == 0) Raise(err::kSubscriptOutOfRange);
        buffer.resize(size);
        result = std::move(buffer);
      }
      break;
    }
    case RegKind::Dword: {
      std::array<std::uint8_t, 4> buffer{};
      std::uint32_t size = buffer.size();
      if (registry.QueryValue(key.Key(), valueName, type, buffer.data(), size) == platform::kErrorSuccess) {
        std::uint32_t value = 0;
        for (std::uint32_t i = 0; i < size && i < buffer.size(); ++i) value |= std::uint32_t{buffer[i]} << (8 * i);
        result = static_cast<std::int32_t>(value);
      }
      break;
    }
    default: throw RuntimeError(err::kUnsupportedValueType, "Unsupported value type");
  }
  return result;
}

SubkeyList RegEnumSubkeys(platform::Registry& registry, RegKey hiveOrKey, const std::string& keyPath) {
  std::optional<OpenKey> opened;
  RegKey key = hiveOrKey;
  if (!keyPath.empty()) {
    opened.emplace(registry, hiveOrKey, keyPath);
    if (!opened->Ok()) return {};
    key = opened->Key();
  }
  SubkeyList names;
  std::array<char, kSubkeyNameSize> name{};
  for (std::uint32_t i = 0; i < kEnumerationLimit; ++i) {
    name.fill('\0');
    if (registry.EnumKey(key, i, name.data(), kSubkeyNameSize) != platform::kErrorSuccess) break;
    names.emplace_back(name.data(), strnlen(name.data(), name.size()));
  }
  if (names.empty()) names.emplace_back();
  return names;
}

RecommendedDword CheckRecommendedDword(platform::Registry& registry, const std::string& hive,
                                       const std::string& keyRoot, const std::string& keyPath,
                                       const std::string& valueName, const std::string& recommended) {
  const auto hiveKey = static_cast<RegKey>(static_cast<std::uint32_t>(CLng(hive)));
  const std::string fullKey = keyRoot + keyPath;
  if (!RegKeyExists(registry, hiveKey, fullKey)) {
    return {keyPath + " : RegKey not found.  Recommend add the key " + keyPath + " and set DWORD " + valueName +
                " with a value of " + recommended + " (decimal)",
            DwordCheck::KeyMissing,
            {}};
  }
  const std::string actual =
      RegValueText(RegGetValue(registry, hiveKey, fullKey, valueName, static_cast<std::int16_t>(RegKind::Dword)));
  if (actual.empty()) {
    return {keyPath + " : DWORD not found.  Recommended add DWORD " + valueName + " with a value of " + recommended +
                " (decimal)",
            DwordCheck::ValueMissing,
            {}};
  }
  if (actual == recommended) return {keyPath + " : is set to recommended value", DwordCheck::Recommended, {}};
  return {keyPath + " : is set to " + actual + ".  Recommended value " + recommended + "(decimal)",
          DwordCheck::OtherValue, actual};
}

std::string RegGetString(platform::Registry& registry, const std::string& keyPath, const std::string& valueName,
                         const std::string& fallback) {
  return RegValueText(RegGetValue(registry, platform::kHkeyLocalMachine, keyPath, valueName,
                                  static_cast<std::int16_t>(RegKind::String), fallback));
}

std::string RegValueText(const RegValue& value) {
  if (const auto* text = std::get_if<std::string>(&value)) return *text;
  if (const auto* number = std::get_if<std::int32_t>(&value)) return std::to_string(*number);
  if (std::holds_alternative<std::monostate>(value)) return {};
  Raise(err::kTypeMismatch);
}

long UpperBound(const SubkeyList& list) {
  if (list.empty()) Raise(err::kSubscriptOutOfRange);
  return static_cast<long>(list.size()) - 1;
}

}  // namespace fernwick::probes
