#pragma once
// The registry holding tests/fixtures/registry/registry_cases.reg: natively
// the registry double loaded from it, under Wine the real registry into
// which the test run imported it.
#include "platform/registry.h"

namespace fernwick::testing {

platform::Registry& CasesRegistry();

inline constexpr const char* kCasesRoot = "SOFTWARE\\FernwickTests\\Registry";

}  // namespace fernwick::testing
