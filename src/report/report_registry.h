#pragma once
// Registry reads of the later report sections, all under
// HKEY_LOCAL_MACHINE, with the empty default: a missing value reads as ""
// or as 0.
#include <cstdint>
#include <string>

#include "platform/registry.h"

namespace fernwick::report {

// A string value ("" when missing).
std::string ReadRegString(platform::Registry& registry, const std::string& key, const std::string& value);
// A 32-bit number as decimal text ("" when missing).
std::string ReadRegNumberText(platform::Registry& registry, const std::string& key, const std::string& value);
// A 32-bit number (0 when missing).
std::int32_t ReadRegNumber(platform::Registry& registry, const std::string& key, const std::string& value);

}  // namespace fernwick::report
