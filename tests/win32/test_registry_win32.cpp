#include "common/test_registry.h"
#include "platform/win32/win32_registry.h"

namespace fernwick::testing {

// The run imported tests/fixtures/registry/registry_cases.reg with regedit.
platform::Registry& CasesRegistry() {
  static win32::Win32Registry registry;
  return registry;
}

}  // namespace fernwick::testing
