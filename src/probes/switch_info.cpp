#include "probes/switch_info.h"

#include "common/conversions.h"
#include "probes/procedure_trap.h"
#include "probes/reg_value_number.h"
#include "probes/registry_api.h"

namespace fernwick::probes {
namespace {

constexpr platform::RegKey kHklm = platform::kHkeyLocalMachine;
const std::string kIntegrationsKey = "Software\\Tessaline\\MIU\\1.0\\initialization\\integrations";

ProcedureTrap Trap(MessageBoxes& boxes, const char* procedure) {
  return ProcedureTrap(boxes, "Error ", std::string(" in procedure ") + procedure + " of Module modSwitchInfo");
}

}  // namespace

void SwitchInfo::InitalizeSwitchInfo(const ProductVersion& CurrentVersion) {
  ProcedureTrap trap = Trap(boxes_, "InitalizeSwitchInfo");
  if (bIsVersionGreaterThanOrEqualTo(CurrentVersion, 4, 2, 0, 27)) {
    LoadEnumeratedLayout(trap);
  } else {
    LoadFixedLayout(trap);
  }
}

std::string SwitchInfo::DisplayName(const std::string& key) {
  return RegGetString(registry_, key, "DisplayName");
}

void SwitchInfo::LoadFixedLayout(ProcedureTrap& trap) {
  switchCount_ = 1;
  switchNames_.assign(2, std::string());
  switchIds_.assign(2, 0);
  // The first integration is listed even when its key is missing.
  trap.Run([&] { switchNames_[0] = DisplayName(kIntegrationsKey + "\\integration1"); });
  switchIds_[0] = 0;
  if (RegKeyExists(registry_, kHklm, kIntegrationsKey + "\\integration2")) {
    trap.Run([&] { switchNames_[1] = DisplayName(kIntegrationsKey + "\\integration2"); });
    switchIds_[1] = 1;
    switchCount_ = 2;
  }
}

void SwitchInfo::LoadEnumeratedLayout(ProcedureTrap& trap) {
  // A missing integrations key gives the unallocated list: taking its size
  // fails in both statements below, and the count keeps its previous value.
  const SubkeyList subkeys = RegEnumSubkeys(registry_, kHklm, kIntegrationsKey);
  trap.Run([&] { switchCount_ = CInt(std::int64_t{UpperBound(subkeys)} + 1); });
  trap.Run([&] {
    const long last = UpperBound(subkeys);
    for (long i = 0; i <= last; ++i) {
      const auto index = static_cast<std::size_t>(i);
      switchNames_.resize(index + 1);
      switchIds_.resize(index + 1);
      // An empty name (a key without subkeys) reads the integrations key itself.
      const std::string key = kIntegrationsKey + "\\" + subkeys[index];
      trap.Run([&] { switchNames_[index] = DisplayName(key); });
      trap.Run([&] {
        switchIds_[index] = CInt(std::int64_t{RegValueNumber(RegGetValue(
            registry_, kHklm, key, "IntegrationID", static_cast<std::int16_t>(RegKind::Dword), std::int32_t{0}))});
      });
    }
  });
}

void SwitchInfo::GetSwitchInfoBySwitchCount(std::int16_t n, std::string& name, std::int16_t& id) {
  ProcedureTrap trap = Trap(boxes_, "GetSwitchInfoBySwitchCount");
  if (n >= 1 && n <= switchCount_) {
    const auto index = static_cast<std::size_t>(n - 1);
    trap.Run([&] { name = switchNames_.at(index); });
    trap.Run([&] { id = switchIds_.at(index); });
  } else {
    name = "Error - bad switch number passed in:" + std::to_string(n);
    id = -1;
  }
}

}  // namespace fernwick::probes
