#pragma once
// The phone-system ("switch") integrations the server is configured with:
// display name and integration number of each, loaded once per gathering.
#include <cstdint>
#include <string>
#include <vector>

#include "common/message_boxes.h"
#include "platform/registry.h"
#include "probes/voxtra_version.h"

namespace fernwick::probes {

class ProcedureTrap;

// The state of modSwitchInfo; entry n (1-based) is element n - 1 of the lists.
class SwitchInfo {
 public:
  SwitchInfo(platform::Registry& registry, MessageBoxes& boxes) : registry_(registry), boxes_(boxes) {}

  // Loads the integrations: servers before 4.2(0.27) have the fixed keys
  // "integration1" and optionally "integration2", later ones one subkey per
  // integration with its "IntegrationID".
  void InitalizeSwitchInfo(const ProductVersion& CurrentVersion);

  // Entry n (1-based). Outside 1 to SwitchCount: the placeholder name
  // "Error - bad switch number passed in:" & n and id -1.
  void GetSwitchInfoBySwitchCount(std::int16_t n, std::string& name, std::int16_t& id);

  std::int16_t SwitchCount() const { return switchCount_; }
  const std::vector<std::string>& SwitchNames() const { return switchNames_; }
  const std::vector<std::int16_t>& SwitchIDs() const { return switchIds_; }

 private:
  void LoadFixedLayout(ProcedureTrap& trap);
  void LoadEnumeratedLayout(ProcedureTrap& trap);
  std::string DisplayName(const std::string& key);

  platform::Registry& registry_;
  MessageBoxes& boxes_;
  std::int16_t switchCount_ = 0;
  std::vector<std::string> switchNames_;
  std::vector<std::int16_t> switchIds_;
};

}  // namespace fernwick::probes
