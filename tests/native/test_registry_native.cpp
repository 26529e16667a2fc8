#include <cstdlib>
#include <string>

#include "common/test_registry.h"
#include "platform/image/reg_file.h"

namespace fernwick::testing {

platform::Registry& CasesRegistry() {
  static image::RegistryDouble registry = [] {
    image::RegistryDouble loaded;
    image::LoadRegFile(loaded, std::string(FERNWICK_SOURCE_DIR) + "/tests/fixtures/registry/registry_cases.reg");
    return loaded;
  }();
  return registry;
}

}  // namespace fernwick::testing
