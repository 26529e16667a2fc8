#pragma once
// A registry value used as a number, as the runtime coerces it: empty is 0,
// a text is converted (error 13 when it is not a number), bytes are error 13.
#include <cstdint>

#include "probes/registry_api.h"

namespace fernwick::probes {

std::int32_t RegValueNumber(const RegValue& value);

}  // namespace fernwick::probes
