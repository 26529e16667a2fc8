#include "report/report_registry.h"

#include "probes/reg_value_number.h"
#include "probes/registry_api.h"

namespace fernwick::report {
namespace {

probes::RegValue ReadDword(platform::Registry& registry, const std::string& key, const std::string& value) {
  return probes::RegGetValue(registry, platform::kHkeyLocalMachine, key, value,
                             static_cast<std::int16_t>(probes::RegKind::Dword));
}

}  // namespace

std::string ReadRegString(platform::Registry& registry, const std::string& key, const std::string& value) {
  return probes::RegGetString(registry, key, value);
}

std::string ReadRegNumberText(platform::Registry& registry, const std::string& key, const std::string& value) {
  return probes::RegValueText(ReadDword(registry, key, value));
}

std::int32_t ReadRegNumber(platform::Registry& registry, const std::string& key, const std::string& value) {
  return probes::RegValueNumber(ReadDword(registry, key, value));
}

}  // namespace fernwick::report
