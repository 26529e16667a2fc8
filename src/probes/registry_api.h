#pragma once
// The registry wrappers every reader of the registry goes through. They never
// raise for a missing key or value: they answer False, 0, the caller's
// default or an empty list.
#include <cstdint>
#include <string>
#include <variant>
#include <vector>

#include "platform/registry.h"

namespace fernwick::probes {

using platform::RegKey;

// A registry value as the wrappers return it.
using RegValue = std::variant<std::monostate, std::string, std::int32_t, std::vector<std::uint8_t>>;

enum class RegKind : std::int16_t { String = 1, Bytes = 3, Dword = 4 };

// A subkey list; an empty vector is the unallocated list of a key that could
// not be opened, and a key without subkeys gives one empty name.
using SubkeyList = std::vector<std::string>;

bool RegKeyExists(platform::Registry& registry, RegKey hive, const std::string& keyPath);
std::uint32_t RegGetValueType(platform::Registry& registry, RegKey hive, const std::string& keyPath,
                              const std::string& valueName);
RegValue RegGetValue(platform::Registry& registry, RegKey hive, const std::string& keyPath,
                     const std::string& valueName, std::int16_t kind, const RegValue& defaultValue = {});
SubkeyList RegEnumSubkeys(platform::Registry& registry, RegKey hiveOrKey, const std::string& keyPath);
// The line of one recommended DWORD and what it found.
enum class DwordCheck { Recommended, OtherValue, ValueMissing, KeyMissing };
struct RecommendedDword {
  std::string text;
  DwordCheck outcome;
  std::string value;  // as read, when it is not the recommended one
};
RecommendedDword CheckRecommendedDword(platform::Registry& registry, const std::string& hive,
                                       const std::string& keyRoot, const std::string& keyPath,
                                       const std::string& valueName, const std::string& recommended);

// A string value of HKEY_LOCAL_MACHINE as text (kind 1), `fallback` when the
// key or the value is missing.
std::string RegGetString(platform::Registry& registry, const std::string& keyPath, const std::string& valueName,
                         const std::string& fallback = {});

// The value as the report prints it: a number in decimal, empty as "".
// Bytes have no text form (error 13).
std::string RegValueText(const RegValue& value);
// The highest index of a subkey list; error 9 for the unallocated list.
long UpperBound(const SubkeyList& list);

}  // namespace fernwick::probes
