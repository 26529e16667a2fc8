#pragma once
#include "platform/program_facts.h"

namespace fernwick::platform {

// The program's own version; the Windows version resource says 2.00.0004.
inline constexpr OwnVersion kOwnVersion{2, 0, 4};

}  // namespace fernwick::platform
